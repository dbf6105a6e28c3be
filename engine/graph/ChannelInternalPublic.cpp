// The public-call and parameter side of ChannelInternal: the records, the resolution of a call,
// late binding of waiting calls, parameter numbers and unique public names.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "VltGuid.h"
#include "Vlt_ChannelGroup.h"
#include "graph/GraphText.h"
#include "graph/PublicCallAutoLoad.h"

namespace {

constexpr int kMaxNameChars = 500;
constexpr size_t kPublicNameChars = 79;

// Marks a waiting request in waitingCalls: any non-null entry will do.
void* const kWaiting = reinterpret_cast<void*>(static_cast<intptr_t>(1));

EngineInterfaceExt* ExtOf(Vlt_Channel* channel) {
  return channel->engine != nullptr ? channel->engine->GetExt() : nullptr;
}

// Given a name "Base(nn)", the name with nn + 1, or with "(02)" appended when there is no such
// ending or nn + 1 exceeds 50. The result always differs from the name and fits 500 characters.
void NextPublicName(const char* name, char* out, size_t outSize) {
  const size_t len = std::strlen(name);
  if (len >= 4 && name[len - 4] == '(' && name[len - 1] == ')') {
    char digits[3] = {name[len - 3], name[len - 2], '\0'};
    const long m = std::strtol(digits, nullptr, 10);
    if (m + 1 <= 50) {
      std::snprintf(out, outSize, "%.*s(%02ld)", static_cast<int>(len - 4), name, m + 1);
      return;
    }
  }
  // Room for the suffix: a name at the length limit loses its last characters instead of the
  // suffix, or the name would never change.
  const size_t keep = len + 4 > static_cast<size_t>(kMaxNameChars) ? kMaxNameChars - 4 : len;
  std::snprintf(out, outSize, "%.*s(02)", static_cast<int>(keep), name);
}

}  // namespace

bool ChannelInternal::SetPublicCallInfo(Vlt_Channel* channel, PublicCallInfo info) {
  if (channel == nullptr || channel->publicCallInfo_ == nullptr) return false;
  PublicCallInfo* record = channel->publicCallInfo_;
  *record = info;
  // Records may come from files: keep every text terminated, and drop the stored head.
  record->channelName[sizeof(record->channelName) - 1] = '\0';
  record->poolName[sizeof(record->poolName) - 1] = '\0';
  record->targetPath[sizeof(record->targetPath) - 1] = '\0';
  record->unresolvedPosition.linkName[sizeof(record->unresolvedPosition.linkName) - 1] = '\0';
  record->unresolvedPosition.acceptedType
      .name[sizeof(record->unresolvedPosition.acceptedType.name) - 1] = '\0';
  record->unresolvedPosition.head = nullptr;
  if (EngineInterfaceExt* ext = ExtOf(channel)) ext->CheckPublicCallChannelRemoval(channel);
  delete channel->resolvedCalls_;
  channel->resolvedCalls_ = nullptr;
  delete channel->waitingCalls_;
  channel->waitingCalls_ = nullptr;
  // Positions mirrored from the old target no longer apply; the arguments keep their ranks.
  ReturnToUnresolved(channel);
  return true;
}

PublicCallInfo ChannelInternal::GetPublicCallInfo(Vlt_Channel* channel) {
  PublicCallInfo copy;
  if (channel == nullptr || channel->publicCallInfo_ == nullptr) return copy;
  const PublicCallInfo* record = channel->publicCallInfo_;
  vgraph::CopyBounded(copy.channelName, sizeof(copy.channelName), record->channelName);
  vgraph::CopyBounded(copy.poolName, sizeof(copy.poolName), record->poolName);
  vgraph::CopyBounded(copy.targetPath, sizeof(copy.targetPath), record->targetPath);
  copy.poolNr = record->poolNr;
  copy.autoLoadGroup = record->autoLoadGroup;
  copy.dynamicAutoLoadGroup = record->dynamicAutoLoadGroup;
  return copy;
}

