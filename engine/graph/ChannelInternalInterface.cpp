// Public interfaces: a public channel may show its callers a chosen, ordered subset of its
// group's parameters instead of all of them. Changes that move or remove items tell the engine,
// so that calls mirroring the interface rebuild their positions.
#include <cstdint>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_ChannelGroup.h"
#include "graph/GraphReport.h"

namespace {

int ItemValue(const Vlt_List& items, int i) {
  return static_cast<int>(reinterpret_cast<intptr_t>(items.GetItem(i)));
}

void* AsItem(int value) { return reinterpret_cast<void*>(static_cast<intptr_t>(value)); }

// Calls into the channel's pool of groups mirror this interface: their positions are dropped
// and rebuilt when next used. channel narrows it to the calls that resolve to it.
void TellInterfaceChange(Vlt_Channel* channel, Vlt_Channel* only) {
  Vlt_ChannelGroup* group = channel->GetChannelGroup();
  if (group == nullptr || channel->engine == nullptr || channel->engine->GetExt() == nullptr)
    return;
  channel->engine->GetExt()->CheckInterfaceChange(group->GetPoolName(), only);
}

}  // namespace

bool ChannelInternal::GetIfUsePublicInterface(Vlt_Channel* channel) {
  if (channel == nullptr || channel->publicInterface_ == nullptr || channel->group_ == nullptr)
    return false;
  if (VltGuidEqual(channel->publicInterface_->groupGuid, channel->group_->GetUniqueGroupGuid()))
    return true;
  vgraph::ReportError(channel->engine, "Error public channel has different channel group guid!");
  return false;
}

int ChannelInternal::GetPublicInterfaceCount(Vlt_Channel* channel) {
  if (channel == nullptr || channel->publicInterface_ == nullptr) return 0;
  return channel->publicInterface_->items.GetItemCount();
}

int ChannelInternal::GetPublicInterfaceItemNr(Vlt_Channel* channel, int item) {
  // Item values are stored in the pointers themselves, so 0 cannot mean "missing".
  if (item < 0 || item >= GetPublicInterfaceCount(channel)) return -1;
  return ItemValue(channel->publicInterface_->items, item);
}

void ChannelInternal::CreatePublicInterface(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  if (channel->group_ == nullptr) {
    vgraph::ReportError(
        channel->engine,
        "ChannelInternal::CreatePublicInterface error creating interface no channel group in "
        "channel");
    return;
  }
  PublicInterface* face = new PublicInterface();
  face->groupGuid = channel->group_->GetUniqueGroupGuid();
  delete channel->publicInterface_;
  channel->publicInterface_ = face;
  // Calls that mirrored the old interface or the plain parameter list would keep stale
  // positions.
  TellInterfaceChange(channel, channel);
}

void ChannelInternal::AddInterfaceItem(Vlt_Channel* channel, int parameterNr) {
  if (channel == nullptr) return;
  if (!GetIfUsePublicInterface(channel)) CreatePublicInterface(channel);
  if (channel->publicInterface_ == nullptr) return;
  channel->publicInterface_->items.AddItem(AsItem(parameterNr));
}

void ChannelInternal::RemoveInterfaceItem(Vlt_Channel* channel, int item) {
  if (channel == nullptr) return;
  TellInterfaceChange(channel, nullptr);
  if (item < 0 || item >= GetPublicInterfaceCount(channel)) return;
  channel->publicInterface_->items.RemoveItem(item);
}

void ChannelInternal::SwapInterfaceItems(Vlt_Channel* channel, int a, int b) {
  if (a == b || b == -1) return;
  const int count = GetPublicInterfaceCount(channel);
  if (a < 0 || a >= count || b < -2 || b >= count) return;
  Vlt_List& items = channel->publicInterface_->items;
  if (b == -2) {
    void* moved = items.GetItem(a);
    items.RemoveItem(a);
    items.AddItem(moved);
  } else {
    void* first = items.GetItem(a);
    items.SetItem(items.GetItem(b), a);
    items.SetItem(first, b);
  }
  TellInterfaceChange(channel, channel);
}
