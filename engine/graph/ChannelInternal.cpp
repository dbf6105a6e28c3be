// The engine's bookkeeping on channels: offsets of the flat child list, compaction, linking by
// type, pending links, index and group assignment, tree-count flags, calling times and the
// dependency walk. Public calls and parameters are in ChannelInternalPublic.cpp.
#include "ChannelInternal.h"

#include "ChannelDependency.h"
#include "EngineInterface.h"
#include "SmartChannel.h"
#include "VltGuid.h"
#include "Vlt_ChannelGroup.h"
#include "platform/Platform.h"

namespace {

ChannelInternal theChannelInternal;

// The type whose dependency hook runs before the walk looks at it.
const GUID kDependencyFirstType = {
    0xE5C27B90, 0x4A1D, 0x4F63, {0xB8, 0xE2, 0x19, 0xD6, 0xA0, 0xC7, 0x3F, 0x45}};

bool Accepts(const ChildCreation& cc, const ChannelType& type) {
  const GUID& accepted = cc.acceptedType.typeGuid;
  return VltGuidEqual(accepted, type.typeGuid) || VltGuidEqual(accepted, type.baseGuid) ||
         VltGuidEqual(accepted, VLT_WILDCARD_GUID);
}

bool IsStandIn(int interfaceType) {
  return interfaceType == VCO_PUBLICCALL || interfaceType == VCO_PARAMETER ||
         interfaceType == VCO_INDIRECT || interfaceType == VCO_PUBLICINDIRECT;
}

}  // namespace

ChannelInternal* channelInternal = &theChannelInternal;

ChannelInternal::~ChannelInternal() = default;

int ChannelInternal::SetChildByType(Vlt_Channel* parent, Vlt_Channel* child, int targetChannel) {
  if (parent == nullptr || child == nullptr) return -1;
  const ChannelType type = child->GetChannelType();
  const int positions = GetChildCreationCount(parent);
  for (int p = 0; p < positions; ++p) {
    ChildCreation* cc = GetChildCreateType(parent, p);
    if (cc == nullptr || cc->head == nullptr || !Accepts(*cc, type)) continue;
    ChildInfo* head = cc->head;
    if (head->isVariable == 0) {
      if (head->channel == nullptr) return parent->SetChild(child, 0, p);
      continue;
    }
    if (targetChannel != -1) return parent->SetChild(child, targetChannel, p);
    for (int rank = 0; rank < head->count; ++rank) {
      ChildInfo* entry = parent->GetChildInfo(head->index - head->count + rank);
      if (entry != nullptr && entry->channel == nullptr) return parent->SetChild(child, rank, p);
    }
    return parent->SetChild(child, -1, p);
  }
  return -1;
}

void ChannelInternal::RemoveChildPosition(Vlt_Channel* channel, int index) {
  if (channel == nullptr) return;
  ChildInfo* info = channel->GetChildInfo(index);
  if (info != nullptr) {
    info->channel = nullptr;
    if (info->isHead == 0) {
      channel->children_.RemoveItem(index);
      delete info;
    }
  }
  RecalculateNodeOffsets(channel);
}

void ChannelInternal::RemoveChild(Vlt_Channel* parent, Vlt_Channel* child) {
  if (parent == nullptr || child == nullptr) return;
  SmartChannel resolver(parent->engine);
  for (int i = 0; i < parent->GetChildCount(); ++i) {
    Vlt_Channel* stored = GetInternalChild(parent, i);
    if (stored == nullptr) continue;
    bool match = stored == child;
    if (!match) {
      resolver.SetChannel(stored);
      match = resolver.GetChannel() == child;
    }
    if (match) parent->RemoveChild(i);
  }
}

void ChannelInternal::RecalculateNodeOffsets(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  int counter = 0;
  for (int i = 0; i < channel->children_.GetItemCount(); ++i) {
    ChildInfo* info = channel->GetChildInfo(i);
    if (info == nullptr) continue;
    info->index = i;
    if (info->isVariable != 0) {
      info->count = counter;
      counter = 0;
    } else if (info->isHead != 0) {
      info->count = 0;
      counter = 0;
    } else {
      info->count = counter;
      ++counter;
    }
  }
}

void ChannelInternal::SortChilderen(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  // Removing an entry only shifts the later ones down, so continuing at the same index visits
  // exactly what a restart from the first entry would find.
  int i = 0;
  while (i < channel->children_.GetItemCount()) {
    ChildInfo* info = channel->GetChildInfo(i);
    if (info != nullptr && info->channel == nullptr && info->isHead == 0 && info->isVariable == 0) {
      RemoveChildPosition(channel, i);
      continue;
    }
    ++i;
  }
}

int ChannelInternal::GetChildCreationCount(Vlt_Channel* channel) {
  if (channel == nullptr) return 0;
  if (channel->interfaceType_ == VCO_PUBLICCALL) {
    // A public call's positions mirror its target (PublicCallMirror.cpp).
    if (Vlt_Channel* target = PrepareMirror(channel))
      return MirrorPositionCount(target, GetIfUsePublicInterface(target));
  }
  return channel->childCreations_.GetItemCount();
}

int ChannelInternal::GetChildLinkPosition(Vlt_Channel* channel, int index) {
  ChildInfo* info = GetChildInfo(channel, index);
  return info != nullptr ? info->linkPosition : -1;
}

