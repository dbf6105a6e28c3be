// The link positions of a public-call channel. Without a target the call has one variable
// position that takes every argument, each at the rank of the position it is meant for. Once
// the target is known the positions mirror the parameters the target shows its callers (its
// public interface, or else all of its group's parameters), built one by one as they are asked
// for, and the waiting arguments move into them.
#include <cstdint>
#include <vector>

#include "ChannelInternal.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_ChannelGroup.h"
#include "graph/GraphText.h"

namespace {

// A mirrored position's type name and link name keep at most this many characters.
constexpr size_t kMirrorNameChars = 79;

void* AsItem(int value) { return reinterpret_cast<void*>(static_cast<intptr_t>(value)); }

}  // namespace

void ChannelInternal::MakeUnresolvedPosition(Vlt_Channel* caller) {
  if (caller == nullptr || caller->publicCallInfo_ == nullptr) return;
  // Positions already there stay: mirrored ones keep their arguments while the target is away.
  if (caller->childCreations_.GetItemCount() > 0) return;
  ChildCreation* cc = new ChildCreation(caller->publicCallInfo_->unresolvedPosition);
  cc->acceptedType.typeGuid = VLT_WILDCARD_GUID;
  cc->acceptedType.baseGuid = VLT_WILDCARD_GUID;
  cc->requestLink = -1;
  cc->positionIndex = 0;
  ChildInfo* head = new ChildInfo();
  head->channel = nullptr;
  head->linkPosition = 0;
  head->isHead = 1;
  head->isVariable = 1;
  cc->head = head;
  caller->childCreations_.SetItem(cc, 0);
  caller->children_.InsertItem(head, 0);
  caller->dropLastChild_ = 1;
  RecalculateNodeOffsets(caller);
}

Vlt_Channel* ChannelInternal::PrepareMirror(Vlt_Channel* caller) {
  Vlt_Channel* target = GetInternalPublicChannelForPublicCall(caller, false);
  if (target == nullptr)
    MakeUnresolvedPosition(caller);
  else if (caller->dropLastChild_ != 0)
    MoveUnresolvedArguments(caller);
  return target;
}

int ChannelInternal::MirrorPositionCount(Vlt_Channel* target, bool useInterface) {
  if (useInterface) return GetPublicInterfaceCount(target);
  Vlt_ChannelGroup* group = target->group_;
  return group != nullptr ? group->GetParameterCount() : 0;
}

ChildCreation* ChannelInternal::MirrorPosition(Vlt_Channel* caller, Vlt_Channel* target, int i) {
  const bool useInterface = GetIfUsePublicInterface(target);
  if (i < 0 || i >= MirrorPositionCount(target, useInterface)) return nullptr;
  if (ChildCreation* built = static_cast<ChildCreation*>(caller->childCreations_.GetItem(i)))
    return built;
  Vlt_ChannelGroup* group = target->group_;
  if (group == nullptr) return nullptr;
  const int n = useInterface ? GetPublicInterfaceItemNr(target, i) : i;
  if (n < 0) return nullptr;
  const ParameterInterfaceInfo parameter = group->GetParameterInfo(n);
  if (VltGuidEqual(parameter.type, VLT_NULL_GUID)) return nullptr;

  if (useInterface) {
    if (caller->groupInterfaceMap_ == nullptr) caller->groupInterfaceMap_ = new Vlt_List();
    Vlt_List* map = caller->groupInterfaceMap_;
    for (int j = map->GetItemCount(); j < n; ++j) map->SetItem(AsItem(-1), j);
    map->SetItem(AsItem(i), n);
  }

  ChildCreation* cc = new ChildCreation();
  cc->acceptedType.typeGuid = parameter.type;
  cc->acceptedType.baseGuid = parameter.type;
  vgraph::CopyBounded(cc->acceptedType.name, kMirrorNameChars + 1, parameter.name);
  vgraph::CopyBounded(cc->linkName, kMirrorNameChars + 1, parameter.name);
  cc->createDefaultChild = 0;
  cc->requestLink = i;
  cc->positionIndex = i;
  ChildInfo* head = static_cast<ChildInfo*>(caller->children_.GetItem(i));
  if (head == nullptr) {
    head = new ChildInfo();
    caller->children_.SetItem(head, i);
  }
  head->linkPosition = i;
  head->isHead = 1;
  head->isVariable = 0;
  cc->head = head;
  caller->childCreations_.SetItem(cc, i);
  RecalculateNodeOffsets(caller);
  return cc;
}

