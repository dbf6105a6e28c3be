// A channel's record of the pools it draws its members from. Engine-internal.
#pragma once

#include "ChannelPoolManagement.h"
#include "Vlt_List.h"
#include "Vlt_String.h"

class ChannelPoolInfo {
 public:
  ChannelPoolInfo() = default;
  ChannelPoolInfo(const ChannelPoolInfo&) = delete;
  ChannelPoolInfo& operator=(const ChannelPoolInfo&) = delete;
  ~ChannelPoolInfo() {
    for (int i = 0; i < poolNames.GetItemCount(); ++i)
      delete static_cast<Vlt_String*>(poolNames.GetItem(i));
    poolNames.ReleaseItems();
    ClearEntries();
  }

  void ClearEntries() {
    for (int i = 0; i < entries.GetItemCount(); ++i)
      delete static_cast<ChannelPoolItemInfo*>(entries.GetItem(i));
    entries.ReleaseItems();
  }

  Vlt_List poolNames;     // of Vlt_String, owned
  uint32_t snapshot = 0;  // the pool manager's stamp when entries were computed; 0 is stale
  Vlt_List entries;       // of ChannelPoolItemInfo, owned
};
