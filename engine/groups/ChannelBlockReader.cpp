// The engine block of a channel, as the base LoadChannel reads it.
#include "groups/ChannelBlockReader.h"

#include <cstdint>
#include <string>

#include "ChannelInternal.h"
#include "ChannelPoolManagement.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_String.h"
#include "graph/ChannelPoolInfo.h"
#include "groups/BlockReader.h"
#include "groups/StoredRecords.h"

namespace {

void ReportError(Vlt_Channel* channel, const char* text) {
  if (channel->engine != nullptr) channel->engine->showErrorMessage_(text);
}

// A stored membership: the channel joins the pool, which also records the name with the channel.
// A group the engine does not hold (one loaded on its own, as a tool or a test does) cannot
// enter engine-wide pools; its channels keep the names quietly so that saving it keeps them.
void EnterPool(Vlt_Channel* channel, const char* path) {
  Vlt_ChannelGroup* group = channel->GetChannelGroup();
  EngineInterfaceExt* ext = channel->engine != nullptr ? channel->engine->GetExt() : nullptr;
  ChannelPoolManagement* manager = ext != nullptr ? ext->GetChannelPoolManagement() : nullptr;
  if (manager != nullptr && group != nullptr && group->GetGroupIndex() != -1 &&
      manager->CreatePoolItem(path, channel) != nullptr)
    return;
  channelInternal->AddChannelToPool(channel, path);
}

// Reads count names, each a name block or a marker for an empty one. Stops early where neither
// follows, so a hostile count costs nothing. Empty names are not kept.
bool ReadNames(vgroups::BlockReader& in, int32_t count, const char* nameTag, const char* emptyTag,
               Vlt_List* names) {
  const char* name = nullptr;
  uint32_t size = 0;
  for (int32_t i = 0; i < count; ++i) {
    bool found = false;
    if (in.Has(nameTag)) {
      found = true;
      if (!in.ReadText(&name, &size)) return false;
      if (size > 0) {
        Vlt_String* copy = new Vlt_String();
        copy->SetString(name);
        names->AddItem(copy);
      }
    }
    if (in.Has(emptyTag)) found = true;
    if (!found) break;
  }
  return true;
}

}  // namespace