bool ChannelInternal::CheckChannelRequest(Vlt_Channel* requester, int targetIndex,
                                          int targetPosition, Vlt_Channel* target,
                                          int linkPosition) {
  if (requester == nullptr || requester->pendingLinks_ == nullptr) return false;
  Vlt_List* pending = requester->pendingLinks_;
  int found = -1;
  for (int i = 0; i < pending->GetItemCount() && found < 0; ++i) {
    PendingLink* link = static_cast<PendingLink*>(pending->GetItem(i));
    if (link != nullptr && link->targetIndex == targetIndex &&
        link->targetPosition == targetPosition)
      found = i;
  }
  if (found < 0) return false;
  if (linkPosition == -1)
    requester->SetChild(target, -1, -1);
  else
    requester->SetChild(target, targetPosition, linkPosition);
  PendingLink* done = static_cast<PendingLink*>(pending->GetItem(found));
  pending->RemoveItem(found);
  delete done;
  if (pending->GetItemCount() == 0) {
    pending->ReleaseItems();
    delete pending;
    requester->pendingLinks_ = nullptr;
  }
  return true;
}

void ChannelInternal::SetChannelIDIndexNr(Vlt_Channel* channel, int indexNr) {
  if (channel != nullptr) channel->indexNr_ = indexNr;
}

void ChannelInternal::SetChannelGroup(Vlt_Channel* channel, Vlt_ChannelGroup* group) {
  if (channel != nullptr) channel->group_ = group;
}

bool ChannelInternal::GetIfExternalChild(Vlt_Channel* channel, int index) {
  Vlt_Channel* stored = GetInternalChild(channel, index);
  return stored != nullptr && IsStandIn(stored->interfaceType_);
}

int ChannelInternal::GetChannelGetChildTime(Vlt_Channel* channel) {
  return channel != nullptr ? static_cast<int>(channel->callingTime_) : 0;
}

void ChannelInternal::UpdateCallingTime(Vlt_Channel* channel) {
  if (channel == nullptr || channel->group_ == nullptr || channel->group_->GetGroupIndex() == -1)
    return;
  channel->callingTime_ = vplat::tickCount();
}

bool ChannelInternal::GetIgnoreTreeCount(Vlt_Channel* channel) {
  return channel != nullptr && channel->ignoreTreeCount_ != 0;
}

void ChannelInternal::SetIgnoreTreeCount(Vlt_Channel* channel, bool ignore) {
  if (channel != nullptr) channel->ignoreTreeCount_ = ignore ? 1 : 0;
}

void ChannelInternal::GetChannelDepenency(Vlt_Channel* channel, Vlt_List* dependencies) {
  if (channel == nullptr || dependencies == nullptr) return;
  const ChannelType type = channel->GetChannelType();
  if (VltGuidEqual(type.typeGuid, kDependencyFirstType)) channel->DoDependencyInit(dependencies);
  for (int i = 0; i < dependencies->GetItemCount(); ++i) {
    ChannelDependency* dep = static_cast<ChannelDependency*>(dependencies->GetItem(i));
    if (dep != nullptr && VltGuidEqual(dep->typeGuid, type.typeGuid)) return;
  }
  ChannelDependency* dep = new ChannelDependency();
  dep->typeGuid = type.typeGuid;
  dependencies->AddItem(dep);
  if (channel->engine != nullptr) {
    Vlt_Channel* base = channel->engine->InitChannelFromType(type.baseGuid, nullptr, false);
    if (base != nullptr) {
      GetChannelDepenency(base, dependencies);
      delete base;
    }
  }
  channel->DoDependencyInit(dependencies);
}

void ChannelInternal::ReleaseChilderen(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  channel->SetChildCreationCount(0);
}

ChildInfo* ChannelInternal::GetChildInfo(Vlt_Channel* channel, int index) {
  return channel != nullptr ? channel->GetChildInfo(index) : nullptr;
}

Vlt_Channel* ChannelInternal::GetInternalChild(Vlt_Channel* channel, int index) {
  ChildInfo* info = GetChildInfo(channel, index);
  return info != nullptr ? info->channel : nullptr;
}

ChildCreation* ChannelInternal::GetChildCreateType(Vlt_Channel* channel, int index) {
  if (channel == nullptr) return nullptr;
  if (channel->interfaceType_ == VCO_PUBLICCALL) {
    if (Vlt_Channel* target = PrepareMirror(channel)) return MirrorPosition(channel, target, index);
  }
  return static_cast<ChildCreation*>(channel->childCreations_.GetItem(index));
}

void ChannelInternal::SetTreeCountMode(Vlt_Channel* channel, int mode) {
  if (channel != nullptr) channel->treeCountMode_ = static_cast<uint8_t>(mode);
}

int ChannelInternal::GetTreeCountMode(Vlt_Channel* channel) {
  return channel != nullptr ? channel->treeCountMode_ : -1;
}

int ChannelInternal::GetTreeRecalculateCount(Vlt_Channel* channel) {
  return channel != nullptr ? channel->treeRecalculateCount_ : -1;
}

void ChannelInternal::AddPendingLink(Vlt_Channel* channel, int targetIndex, int targetPosition,
                                     int unused) {
  if (channel == nullptr) return;
  if (channel->pendingLinks_ == nullptr) channel->pendingLinks_ = new Vlt_List();
  channel->pendingLinks_->AddItem(new PendingLink{targetIndex, targetPosition, unused});
}
