// A plain support library that a test plug-in depends on; it sits in the 3rd folder.
#pragma once

#if defined(_WIN32)
#if defined(TEST_SUPPORT_BUILDING)
#define TEST_SUPPORT_API __declspec(dllexport)
#else
#define TEST_SUPPORT_API __declspec(dllimport)
#endif
#else
#define TEST_SUPPORT_API __attribute__((visibility("default")))
#endif

extern "C" TEST_SUPPORT_API int TestSupportValue();
