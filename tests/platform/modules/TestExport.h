// Export marker for the small libraries the module tests load.
#pragma once

#if defined(_WIN32)
#define PLATFORM_TEST_EXPORT extern "C" __declspec(dllexport)
#else
#define PLATFORM_TEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif
