// Export macro and the small platform-neutral types every engine header uses.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#if defined(VEXILON_BUILDING_ENGINE)
#define VEXILON_API __declspec(dllexport)
#else
#define VEXILON_API __declspec(dllimport)
#endif
#define VEXILON_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define VEXILON_API __attribute__((visibility("default")))
#define VEXILON_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The 16-byte GUID in the Windows layout (32-bit, two 16-bit parts, eight bytes). Guarded the same
// way the Windows headers guard theirs, so a plug-in may include both.
#ifndef GUID_DEFINED
#define GUID_DEFINED
typedef struct _GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
#endif

// Module instances and windows are opaque handles owned by the platform.
typedef void* VltInstance;
typedef void* VltWindow;

// Interface types of a channel.
enum {
  VCO_NONE = 0,
  VCO_PUBLIC = 1,
  VCO_PUBLICCALL = 2,
  VCO_PARAMETER = 3,
  VCO_INDIRECT = 4,
  VCO_PUBLICINDIRECT = 5
};

// The engine version: plug-in types carry it, newer group and project files are refused.
constexpr int VLT_ENGINE_VERSION = 57;
