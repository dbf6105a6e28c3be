// Handles that remember where a channel sits (group slot and channel slot) and answer it only
// while that slot still holds the same object.
#include "SmartChannel.h"

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"

GChannel::GChannel() : groupIndex_(-1), indexNr_(-1), channel_(nullptr), engine_(nullptr) {}

GChannel::~GChannel() = default;

void GChannel::SetChannel(Vlt_Channel* channel) {
  groupIndex_ = -1;
  indexNr_ = -1;
  channel_ = nullptr;
  engine_ = nullptr;
  if (channel == nullptr || channel->GetChannelGroup() == nullptr) return;
  groupIndex_ = channel->GetChannelGroup()->GetGroupIndex();
  indexNr_ = channel->GetChannelIDIndexNr();
  channel_ = channel;
  engine_ = channel->engine;
}

Vlt_Channel* GChannel::GetChannel() {
  if (groupIndex_ == -1 || indexNr_ == -1 || engine_ == nullptr) return nullptr;
  Vlt_ChannelGroup* group = engine_->GetChannelGroup(groupIndex_);
  if (group == nullptr) return nullptr;
  return group->GetChannel(indexNr_) == channel_ ? channel_ : nullptr;
}

SmartChannel::SmartChannel(EngineInterface* engine)
    : groupGuid_(VLT_NULL_GUID),
      groupIndex_(-1),
      indexNr_(-1),
      channel_(nullptr),
      engine_(engine != nullptr ? engine : globalEngine) {}

SmartChannel::~SmartChannel() = default;

bool SmartChannel::SetChannel(Vlt_Channel* channel) {
  channel_ = nullptr;
  groupIndex_ = -1;
  if (channel == nullptr) return false;
  channel_ = channel;
  Vlt_ChannelGroup* group = channel->GetChannelGroup();
  if (group == nullptr) return false;  // kept, but nothing to check it against
  groupGuid_ = group->GetUniqueGroupGuid();
  groupIndex_ = group->GetGroupIndex();
  indexNr_ = channel->GetChannelIDIndexNr();
  return true;
}

Vlt_Channel* SmartChannel::GetInternalChannel() {
  if (channel_ == nullptr) return nullptr;
  EngineInterface* engine = engine_ != nullptr ? engine_ : globalEngine;
  if (engine == nullptr) return nullptr;
  Vlt_ChannelGroup* group = engine->GetChannelGroup(groupIndex_);
  if (group == nullptr) return groupIndex_ == -1 ? channel_ : nullptr;
  return group->GetChannel(indexNr_) == channel_ ? channel_ : nullptr;
}

Vlt_Channel* SmartChannel::GetChannel() {
  Vlt_Channel* channel = GetInternalChannel();
  if (channel == nullptr) return nullptr;
  switch (channel->GetChannelInterfaceType()) {
    case VCO_PUBLICCALL:
      return channelInternal->GetPublicChannelForPublicCall(channel, false);
    case VCO_PARAMETER:
      return nullptr;
    case VCO_INDIRECT:
    case VCO_PUBLICINDIRECT:
      return channel->GetChannelFromChannel(nullptr, nullptr);
    default:
      return channel;
  }
}
