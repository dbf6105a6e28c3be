// The group file as LoadChannelGroup reads it.
#include "groups/GroupFileReader.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "VltFileLoader.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "groups/BlockReader.h"
#include "groups/StoredRecords.h"

namespace {

constexpr uint32_t kFileVersion = 57;

const char* const kNotAGroup =
    "The selected file is not a channel group. Most channel group files have the \".cgr\" "
    "extension. It could also be that the file is corrupt.";
const char* const kBackwardCompatible =
    "Lumenar is backward compatible, this means that it can't load files that have been "
    "created with newer versions of Lumenar.";
const char* const kChannelNotInstalled =
    "A channel (component) is used in this channel group that is not installed in your version. "
    "It could be created in a newer version of Lumenar or with a different set of components "
    "installed. Please contact the creator of the channel group and ask him about his Lumenar "
    "version.";

void ReportMissingIndex(EngineInterface* engine, const GUID& lastType, const char* fileName) {
  if (engine == nullptr) return;
  engine->showUserErrorMessage_(kNotAGroup);
  engine->showErrorMessage_(
      "Vlt_ChannelGroup::LoadChannelGroup: Couldn't find channel index header");
  engine->showErrorMessage_(lastType);
  const std::string file = std::string("Loader file : ") + (fileName != nullptr ? fileName : "");
  engine->showErrorMessage_(file.c_str());
}

void ReportChannelFailure(EngineInterface* engine, const char* text, const GUID& type) {
  if (engine == nullptr) return;
  engine->showUserInfoMessage_(kBackwardCompatible);
  engine->showUserErrorMessage_(kChannelNotInstalled);
  engine->showErrorMessage_(text);
  engine->showErrorMessage_(type);
}

// The type record a channel is created from: defaults, then whatever the record names.
ChannelType ReadType(vgroups::BlockReader& in) {
  ChannelType type;
  std::memset(type.name, 0, sizeof(type.name));
  type.baseGuid = VLT_NULL_GUID;
  GUID guid;
  if (in.Has("CHID") && in.ReadGuid(&guid)) type.typeGuid = guid;
  std::string name;
  if (in.Has("CHNM") && in.ReadText(&name)) name.copy(type.name, sizeof(type.name) - 1);
  int32_t version = 0;
  if (in.Has("CHVE") && in.ReadInt(&version)) type.version[2] = version;
  if (in.Has("CHBG") && in.ReadGuid(&guid)) type.baseGuid = guid;
  return type;
}

}  // namespace

bool GroupFileReader::Read(Vlt_ChannelGroup* group, VltFileLoader* loader, bool useInstanceName) {
  if (group == nullptr || loader == nullptr) return false;
  EngineInterface* engine = group->engine_;
  group->readOnly_ = (loader->GetAttributes() & 1u) != 0;
  group->Release();

  if (loader->CheckHeader("__3_", false)) group->DeCrypt(loader);
  if (loader->CheckHeader("VLTF", false) && engine != nullptr && engine->GetExt() != nullptr)
    engine->GetExt()->TranslateFile(loader);
  if (loader->CheckHeader("__3_", false)) group->DeCrypt(loader);

  // Sized from the data as it is now, after every unwrapping.
  vgroups::BlockReader in(loader);
  int32_t value = 0;
  if (in.Has("LVRS") && in.ReadInt(&value) && static_cast<uint32_t>(value) > kFileVersion) {
    if (engine != nullptr)
      engine->showUserErrorMessage_(
          "The selected cgr file is newer then this engine version. It will not load");
    return false;
  }
  if (!in.Has("VLTG")) {
    if (engine != nullptr) {
      engine->showUserErrorMessage_(kNotAGroup);
      const std::string size =
          "Failed loading channel group, buffersize: " + std::to_string(loader->GetBufferSize());
      engine->showErrorMessage_(size.c_str());
    }
    return false;
  }
  GUID guid;
  if (in.Has("CGGG") && in.ReadGuid(&guid)) group->uniqueGroupGuid_ = guid;
  if (in.Has("ENVR")) in.ReadInt(&value);
  int32_t slots = 0;
  if (!in.Has("CHCO") || !in.ReadInt(&slots)) {
    if (engine != nullptr)
      engine->showErrorMessage_("Vlt_ChannelGroup::LoadChannelGroup: No itemcount");
    return false;
  }

  // A slot index can point past the stored slots (the gaps stay empty), but a file holds a
  // record of several bytes for every slot, so an index is always below the file's size: a
  // hostile index cannot make the slot list huge.
  const int32_t maxIndex = loader->GetBufferSize();
  GUID lastType = VLT_NULL_GUID;
  // Each record begins with a block, so the loop ends where the data does, whatever the count.
  for (int32_t i = 0; i < slots; ++i) {
    int32_t index = 0;
    if (!in.SkipTo("CHIX") || !in.ReadInt(&index) || index < -1 || index >= maxIndex ||
        (index >= 0 && group->GetChannel(index) != nullptr)) {
      ReportMissingIndex(engine, lastType, group->GetChannelGroupFileName());
      return false;
    }
    if (index == -1) {
      group->SetChannel(nullptr, i);
      continue;
    }
    const ChannelType type = ReadType(in);
    lastType = type.typeGuid;
    Vlt_Channel* channel =
        engine != nullptr ? engine->InitChannelFromType(type, nullptr, false) : nullptr;
    if (channel == nullptr) {
      ReportChannelFailure(engine, "Vlt_ChannelGroup::LoadChannelGroup: Couldn't find channel DLL!",
                           type.typeGuid);
      return false;
    }
    group->SetChannel(channel, index);
    channelInternal->SetChannelIDIndexNr(channel, index);
    channelInternal->SetChannelGroup(channel, group);
    const bool engineBlockOnly = in.Has("CHES");
    const bool loaded = engineBlockOnly ? channel->Vlt_Channel::LoadChannel(loader, group)
                                        : channel->LoadChannel(loader, group);
    if (!loaded) {
      ReportChannelFailure(engine, "Vlt_ChannelGroup::LoadChannelGroup: Couldn't load channel",
                           type.typeGuid);
      return false;
    }
  }

  ResolveRequests(group);

  // The trailer is optional block by block; a damaged one ends it without failing the load.
  if (in.Has("CHSC") && in.ReadInt(&value)) group->startChannel_ = value;
  int32_t parameters = 0;
  if (in.Has("CGIC") && !in.ReadInt(&parameters)) parameters = 0;
  std::vector<uint8_t> records;
  if (in.Has("CGII") && in.ReadData(&records)) {
    const size_t stored = records.size() / vgroups::kParameterInterfaceInfoBytes;
    for (int32_t k = 0; k < parameters && static_cast<size_t>(k) < stored; ++k) {
      ParameterInterfaceInfo info;
      vgroups::GetParameterInterfaceInfo(
          records.data() + static_cast<size_t>(k) * vgroups::kParameterInterfaceInfoBytes, &info);
      group->SetParameterInfo(info, k);
    }
  }
  std::string instance;
  if (in.Has("CINA") && in.ReadText(&instance) && useInstanceName) {
    group->SetPoolName(instance.c_str());
    group->SetPoolNr(engine != nullptr ? engine->GetHighInstance(instance.c_str()) + 1 : 0);
  }
  if (in.Has("CGGG") && in.ReadGuid(&guid)) group->uniqueGroupGuid_ = guid;
  in.Has("CBTD");

  for (int i = 0; i < group->requests_.GetItemCount(); ++i)
    delete static_cast<ChannelRequestInfo*>(group->requests_.GetItem(i));
  group->requests_.ReleaseItems();
  return true;
}

