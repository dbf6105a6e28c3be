// Linking children into a channel's flat child list and the queries over that list.
#include <cstdio>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "graph/GraphReport.h"

namespace {

bool Accepts(const ChildCreation& cc, const ChannelType& type) {
  const GUID& accepted = cc.acceptedType.typeGuid;
  return VltGuidEqual(accepted, type.baseGuid) || VltGuidEqual(accepted, type.typeGuid) ||
         VltGuidEqual(accepted, VLT_WILDCARD_GUID);
}

}  // namespace

int Vlt_Channel::SetChild(Vlt_Channel* child, int targetChannel, int linkPosition) {
  if (child == nullptr) return -1;
  if (child == this) {
    vgraph::ReportError(engine, "SetChild channel==this");
    return -1;
  }
  if (targetChannel < -1)
    vgraph::ReportUserInfo(engine, "Vlt_Channel::SetChild targetChannel<-1 is out of range");

  if (interfaceType_ == VCO_PUBLICCALL &&
      channelInternal->GetInternalPublicChannelForPublicCall(this, false) == nullptr) {
    // Without a target every argument sits in the one variable position, at the rank of the
    // position it is meant for, so that it can move there once the target is known.
    channelInternal->MakeUnresolvedPosition(this);
    if (dropLastChild_ != 0) {
      targetChannel = linkPosition;
      linkPosition = 0;
    }
  }

  if (linkPosition < -1 || linkPosition == -1 ||
      linkPosition >= channelInternal->GetChildCreationCount(this))
    return channelInternal->SetChildByType(this, child, linkPosition == -1 ? targetChannel : -1);

  ChildCreation* cc = channelInternal->GetChildCreateType(this, linkPosition);
  if (cc == nullptr) {
    vgraph::ReportUserInfo(engine,
                           "Vlt_Channel::SetChild childCreation==NULL for this target type");
    return -1;
  }
  if (!Accepts(*cc, child->GetChannelType())) {
    vgraph::ReportUserInfo(
        engine,
        "This channel was unable to be linked. The type of the channel was not accepted at "
        "this link position");
    return -1;
  }
  ChildInfo* head = cc->head;
  if (head == nullptr) {
    vgraph::ReportUserInfo(engine,
                           "Vlt_Channel::SetChild childCreation->childInfo==NULL group not found?");
    return -1;
  }
  if (head->isVariable == 0) {
    head->channel = child;  // a previous child is only unlinked, never destroyed
    return head->index;
  }
  if (targetChannel >= 0 && targetChannel < head->count) {
    const int at = head->index - head->count + targetChannel;
    ChildInfo* entry = GetChildInfo(at);
    if (entry == nullptr) {
      char text[1200];
      std::snprintf(text, sizeof(text),
                    "Vlt_Channel::SetChild invalid targetChannel %s %d %d %d %s",
                    child->GetChannelName() != nullptr ? child->GetChannelName() : "",
                    targetChannel, linkPosition, GetChildCount(), name_ != nullptr ? name_ : "");
      vgraph::ReportUserInfo(engine, text);
      return -1;
    }
    entry->channel = child;
    return at;
  }
  // Appending: ranks up to targetChannel are filled with empty entries first; the new child
  // always lands directly before the head, last in its position.
  while (head->count < targetChannel) {
    ChildInfo* empty = new ChildInfo();
    empty->channel = nullptr;
    empty->linkPosition = linkPosition;
    children_.InsertItem(empty, head->index);
    channelInternal->RecalculateNodeOffsets(this);
  }
  ChildInfo* entry = new ChildInfo();
  entry->channel = child;
  entry->linkPosition = linkPosition;
  const int at = head->index;
  children_.InsertItem(entry, at);
  channelInternal->RecalculateNodeOffsets(this);
  return at;
}

int Vlt_Channel::GetChildLinkPositionCount(int position) {
  ChildCreation* cc = static_cast<ChildCreation*>(childCreations_.GetItem(position));
  if (cc == nullptr || cc->head == nullptr || cc->head->isVariable == 0) return 0;
  return cc->head->count;
}

Vlt_Channel* Vlt_Channel::GetChildFromLinkPosition(int position, int rank) {
  ChildCreation* cc = static_cast<ChildCreation*>(childCreations_.GetItem(position));
  if (cc == nullptr || cc->head == nullptr) return nullptr;
  // A negative rank would reach into the position before this one.
  if (rank < 0 || rank > cc->head->count) return nullptr;
  return GetChild(cc->head->index - cc->head->count + rank);
}

Vlt_Channel* Vlt_Channel::GetChildFromLinkGuid(const GUID& type, int n) {
  int found = 0;
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    Vlt_Channel* matched = MatchedChildOfEntry(GetChildInfo(i));
    if (matched == nullptr) continue;
    const ChannelType t = matched->GetChannelType();
    if (!VltGuidEqual(t.typeGuid, type) && !VltGuidEqual(t.baseGuid, type)) continue;
    if (found == n) return GetChild(i);
    ++found;
  }
  return nullptr;
}

int Vlt_Channel::GetChildTypeCount(const GUID& type) {
  int found = 0;
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    Vlt_Channel* matched = MatchedChildOfEntry(GetChildInfo(i));
    if (matched == nullptr) continue;
    const ChannelType t = matched->GetChannelType();
    if (VltGuidEqual(t.typeGuid, type) || VltGuidEqual(t.baseGuid, type)) ++found;
  }
  return found;
}

void Vlt_Channel::RemoveChild(int index) {
  ChildInfo* info = GetChildInfo(index);
  if (info != nullptr) info->channel = nullptr;
}

void Vlt_Channel::RemoveChildren() {
  for (int i = children_.GetItemCount() - 1; i >= 0; --i) {
    ChildInfo* info = GetChildInfo(i);
    if (info == nullptr) continue;
    info->channel = nullptr;
    if (info->isHead == 0) {
      children_.RemoveItem(i);
      delete info;
    }
  }
  channelInternal->RecalculateNodeOffsets(this);
}
