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
