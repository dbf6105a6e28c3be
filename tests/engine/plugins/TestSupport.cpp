#include "TestSupport.h"

int TestSupportValue() { return 4242; }
