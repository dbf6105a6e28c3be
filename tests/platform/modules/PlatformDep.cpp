// A support library: lives in a "3rd" folder that only PATH points at.
#include "TestExport.h"

PLATFORM_TEST_EXPORT int PlatformDepValue(int x) { return x * 3 + 1; }
