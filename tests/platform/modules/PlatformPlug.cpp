// A plug-in that needs the support library: it loads only if that library is found.
#include "TestExport.h"

extern "C" int PlatformDepValue(int x);

PLATFORM_TEST_EXPORT int PlatformPlugValue(int x) { return PlatformDepValue(x) + 1000; }