void ChannelInternal::SetAutoLoadGroup(Vlt_Channel* channel, bool autoLoad) {
  if (channel == nullptr || channel->publicCallInfo_ == nullptr) return;
  channel->publicCallInfo_->autoLoadGroup = autoLoad ? 1 : 0;
  if (autoLoad) channel->publicCallInfo_->dynamicAutoLoadGroup = 0;
}

void ChannelInternal::SetDynamicAutoLoadGroup(Vlt_Channel* channel, bool dynamicLoad) {
  if (channel == nullptr || channel->publicCallInfo_ == nullptr) return;
  channel->publicCallInfo_->dynamicAutoLoadGroup = dynamicLoad ? 1 : 0;
  if (dynamicLoad) channel->publicCallInfo_->autoLoadGroup = 0;
}

bool ChannelInternal::GetAutoLoadGroup(Vlt_Channel* channel) {
  return channel != nullptr && channel->publicCallInfo_ != nullptr &&
         channel->publicCallInfo_->autoLoadGroup != 0;
}

bool ChannelInternal::GetDynamicAutoLoadGroup(Vlt_Channel* channel) {
  return channel != nullptr && channel->publicCallInfo_ != nullptr &&
         channel->publicCallInfo_->dynamicAutoLoadGroup != 0;
}

bool ChannelInternal::CheckPublicChannelRequest(Vlt_Channel* caller, Vlt_Channel* candidate,
                                                int poolNr, const char* poolName) {
  if (caller == nullptr || candidate == nullptr || poolName == nullptr) return false;
  PublicCallInfo* record = caller->publicCallInfo_;
  if (record == nullptr || caller->waitingCalls_ == nullptr) return false;
  if (caller->resolvedCalls_ != nullptr && caller->resolvedCalls_->GetItem(poolNr) != nullptr)
    return false;
  if (caller->waitingCalls_->GetItem(poolNr) == nullptr) return false;
  if (!vgraph::NamesEqual(record->poolName, poolName)) return false;
  if (!vgraph::NamesEqualN(candidate->GetChannelName(), record->channelName, kPublicNameChars))
    return false;
  if (!VltGuidEqual(candidate->GetChannelType().baseGuid, caller->GetChannelType().baseGuid))
    return false;
  if (caller->resolvedCalls_ == nullptr) caller->resolvedCalls_ = new Vlt_List();
  caller->resolvedCalls_->SetItem(candidate, poolNr);
  caller->waitingCalls_->SetItem(nullptr, poolNr);
  return true;
}

void ChannelInternal::SetRequestedPublicChannelNr(Vlt_Channel* channel, int poolNr) {
  if (channel == nullptr || channel->interfaceType_ != VCO_PUBLICCALL ||
      channel->publicCallInfo_ == nullptr)
    return;
  channel->publicCallInfo_->poolNr = poolNr;
}

void ChannelInternal::DoPublicChannelNameCheck(Vlt_Channel* channel) {
  if (channel == nullptr || channel->group_ == nullptr) return;
  if (channel->interfaceType_ != VCO_PUBLIC && channel->interfaceType_ != VCO_PUBLICINDIRECT)
    return;
  // Each step changes the name (a number goes up or a suffix is added), so the names tried are
  // all different; the bound only guards against a group that keeps claiming a duplicate.
  char next[kMaxNameChars + 1];
  for (int attempt = 0; attempt < 100000; ++attempt) {
    if (!channel->group_->CheckDuplicatePublicChannelName(channel)) return;
    NextPublicName(channel->GetChannelName(), next, sizeof(next));
    channel->SetChannelName(next);
  }
}

ParameterInfo* ChannelInternal::GetParameterInfo(Vlt_Channel* channel) {
  return channel != nullptr ? static_cast<ParameterInfo*>(channel->interfaceData_) : nullptr;
}

void ChannelInternal::SetParameterInfo(Vlt_Channel* channel, int parameterNr) {
  ParameterInfo* info = GetParameterInfo(channel);
  if (info != nullptr) info->parameterNr = parameterNr;
}

