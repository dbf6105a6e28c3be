#include "ChannelPoolManagement.h"

#include <cstring>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "graph/GraphReport.h"
#include "graph/GraphText.h"
#include "platform/Platform.h"

namespace {

constexpr char kPathSeparator = '@';
constexpr size_t kUsedNameChars = PoolItem::kNameChars - 1;

// Copies the path component that starts at text into name (cut at 19 characters) and answers
// where it ends: at the separator or at the end of the path.
const char* NextComponent(const char* text, char (&name)[PoolItem::kNameChars]) {
  size_t n = 0;
  const char* end = text;
  while (*end != '\0' && *end != kPathSeparator) {
    if (n < kUsedNameChars) name[n++] = *end;
    ++end;
  }
  name[n] = '\0';
  return end;
}

// Stamps are never 0: a pool user's snapshot of 0 means that its entries are stale.
uint32_t NonZero(uint32_t stamp) { return stamp != 0 ? stamp : 1u; }

}  // namespace

ChannelPoolManagement::ChannelPoolManagement()
    : engine_(nullptr),
      // Seeded from the clock and this object, so that two managers rarely share a stamp.
      timeStamp_(NonZero(vplat::tickCount() * 2654435761u ^
                         static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this) >> 4))) {}

ChannelPoolManagement::~ChannelPoolManagement() {
  for (int i = 0; i < allItems_.GetItemCount(); ++i)
    delete static_cast<PoolItem*>(allItems_.GetItem(i));
  allItems_.ReleaseItems();
  mainItems_.ReleaseItems();
}

void ChannelPoolManagement::SetEngineInterface(EngineInterface* engine) { engine_ = engine; }

uint32_t ChannelPoolManagement::GetTimeStamp() { return timeStamp_; }

void ChannelPoolManagement::SetTimeStamp() {
  timeStamp_ = NonZero(timeStamp_ + vplat::tickCount() + 1u);
}

bool ChannelPoolManagement::CheckPoolChannel(Vlt_Channel* channel) {
  Vlt_ChannelGroup* group = channel->GetChannelGroup();
  if (group != nullptr && group->GetGroupIndex() != -1) return true;
  vgraph::ReportError(engine_ != nullptr ? engine_ : channel->engine,
                      "Error non channel group channel is not allowed to be a pool channel!");
  return false;
}

PoolItem* ChannelPoolManagement::GetSubPoolItem(const char* name, PoolItem* parent) {
  if (name == nullptr) return nullptr;
  const Vlt_List& items = parent != nullptr ? parent->subItems : mainItems_;
  for (int i = 0; i < items.GetItemCount(); ++i) {
    PoolItem* item = static_cast<PoolItem*>(items.GetItem(i));
    if (item != nullptr && vgraph::NamesEqualN(item->name, name, kUsedNameChars)) return item;
  }
  return nullptr;
}

PoolItem* ChannelPoolManagement::CreateSubPoolItem(const char* name, PoolItem* parent) {
  if (name == nullptr) return nullptr;
  if (PoolItem* existing = GetSubPoolItem(name, parent)) return existing;
  PoolItem* item = new PoolItem();
  vgraph::CopyBounded(item->name, sizeof(item->name), name);
  item->parent = parent;
  item->id = allItems_.AddItemOrNULL(item);
  (parent != nullptr ? parent->subItems : mainItems_).AddItem(item);
  return item;
}

PoolItem* ChannelPoolManagement::FindPath(const char* path, bool create) {
  if (path == nullptr) return nullptr;
  PoolItem* item = nullptr;
  const char* at = path;
  for (;;) {
    char name[PoolItem::kNameChars];
    at = NextComponent(at, name);
    item = create ? CreateSubPoolItem(name, item) : GetSubPoolItem(name, item);
    if (item == nullptr || *at == '\0') return item;
    ++at;  // past the separator
  }
}

PoolItem* ChannelPoolManagement::GetPoolItem(const char* path) { return FindPath(path, false); }

PoolItem* ChannelPoolManagement::CreatePoolItem(const char* path, Vlt_Channel* channel) {
  if (channel == nullptr || !CheckPoolChannel(channel) || path == nullptr) return nullptr;
  PoolItem* item = FindPath(path, true);
  if (item == nullptr) return nullptr;
  for (int i = 0; i < item->channels.GetItemCount(); ++i)
    if (item->channels.GetItem(i) == channel) return item;
  item->channels.AddItem(channel);
  channelInternal->AddChannelToPool(channel, path);
  SetTimeStamp();
  return item;
}

void ChannelPoolManagement::RemoveFromPool(PoolItem* item, Vlt_Channel* channel) {
  // Members keep their join order: the list closes up behind the one that leaves.
  for (int i = item->channels.GetItemCount() - 1; i >= 0; --i)
    if (item->channels.GetItem(i) == channel) item->channels.RemoveItem(i);
  if (item->channels.GetItemCount() == 0 && item->subItems.GetItemCount() == 0) CleanUpItem(item);
}

void ChannelPoolManagement::ReleasePoolItem(const char* path, Vlt_Channel* channel) {
  if (channel == nullptr || !CheckPoolChannel(channel) || path == nullptr) return;
  if (PoolItem* item = GetPoolItem(path)) RemoveFromPool(item, channel);
  channelInternal->RemoveChannelFromPool(channel, path);
  SetTimeStamp();
}

// The pool that holds the channel among its members, or none.
PoolItem* ChannelPoolManagement::FindMembership(Vlt_Channel* channel) {
  for (int id = 0; id < allItems_.GetItemCount(); ++id) {
    PoolItem* item = static_cast<PoolItem*>(allItems_.GetItem(id));
    if (item == nullptr) continue;
    for (int i = 0; i < item->channels.GetItemCount(); ++i)
      if (item->channels.GetItem(i) == channel) return item;
  }
  return nullptr;
}

void ChannelPoolManagement::ForgetChannel(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  // One pool at a time: a clean-up may empty slots of allItems_.
  while (PoolItem* item = FindMembership(channel)) {
    RemoveFromPool(item, channel);
    SetTimeStamp();
  }
}

void ChannelPoolManagement::CleanUpItem(PoolItem* item) {
  // Only pools of this manager: the slot of the id must hold the very pool.
  while (item != nullptr && item->id >= 0 && allItems_.GetItem(item->id) == item &&
         item->channels.GetItemCount() == 0 && item->subItems.GetItemCount() == 0) {
    PoolItem* parent = item->parent;
    allItems_.SetItem(nullptr, item->id);
    Vlt_List& siblings = parent != nullptr ? parent->subItems : mainItems_;
    for (int i = siblings.GetItemCount() - 1; i >= 0; --i)
      if (siblings.GetItem(i) == item) siblings.RemoveItem(i);
    delete item;
    item = parent;
  }
}

PoolItem* ChannelPoolManagement::GetPoolItemFromID(int id) {
  return static_cast<PoolItem*>(allItems_.GetItem(id));
}

Vlt_Channel* ChannelPoolManagement::GetChannelFromPoolItemInfo(ChannelPoolItemInfo* info) {
  if (info == nullptr) return nullptr;
  PoolItem* item = GetPoolItemFromID(info->itemId);
  return item != nullptr ? static_cast<Vlt_Channel*>(item->channels.GetItem(info->channelIndex))
                         : nullptr;
}

int ChannelPoolManagement::GetMainGroupPoolItemCount() { return mainItems_.GetItemCount(); }

PoolItem* ChannelPoolManagement::GetMainGroupPoolItem(int index) {
  return static_cast<PoolItem*>(mainItems_.GetItem(index));
}