void GroupFileReader::ResolveRequests(Vlt_ChannelGroup* group) {
  // The same links, in the same order, as CheckRequestListForIndex for every loaded slot in
  // turn, without rescanning the whole request list for each slot. Each request is a record of
  // its own somewhere in the heap: it is read once, in list order, into one array, and the
  // resolved ones are deleted at the end in that order too, so that a large group is not walked
  // in target order through scattered records.
  struct Request {
    ChannelRequestInfo info;
    int next;  // the next request for the same target, or -1
  };
  Vlt_List& requests = group->requests_;
  const int slots = group->channels_.GetItemCount();
  const int count = requests.GetItemCount();
  std::vector<int> first(static_cast<size_t>(slots), -1);
  std::vector<int> last(static_cast<size_t>(slots), -1);
  std::vector<Request> copies(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    const ChannelRequestInfo* request = static_cast<ChannelRequestInfo*>(requests.GetItem(k));
    if (request == nullptr || request->targetIndex < 0 || request->targetIndex >= slots) continue;
    copies[static_cast<size_t>(k)] = Request{*request, -1};
    const size_t target = static_cast<size_t>(request->targetIndex);
    if (last[target] == -1)
      first[target] = k;
    else
      copies[static_cast<size_t>(last[target])].next = k;
    last[target] = k;
  }
  std::vector<ChannelRequestInfo*> resolved(static_cast<size_t>(count), nullptr);
  bool resolvedAny = false;
  for (int i = 0; i < slots; ++i) {
    Vlt_Channel* target = group->GetChannel(i);
    if (target == nullptr) continue;
    for (int k = first[static_cast<size_t>(i)]; k != -1; k = copies[static_cast<size_t>(k)].next) {
      const ChannelRequestInfo& request = copies[static_cast<size_t>(k)].info;
      if (channelInternal->CheckChannelRequest(request.requester, request.targetIndex,
                                               request.targetPosition, target,
                                               request.linkPosition)) {
        resolved[static_cast<size_t>(k)] = static_cast<ChannelRequestInfo*>(requests.GetItem(k));
        requests.SetItem(nullptr, k);
        resolvedAny = true;
      }
    }
  }
  if (!resolvedAny) return;
  for (ChannelRequestInfo* request : resolved) delete request;
  // Keep the waiting ones, in order, without the holes.
  int kept = 0;
  for (int k = 0; k < requests.GetItemCount(); ++k) {
    void* request = requests.GetItem(k);
    if (request != nullptr) requests.SetItem(request, kept++);
  }
  while (requests.GetItemCount() > kept) requests.RemoveItem(requests.GetItemCount() - 1);
}