void ChannelInternal::SetParameterInfo(Vlt_Channel* channel, ParameterInfo info) {
  SetParameterInfo(channel, info.parameterNr);
}

Vlt_Channel* ChannelInternal::GetInternalPublicChannelForPublicCall(Vlt_Channel* caller,
                                                                    bool activate) {
  if (caller == nullptr || caller->publicCallInfo_ == nullptr) return nullptr;
  PublicCallInfo* record = caller->publicCallInfo_;
  const int n = record->poolNr;
  Vlt_Channel* found = caller->resolvedCalls_ != nullptr
                           ? static_cast<Vlt_Channel*>(caller->resolvedCalls_->GetItem(n))
                           : nullptr;
  if (found == nullptr) {
    if (caller->waitingCalls_ != nullptr && caller->waitingCalls_->GetItem(n) != nullptr)
      return nullptr;
    EngineInterfaceExt* ext = ExtOf(caller);
    if (ext == nullptr) return nullptr;
    found = ext->GetPublicChannel(record);
    bool mustWait = record->autoLoadGroup == 0;
    if (found == nullptr && !mustWait) {
      // Only the plain group of a pool is loaded for a call; array members are made elsewhere.
      if (n != 0) return nullptr;
      if (!PublicCallAutoLoad(caller, record).LoadTargetGroup()) return nullptr;
      found = ext->GetPublicChannel(record);
      mustWait = true;
    }
    if (found != nullptr) {
      if (!VltGuidEqual(found->GetChannelType().baseGuid, caller->GetChannelType().baseGuid))
        return nullptr;
      if (caller->resolvedCalls_ == nullptr) caller->resolvedCalls_ = new Vlt_List();
      caller->resolvedCalls_->SetItem(found, n);
    } else {
      if (mustWait && ext->AddChannelRequest(n, caller)) {
        if (caller->waitingCalls_ == nullptr) caller->waitingCalls_ = new Vlt_List();
        caller->waitingCalls_->SetItem(kWaiting, n);
      }
      // The group may instead arrive from a background load; the waiting request binds the call
      // once it publishes its channels.
      if (record->dynamicAutoLoadGroup != 0 && n == 0 && caller->dynamicLoadPending_ == 0 &&
          PublicCallAutoLoad(caller, record).StartBackgroundLoad())
        caller->dynamicLoadPending_ = 1;
      return nullptr;
    }
  }

  caller->dynamicLoadPending_ = 0;
  Vlt_ChannelGroup* target = found->group_;
  if (activate && target != nullptr) {
    const bool hasChildren = caller->GetChildCount() > 0;
    if (caller->treeCountMode_ == 2 || (caller->treeCountMode_ == 1 && hasChildren))
      target->IncreaseTreeCount();
    target->SetParameterChannel(hasChildren ? caller : nullptr);
  }
  return found;
}

Vlt_Channel* ChannelInternal::GetPublicChannelForPublicCall(Vlt_Channel* caller, bool activate) {
  Vlt_Channel* found = GetInternalPublicChannelForPublicCall(caller, activate);
  if (found != nullptr && found->interfaceType_ == VCO_PUBLICINDIRECT)
    return found->GetChannelFromChannel(nullptr, nullptr);
  return found;
}

int ChannelInternal::TranslateGroupInterfaceNr(Vlt_Channel* caller, int n) {
  if (caller == nullptr || caller->publicCallInfo_ == nullptr) return n;
  // The map describes mirrored positions: arguments still waiting for them move there first.
  SettleArguments(caller);
  if (caller->groupInterfaceMap_ == nullptr || caller->groupInterfaceMap_->GetItemCount() == 0)
    return n;
  if (n < 0 || n >= caller->groupInterfaceMap_->GetItemCount()) return -1;
  return static_cast<int>(reinterpret_cast<intptr_t>(caller->groupInterfaceMap_->GetItem(n)));
}
