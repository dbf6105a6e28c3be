// The channel's side of pools: a pool user's count and members, linking pool users into a
// parent, and leaving every pool when the channel goes.
#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "ChannelPoolManagement.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_String.h"
#include "graph/ChannelPoolInfo.h"

ChannelPoolManagement* Vlt_Channel::GetPoolManagement() const {
  EngineInterfaceExt* ext = engine != nullptr ? engine->GetExt() : nullptr;
  return ext != nullptr ? ext->GetChannelPoolManagement() : nullptr;
}

void Vlt_Channel::RefreshPoolEntries() {
  ChannelPoolManagement* manager = GetPoolManagement();
  if (manager != nullptr && poolInfo_->snapshot != manager->GetTimeStamp())
    channelInternal->RecalculateChannelPoolInfo(this);
}

int Vlt_Channel::GetPoolChannelCount() {
  if (poolInfo_ == nullptr) return 0;
  RefreshPoolEntries();
  const int n = poolInfo_->entries.GetItemCount();
  return n > 0 ? n : 1;
}

Vlt_Channel* Vlt_Channel::GetPoolChannel(int index) {
  if (poolInfo_ == nullptr) return nullptr;
  RefreshPoolEntries();
  auto* entry = static_cast<ChannelPoolItemInfo*>(poolInfo_->entries.GetItem(index));
  if (entry == nullptr) return this;
  ChannelPoolManagement* manager = GetPoolManagement();
  return manager != nullptr ? manager->GetChannelFromPoolItemInfo(entry) : nullptr;
}

void Vlt_Channel::LinkPoolToChannel() {
  // Every pool user gets one entry; repeated entries for the same user are emptied first.
  Vlt_List users;
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    ChildInfo* info = static_cast<ChildInfo*>(children_.GetItem(i));
    if (info == nullptr || info->channel == nullptr || info->channel->usePoolChannel_ == 0)
      continue;
    Vlt_Channel* user = info->channel;
    bool seen = false;
    for (int k = 0; k < users.GetItemCount() && !seen; ++k) seen = users.GetItem(k) == user;
    if (seen) {
      info->channel = nullptr;
      continue;
    }
    users.AddItem(user);
    info->poolSnapshot = user->GetPoolChannelCount();
    info->poolIndex = 0;
  }
  channelInternal->SortChilderen(this);
  channelInternal->RecalculateNodeOffsets(this);
  for (int k = 0; k < users.GetItemCount(); ++k) {
    Vlt_Channel* user = static_cast<Vlt_Channel*>(users.GetItem(k));
    const int n = user->GetPoolChannelCount();
    for (int extra = 1; extra < n; ++extra) {
      ChildInfo* made = GetChildInfo(SetChild(user, -1, -1));
      if (made == nullptr) continue;
      made->poolSnapshot = n;
      made->poolIndex = extra;
    }
  }
  users.ReleaseItems();
}

void Vlt_Channel::LeavePools() {
  if (poolNames_ == nullptr || poolNames_->GetItemCount() == 0) return;
  ChannelPoolManagement* manager = GetPoolManagement();
  if (manager == nullptr) return;
  // Each release drops its name from poolNames_, so the names are copied first.
  std::vector<std::string> names;
  for (int i = 0; i < poolNames_->GetItemCount(); ++i) {
    const Vlt_String* name = static_cast<const Vlt_String*>(poolNames_->GetItem(i));
    if (name != nullptr && name->GetString() != nullptr) names.emplace_back(name->GetString());
  }
  if (group_ != nullptr && group_->GetGroupIndex() != -1)
    for (const std::string& name : names) manager->ReleasePoolItem(name.c_str(), this);
  // A channel moved out of its registered group cannot leave by name; no pool may keep it.
  manager->ForgetChannel(this);
}
