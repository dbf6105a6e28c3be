// The 132-byte type record of a channel type.
#pragma once

#include "VltExport.h"

struct VEXILON_API ChannelType {
  // Sets version 1, 57, 1, a null typeGuid and zero reserved words; name and baseGuid are left as
  // they are (zero in a static record).
  ChannelType();

  char name[80];
  GUID typeGuid;
  GUID baseGuid;
  int32_t version[3];
  int32_t reserved[2];
};

static_assert(sizeof(ChannelType) == 132, "ChannelType is a stored record of 132 bytes");

// Fills a plug-in's static type record the way its GetType export answers it: the name (cut to
// 79 characters), both GUIDs and version 2. Versions 0 and 1 keep the constructor's defaults, so
// version 1 is the engine version the plug-in was built against.
inline ChannelType* VltFillPluginType(ChannelType* type, const char* name, const GUID& typeGuid,
                                      const GUID& baseGuid, int32_t version2) {
  size_t i = 0;
  for (; name != nullptr && name[i] != 0 && i + 1 < sizeof(type->name); ++i)
    type->name[i] = name[i];
  type->name[i] = 0;
  type->typeGuid = typeGuid;
  type->baseGuid = baseGuid;
  type->version[2] = version2;
  return type;
}
