// The pool bookkeeping of ChannelInternal: a channel's membership names, the pools a pool user
// draws from, and the entries that name the members it stands for.
#include <vector>

#include "ChannelInternal.h"
#include "ChannelPoolManagement.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "VltGuid.h"
#include "Vlt_String.h"
#include "graph/ChannelPoolInfo.h"
#include "graph/GraphText.h"

namespace {

int FindName(const Vlt_List& names, const char* path) {
  for (int i = 0; i < names.GetItemCount(); ++i) {
    const Vlt_String* name = static_cast<const Vlt_String*>(names.GetItem(i));
    if (name != nullptr && vgraph::NamesEqual(name->GetString(), path)) return i;
  }
  return -1;
}

void AddName(Vlt_List& names, const char* path) {
  if (FindName(names, path) >= 0) return;
  Vlt_String* copy = new Vlt_String();
  copy->SetString(path);
  names.AddItem(copy);
}

void RemoveName(Vlt_List& names, const char* path) {
  const int i = FindName(names, path);
  if (i < 0) return;
  delete static_cast<Vlt_String*>(names.GetItem(i));
  names.RemoveItem(i);
}

ChannelPoolManagement* ManagerOf(Vlt_Channel* channel) {
  EngineInterfaceExt* ext = channel->engine != nullptr ? channel->engine->GetExt() : nullptr;
  return ext != nullptr ? ext->GetChannelPoolManagement() : nullptr;
}

}  // namespace

void ChannelInternal::AddChannelToPool(Vlt_Channel* channel, const char* path) {
  if (channel == nullptr || path == nullptr) return;
  if (channel->poolNames_ == nullptr) channel->poolNames_ = new Vlt_List();
  AddName(*channel->poolNames_, path);
}

void ChannelInternal::RemoveChannelFromPool(Vlt_Channel* channel, const char* path) {
  if (channel == nullptr || path == nullptr || channel->poolNames_ == nullptr) return;
  RemoveName(*channel->poolNames_, path);
}

void ChannelInternal::AddPoolToChannel(Vlt_Channel* channel, const char* path) {
  if (channel == nullptr || path == nullptr) return;
  if (channel->poolInfo_ == nullptr) channel->poolInfo_ = new ChannelPoolInfo();
  AddName(channel->poolInfo_->poolNames, path);
  channel->poolInfo_->snapshot = 0;
}

void ChannelInternal::RemovePoolFromChannel(Vlt_Channel* channel, const char* path) {
  if (channel == nullptr || path == nullptr || channel->poolInfo_ == nullptr) return;
  RemoveName(channel->poolInfo_->poolNames, path);
  channel->poolInfo_->snapshot = 0;
}

ChannelPoolInfo* ChannelInternal::GetChannelPoolInfo(Vlt_Channel* channel) {
  return channel != nullptr ? channel->poolInfo_ : nullptr;
}

void ChannelInternal::RecalculateChannelPoolInfo(Vlt_Channel* channel) {
  if (channel == nullptr || channel->poolInfo_ == nullptr) return;
  ChannelPoolInfo* info = channel->poolInfo_;
  info->ClearEntries();
  ChannelPoolManagement* manager = ManagerOf(channel);
  if (manager == nullptr) return;
  for (int i = 0; i < info->poolNames.GetItemCount(); ++i) {
    const Vlt_String* name = static_cast<const Vlt_String*>(info->poolNames.GetItem(i));
    if (name == nullptr) continue;
    if (PoolItem* pool = manager->GetPoolItem(name->GetString()))
      AddChannelsFromPoolToPoolInfo(channel, pool);
  }
  info->snapshot = manager->GetTimeStamp();
}

void ChannelInternal::AddChannelsFromPoolToPoolInfo(Vlt_Channel* channel, PoolItem* pool) {
  if (channel == nullptr || pool == nullptr || channel->poolInfo_ == nullptr) return;
  const GUID base = channel->GetChannelType().baseGuid;
  // Depth first in list order, with a stack of our own: pools nest as deep as a stored path
  // has at signs.
  std::vector<PoolItem*> pending{pool};
  while (!pending.empty()) {
    PoolItem* item = pending.back();
    pending.pop_back();
    for (int k = 0; k < item->channels.GetItemCount(); ++k) {
      Vlt_Channel* member = static_cast<Vlt_Channel*>(item->channels.GetItem(k));
      if (member == nullptr) continue;
      const ChannelType type = member->GetChannelType();
      if (!VltGuidEqual(type.baseGuid, base) && !VltGuidEqual(type.typeGuid, base)) continue;
      ChannelPoolItemInfo* entry = new ChannelPoolItemInfo();
      entry->itemId = item->id;
      entry->channelIndex = k;
      channel->poolInfo_->entries.AddItem(entry);
    }
    for (int s = item->subItems.GetItemCount() - 1; s >= 0; --s)
      if (PoolItem* sub = static_cast<PoolItem*>(item->subItems.GetItem(s))) pending.push_back(sub);
  }
}
