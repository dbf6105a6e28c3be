// One entry of a dependency list: a channel type and the plug-in files it needs.
#pragma once

#include "Vlt_List.h"

class VEXILON_API ChannelDependency {
 public:
  ChannelDependency();
  // Deletes the file-name strings.
  virtual ~ChannelDependency();
  ChannelDependency(const ChannelDependency&) = delete;
  ChannelDependency& operator=(const ChannelDependency&) = delete;

  GUID typeGuid;
  Vlt_List fileNames;  // of Vlt_String, owned
};