bool ChannelBlockReader::Read(Vlt_Channel* channel, VltFileLoader* loader,
                              Vlt_ChannelGroup* group) {
  if (channel == nullptr || loader == nullptr) return false;
  vgroups::BlockReader in(loader);

  delete static_cast<ParameterInfo*>(channel->interfaceData_);
  channel->interfaceData_ = nullptr;
  delete channel->publicCallInfo_;
  channel->publicCallInfo_ = nullptr;

  uint8_t flag = 0;
  if (in.Has("CHIC") && in.ReadByte(&flag)) channel->ignoreTreeCount_ = flag != 0 ? 1 : 0;

  if (!in.Has("CHNA")) {
    ReportError(channel, "Couldn't find channel name header");
    return false;
  }
  const char* name = nullptr;
  uint32_t size = 0;
  if (!in.ReadText(&name, &size)) {
    ReportError(channel, "Couldn't find channel name header");
    return false;
  }
  if (size > 0) channel->SetChannelName(name);

  int32_t value = 0;
  if (in.Has("CHIT") && in.ReadInt(&value)) channel->SetChannelInterfaceType(value);
  const int type = channel->interfaceType_;

  if (type == VCO_PUBLICCALL) {
    channelInternal->ReleaseChilderen(channel);
    delete channel->publicCallInfo_;
    channel->publicCallInfo_ = new PublicCallInfo();
    delete channel->groupInterfaceMap_;
    channel->groupInterfaceMap_ = new Vlt_List();
    if (in.Has("CHES")) {
      uint8_t record[vgroups::kPublicCallInfoBytes];
      if (in.ReadRecord(record, sizeof(record)))
        vgroups::GetPublicCallInfo(record, channel->publicCallInfo_);
    }
    channel->treeCountMode_ = 1;
    if (in.Has("CHTM") && in.ReadByte(&flag)) channel->treeCountMode_ = flag;
  } else if (type == VCO_PARAMETER) {
    channelInternal->ReleaseChilderen(channel);
    delete static_cast<ParameterInfo*>(channel->interfaceData_);
    ParameterInfo* parameter = new ParameterInfo();
    channel->interfaceData_ = parameter;
    if (in.Has("CEXI") && in.ReadInt(&value)) parameter->parameterNr = value;
  } else if (type == VCO_PUBLIC || type == VCO_PUBLICINDIRECT) {
    if (group == nullptr) return false;
    GUID stored;
    if (in.Has("CEPG") && in.ReadGuid(&stored)) {
      const bool foreign = !VltGuidEqual(stored, group->GetUniqueGroupGuid());
      if (foreign && channel->engine != nullptr)
        channel->engine->showUserErrorMessage_(
            "Public channel with interface loaded in different group. Discarding interface "
            "information.");
      if (channel->publicInterface_ == nullptr) channel->publicInterface_ = new PublicInterface();
      PublicInterface* face = channel->publicInterface_;
      face->groupGuid = stored;
      int32_t items = 0;
      if (in.Has("CHPC") && in.ReadInt(&items)) {
        for (int32_t j = 0; j < items && in.Has("CHPT"); ++j) {
          if (!in.ReadInt(&value)) break;
          face->items.SetItem(reinterpret_cast<void*>(static_cast<intptr_t>(value)), j);
        }
      }
      if (foreign) {
        delete channel->publicInterface_;
        channel->publicInterface_ = nullptr;
      }
    }
  }
  if (in.Failed()) return false;

  int32_t links = 0;
  if (!in.Has("CHLC") || !in.ReadInt(&links)) {
    ReportError(channel, "Couldn't find channel linkcount header");
    return false;
  }
  // Every record holds at least one block, so the loop ends where the data does.
  for (int32_t j = 0; j < links; ++j) {
    int32_t index = -1;
    if (!in.Has("CHLI") || !in.ReadInt(&index)) {
      if (channel->engine != nullptr) {
        channel->engine->showErrorMessage_("Couldn't find channel links header");
        channel->engine->showErrorMessage_(static_cast<int>(links));
        channel->engine->showErrorMessage_(channel->name_ != nullptr ? channel->name_ : "");
      }
      return false;
    }
    int32_t position = -1;
    if (in.Has("CHUL")) in.ReadInt(&position);
    int32_t rank = j - position;
    if (in.Has("CHRP")) in.ReadInt(&rank);
    if (in.Failed()) return false;
    if (index == -1) continue;
    if (group == nullptr) return false;
    group->AddChannelRequest(ChannelRequestInfo{index, rank, channel, position});
    channelInternal->AddPendingLink(channel, index, rank, 0);
  }

  if (in.Has("CHUP") && in.ReadByte(&flag)) channel->usePoolChannel_ = flag != 0 ? 1 : 0;
  int32_t count = 0;
  if (in.Has("CHNC") && in.ReadInt(&count)) {
    if (channel->poolInfo_ == nullptr) channel->poolInfo_ = new ChannelPoolInfo();
    channel->poolInfo_->snapshot = 0;
    if (!ReadNames(in, count, "CHPN", "CHEN", &channel->poolInfo_->poolNames)) return false;
  }
  if (in.Has("CPNC") && in.ReadInt(&count)) {
    if (channel->poolNames_ == nullptr) channel->poolNames_ = new Vlt_List();
    Vlt_List names;
    const bool read = ReadNames(in, count, "CPNP", "CPEN", &names);
    for (int i = 0; i < names.GetItemCount(); ++i) {
      auto* name = static_cast<Vlt_String*>(names.GetItem(i));
      EnterPool(channel, name->GetString());
      delete name;
    }
    names.ReleaseItems();
    if (!read) return false;
  }
  return !in.Failed();
}