void ChannelInternal::MoveUnresolvedArguments(Vlt_Channel* caller) {
  caller->dropLastChild_ = 0;
  struct Argument {
    Vlt_Channel* channel;
    int32_t reserved;
  };
  // Every entry but the last, which is the unresolved position's head; rank k is meant for
  // position k.
  std::vector<Argument> arguments;
  for (int k = 0; k + 1 < caller->children_.GetItemCount(); ++k) {
    const ChildInfo* entry = caller->GetChildInfo(k);
    arguments.push_back(
        {entry != nullptr ? entry->channel : nullptr, entry != nullptr ? entry->reserved : 0});
  }
  caller->SetChildCreationCount(0);
  for (size_t k = 0; k < arguments.size(); ++k) {
    if (arguments[k].channel == nullptr) continue;
    const int position = static_cast<int>(k);
    const int at = caller->SetChild(arguments[k].channel, position, position);
    if (ChildInfo* entry = caller->GetChildInfo(at)) entry->reserved = arguments[k].reserved;
  }
}

void ChannelInternal::ReturnToUnresolved(Vlt_Channel* caller) {
  if (caller == nullptr || caller->publicCallInfo_ == nullptr || caller->dropLastChild_ != 0 ||
      caller->childCreations_.GetItemCount() == 0)
    return;
  struct Argument {
    int position;
    Vlt_Channel* channel;
    int32_t reserved;
  };
  std::vector<Argument> arguments;
  for (int i = 0; i < caller->children_.GetItemCount(); ++i) {
    const ChildInfo* entry = caller->GetChildInfo(i);
    if (entry != nullptr && entry->channel != nullptr)
      arguments.push_back({entry->linkPosition, entry->channel, entry->reserved});
  }
  caller->SetChildCreationCount(0);
  MakeUnresolvedPosition(caller);
  ChildCreation* unresolved = static_cast<ChildCreation*>(caller->childCreations_.GetItem(0));
  if (unresolved == nullptr) return;
  ChildInfo* head = unresolved->head;
  // Placed directly rather than through SetChild, which would look for the new target first.
  for (const Argument& argument : arguments) {
    ChildInfo* entry = nullptr;
    if (argument.position >= 0 && argument.position < head->count) {
      ChildInfo* atRank = caller->GetChildInfo(head->index - head->count + argument.position);
      if (atRank != nullptr && atRank->channel == nullptr) entry = atRank;
    }
    if (entry == nullptr) {
      while (head->count < argument.position) {
        ChildInfo* empty = new ChildInfo();
        empty->linkPosition = 0;
        caller->children_.InsertItem(empty, head->index);
        RecalculateNodeOffsets(caller);
      }
      entry = new ChildInfo();
      entry->linkPosition = 0;
      caller->children_.InsertItem(entry, head->index);
      RecalculateNodeOffsets(caller);
    }
    entry->channel = argument.channel;
    entry->reserved = argument.reserved;
  }
}

void ChannelInternal::SettleArguments(Vlt_Channel* caller) {
  if (caller->dropLastChild_ == 0 || caller->resolvedCalls_ == nullptr) return;
  if (caller->resolvedCalls_->GetItem(caller->publicCallInfo_->poolNr) == nullptr) return;
  PrepareMirror(caller);
}

void ChannelInternal::ReCreateChildInterface(Vlt_Channel* caller) {
  if (caller == nullptr || caller->interfaceType_ != VCO_PUBLICCALL) return;
  caller->SetChildCreationCount(0);
  caller->RemoveChildren();
  const int positions = GetChildCreationCount(caller);
  for (int i = 0; i < positions; ++i) GetChildCreateType(caller, i);
}
