// A channel group in memory: stable channel slots, link requests during a load, parameters,
// public channels, identity and the per-group share of the tree-calculate count.
#include "Vlt_ChannelGroup.h"

#include <cstring>
#include <string>

#include "ChannelInternal.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "SmartChannel.h"
#include "VltFileLoader.h"
#include "VltFileSaver.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "graph/GraphText.h"
#include "groups/GroupFileReader.h"
#include "groups/GroupFileWriter.h"
#include "groups/GroupProtection.h"
#include "platform/Platform.h"

namespace {

constexpr int kMaxTreeCount = 30000;
constexpr size_t kPublicNameChars = 79;

bool IsPublic(const Vlt_Channel* channel) {
  return channel != nullptr && (channel->GetChannelInterfaceType() == VCO_PUBLIC ||
                                channel->GetChannelInterfaceType() == VCO_PUBLICINDIRECT);
}

GUID NewGroupGuid() {
  unsigned char b[16];
  vplat::newGuid(b);
  GUID g;
  g.Data1 = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
            static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  g.Data2 = static_cast<uint16_t>(b[4] | b[5] << 8);
  g.Data3 = static_cast<uint16_t>(b[6] | b[7] << 8);
  for (int i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
  return g;
}

const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

Vlt_ChannelGroup::Vlt_ChannelGroup() { Construct(globalEngine); }

Vlt_ChannelGroup::Vlt_ChannelGroup(EngineInterface* engine) {
  Construct(engine != nullptr ? engine : globalEngine);
}

void Vlt_ChannelGroup::Construct(EngineInterface* engine) {
  readOnly_ = false;
  reserved_ = 0;
  groupIndex_ = -1;
  startChannel_ = 0;
  poolNr_ = -1;
  parameterChannel_ = new SmartChannel(engine);
  localTreeCount_ = -1;
  uniqueGroupGuid_ = NewGroupGuid();
  arrayGroup_ = false;
  releasing_ = false;
  engine_ = engine;
  parentWindow_ = nullptr;
  changeSaveIndex_ = -1;
  changeSaveType_ = VLT_NULL_GUID;
  groupIsProtected_ = false;
}

Vlt_ChannelGroup::~Vlt_ChannelGroup() {
  // Every channel goes, so there is no point in having each clear its links to the others.
  releasing_ = true;
  Release();
  delete parameterChannel_;
  parameterChannel_ = nullptr;
  channels_.ReleaseItems();
}

void Vlt_ChannelGroup::Release() {
  for (int i = 0; i < channels_.GetItemCount(); ++i) RemoveChannel(i);
  parameterChannel_->SetChannel(nullptr);
  startChannel_ = 0;
  for (int i = 0; i < requests_.GetItemCount(); ++i)
    delete static_cast<ChannelRequestInfo*>(requests_.GetItem(i));
  requests_.ReleaseItems();
  for (int i = 0; i < parameterInfos_.GetItemCount(); ++i)
    delete static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(i));
  parameterInfos_.ReleaseItems();
}

bool Vlt_ChannelGroup::SaveChannelGroup(VltFileSaver* saver) {
  return GroupFileWriter::Write(this, saver);
}

bool Vlt_ChannelGroup::SaveChannelGroup(const char* fileName) {
  if (fileName == nullptr || engine_ == nullptr) return false;
  // The name may be this group's own file name, which is replaced below.
  const std::string name = fileName;
  VltFileSaver saver(engine_);
  if (readOnly_) {
    const std::string warning =
        "This channel group was loaded as a read-only file. The program will try to save it, "
        "but this might fail: " +
        name;
    engine_->showUserWarningMessage_(warning.c_str());
  }
  if (!saver.OpenSaveFile(name.c_str(), false)) {
    const std::string error = "Couldn't create channel group file: " + name;
    engine_->showErrorMessage_(error.c_str());
    return false;
  }
  SetChannelGroupFileName(name.c_str());
  bool written = SaveChannelGroup(&saver);
  // A file that could not be completed is no saved group, whatever was written before.
  if (!saver.CloseSaveFile()) written = false;
  if (written && groupIsProtected_) written = EnCrypt(name.c_str());
  return written;
}

bool Vlt_ChannelGroup::LoadChannelGroupFromFile(const char* fileName, bool useInstanceName) {
  if (fileName == nullptr) return false;
  const std::string name = fileName;
  VltFileLoader loader(engine_);
  if (!loader.LoadFile(name.c_str())) {
    if (engine_ != nullptr) {
      const std::string error = "The following channel group file could not be loaded: " + name;
      engine_->showUserErrorMessage_(error.c_str());
    }
    return false;
  }
  SetChannelGroupFileName(name.c_str());
  return LoadChannelGroup(&loader, useInstanceName);
}

bool Vlt_ChannelGroup::LoadChannelGroupFromBuffer(const char* name, int size, void* buffer,
                                                  bool useInstanceName) {
  if (name == nullptr) return false;
  VltFileLoader loader(engine_);
  // The caller keeps the bytes alive while the group loads.
  loader.SetBuffer(buffer, buffer != nullptr && size > 0 ? static_cast<uint32_t>(size) : 0, false);
  SetChannelGroupFileName(name);
  return LoadChannelGroup(&loader, useInstanceName);
}

bool Vlt_ChannelGroup::LoadChannelGroup(VltFileLoader* loader, bool useInstanceName) {
  return GroupFileReader::Read(this, loader, useInstanceName);
}

int Vlt_ChannelGroup::GetGroupIndex() { return groupIndex_; }

void Vlt_ChannelGroup::SetGroupIndex(int index) { groupIndex_ = index; }

void Vlt_ChannelGroup::AddChannelRequest(ChannelRequestInfo info) {
  requests_.AddItem(new ChannelRequestInfo(info));
}

void Vlt_ChannelGroup::CheckPublicChannels() {
  EngineInterfaceExt* ext = engine_ != nullptr ? engine_->GetExt() : nullptr;
  if (ext == nullptr) return;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* channel = GetChannel(i);
    if (IsPublic(channel)) ext->CheckChannelRequest(this, poolNr_, channel);
  }
}

void Vlt_ChannelGroup::CheckRequestListForIndex(int index) {
  int k = 0;
  while (k < requests_.GetItemCount()) {
    ChannelRequestInfo* request = static_cast<ChannelRequestInfo*>(requests_.GetItem(k));
    if (request == nullptr) {
      if (engine_ != nullptr) engine_->showErrorMessage_("BUG: error in channel request list");
      ++k;
      continue;
    }
    if (request->targetIndex == index &&
        channelInternal->CheckChannelRequest(request->requester, request->targetIndex,
                                             request->targetPosition, GetChannel(index),
                                             request->linkPosition)) {
      requests_.RemoveItem(k);
      delete request;
      k = 0;
      continue;
    }
    ++k;
  }
}

int Vlt_ChannelGroup::AddChannel(Vlt_Channel* channel) {
  if (channel == nullptr) return -1;
  for (int i = 0; i < channels_.GetItemCount(); ++i)
    if (channels_.GetItem(i) == channel) return i;
  const int index = channels_.AddItemOrNULL(channel);
  channelInternal->SetChannelIDIndexNr(channel, index);
  channelInternal->SetChannelGroup(channel, this);
  return index;
}

bool Vlt_ChannelGroup::RemoveChannel(Vlt_Channel* channel) {
  if (channel == nullptr) return false;
  for (int i = 0; i < channels_.GetItemCount(); ++i)
    if (channels_.GetItem(i) == channel) return RemoveChannel(i);
  return false;
}

bool Vlt_ChannelGroup::RemoveChannel(int index) {
  Vlt_Channel* channel = GetChannel(index);
  if (channel == nullptr) return false;
  EngineInterfaceExt* ext = engine_ != nullptr ? engine_->GetExt() : nullptr;
  if (ext != nullptr) {
    if (IsPublic(channel))
      ext->CheckPublicChannelRemoval(channel, poolNr_);
    else if (channel->GetChannelInterfaceType() == VCO_PUBLICCALL)
      ext->CheckPublicCallChannelRemoval(channel);
  }
  if (!releasing_) {
    for (int i = 0; i < channels_.GetItemCount(); ++i) {
      Vlt_Channel* other = GetChannel(i);
      if (other != nullptr) other->CheckIndexNrRemoval(index);
    }
  }
  // A request of the removed channel would otherwise hand a dead requester to the bookkeeping.
  for (int k = requests_.GetItemCount() - 1; k >= 0; --k) {
    ChannelRequestInfo* request = static_cast<ChannelRequestInfo*>(requests_.GetItem(k));
    if (request != nullptr && request->requester == channel) {
      requests_.RemoveItem(k);
      delete request;
    }
  }
  channels_.SetItem(nullptr, index);
  delete channel;
  return true;
}

bool Vlt_ChannelGroup::TransferChannel(int index, Vlt_ChannelGroup* target) {
  Vlt_Channel* channel = GetChannel(index);
  if (channel == nullptr || target == nullptr) return false;
  target->AddChannel(channel);
  channels_.SetItem(nullptr, index);
  return true;
}

int Vlt_ChannelGroup::GetChannelCount() { return channels_.GetItemCount(); }

Vlt_Channel* Vlt_ChannelGroup::GetChannel(const char* name) {
  if (name == nullptr) return nullptr;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* channel = GetChannel(i);
    if (channel != nullptr && vgraph::NamesEqual(channel->GetChannelName(), name)) return channel;
  }
  return nullptr;
}

Vlt_Channel* Vlt_ChannelGroup::GetChannel(int index) {
  return static_cast<Vlt_Channel*>(channels_.GetItem(index));
}

void Vlt_ChannelGroup::SetChannel(Vlt_Channel* channel, int index) {
  channels_.SetItem(channel, index);
}

const char* Vlt_ChannelGroup::GetChannelGroupFileName() { return OrEmpty(fileName_.GetString()); }

bool Vlt_ChannelGroup::GetIfChannelInGroup(Vlt_Channel* channel) {
  if (channel == nullptr) return false;
  for (int i = 0; i < channels_.GetItemCount(); ++i)
    if (channels_.GetItem(i) == channel) return true;
  return false;
}

Vlt_Channel* Vlt_ChannelGroup::GetPublicChannel(PublicCallInfo* info) {
  if (info == nullptr || info->poolNr != poolNr_) return nullptr;
  if (!vgraph::NamesEqualN(info->poolName, OrEmpty(poolName_.GetString()), sizeof(info->poolName)))
    return nullptr;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* channel = GetChannel(i);
    if (IsPublic(channel) &&
        vgraph::NamesEqualN(channel->GetChannelName(), info->channelName, kPublicNameChars))
      return channel;
  }
  return nullptr;
}

void Vlt_ChannelGroup::CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr) {
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* other = GetChannel(i);
    if (other != nullptr) other->CheckPublicChannelInstanceRemoval(channel, poolNr);
  }
}

void Vlt_ChannelGroup::CallStartChannel() {
  IncreaseTreeCount();
  Vlt_Channel* start = GetChannel(startChannel_ == -1 ? 0 : startChannel_);
  if (start != nullptr) start->CallChannel();
}

void Vlt_ChannelGroup::SetStartChannel(int index) { startChannel_ = index; }

int Vlt_ChannelGroup::GetStartChannel() { return startChannel_; }

int Vlt_ChannelGroup::GetPoolNr() { return poolNr_; }

void Vlt_ChannelGroup::SetPoolNr(int poolNr) { poolNr_ = poolNr; }

const char* Vlt_ChannelGroup::GetPoolName() { return OrEmpty(poolName_.GetString()); }

void Vlt_ChannelGroup::SetPoolName(const char* name) {
  // The text may be this group's own name; copy it before the old storage is released.
  const std::string copy = OrEmpty(name);
  poolName_.SetString(name != nullptr ? copy.c_str() : nullptr);
}

Vlt_Channel* Vlt_ChannelGroup::GetParameterChannel(int n) {
  // The caller is a public-call channel itself, so it is taken as stored, not resolved.
  Vlt_Channel* caller = parameterChannel_->GetInternalChannel();
  if (caller == nullptr) return nullptr;
  return caller->GetChild(channelInternal->TranslateGroupInterfaceNr(caller, n));
}

void Vlt_ChannelGroup::SetParameterChannel(Vlt_Channel* channel) {
  parameterChannel_->SetChannel(channel);
}

int Vlt_ChannelGroup::GetParameterCount() { return parameterInfos_.GetItemCount(); }

ParameterInterfaceInfo Vlt_ChannelGroup::GetParameterInfo(int n) {
  ParameterInterfaceInfo copy;
  const ParameterInterfaceInfo* stored =
      static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(n));
  vgraph::CopyBounded(copy.name, sizeof(copy.name), stored != nullptr ? stored->name : "");
  copy.type = stored != nullptr ? stored->type : VLT_NULL_GUID;
  return copy;
}

void Vlt_ChannelGroup::SetParameterInfo(ParameterInterfaceInfo info, int n) {
  if (n < 0) return;
  ParameterInterfaceInfo* stored = static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(n));
  if (stored == nullptr) {
    stored = new ParameterInterfaceInfo();
    parameterInfos_.SetItem(stored, n);
  }
  // The incoming name need not be terminated within its 40 bytes.
  char name[sizeof(info.name) + 1];
  std::memcpy(name, info.name, sizeof(info.name));
  name[sizeof(info.name)] = '\0';
  vgraph::CopyBounded(stored->name, sizeof(stored->name), name);
  stored->type = info.type;
}

int Vlt_ChannelGroup::AddParameterInfo(ParameterInterfaceInfo info) {
  int slot = parameterInfos_.GetItemCount();
  for (int i = 0; i < parameterInfos_.GetItemCount(); ++i) {
    if (parameterInfos_.GetItem(i) == nullptr) {
      slot = i;
      break;
    }
  }
  SetParameterInfo(info, slot);
  return slot;
}

void Vlt_ChannelGroup::RemoveParameterInfo(int n) {
  if (n < 0 || n >= parameterInfos_.GetItemCount()) return;
  delete static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(n));
  if (n == parameterInfos_.GetItemCount() - 1)
    parameterInfos_.RemoveItem(n);
  else
    parameterInfos_.SetItem(nullptr, n);
  if (engine_ != nullptr && engine_->GetExt() != nullptr)
    engine_->GetExt()->CheckInterfaceChange(GetPoolName(), nullptr);
}

bool Vlt_ChannelGroup::CheckDuplicatePublicChannelName(Vlt_Channel* channel) {
  if (channel == nullptr || channel->GetChannelName() == nullptr) return false;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* other = GetChannel(i);
    if (other != channel && IsPublic(other) &&
        vgraph::NamesEqual(other->GetChannelName(), channel->GetChannelName()))
      return true;
  }
  return false;
}

void Vlt_ChannelGroup::CheckInterfaceChange(const char* poolName, Vlt_Channel* channel) {
  if (poolName == nullptr) return;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    Vlt_Channel* caller = GetChannel(i);
    if (caller == nullptr || caller->GetChannelInterfaceType() != VCO_PUBLICCALL) continue;
    const PublicCallInfo info = channelInternal->GetPublicCallInfo(caller);
    if (!vgraph::NamesEqual(info.poolName, poolName)) continue;
    if (channel != nullptr &&
        channelInternal->GetInternalPublicChannelForPublicCall(caller, false) != channel)
      continue;
    // Dropped now, rebuilt from the new interface when next used.
    caller->SetChildCreationCount(0);
    caller->RemoveChildren();
  }
}

GUID Vlt_ChannelGroup::GetUniqueGroupGuid() { return uniqueGroupGuid_; }

void Vlt_ChannelGroup::SetChannelGroupFileName(const char* fileName) {
  const std::string copy = OrEmpty(fileName);
  fileName_.SetString(fileName != nullptr ? copy.c_str() : nullptr);
}

bool Vlt_ChannelGroup::GetIfArrayGroup() { return arrayGroup_; }

void Vlt_ChannelGroup::SetIfArrayGroup(bool isArray) { arrayGroup_ = isArray; }

VltWindow Vlt_ChannelGroup::GetParentWindow() {
  if (parentWindow_ != nullptr) return parentWindow_;
  return engine_ != nullptr ? engine_->GetWindowHandle() : nullptr;
}

void Vlt_ChannelGroup::SetParentWindow(VltWindow window) { parentWindow_ = window; }

bool Vlt_ChannelGroup::GetReadOnly() { return readOnly_; }

void Vlt_ChannelGroup::SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

void Vlt_ChannelGroup::SetChannelTypeChangeSave(int index, GUID type) {
  changeSaveIndex_ = index;
  changeSaveType_ = type;
  if (engine_ != nullptr) engine_->showMessageBox_("SetChannelTypeChangeSave", index);
}

int Vlt_ChannelGroup::GetChannelTypeChangeSave(GUID* type) {
  if (type != nullptr) *type = changeSaveType_;
  return changeSaveIndex_;
}

void Vlt_ChannelGroup::SetGroupIsProtected(bool isProtected) { groupIsProtected_ = isProtected; }

bool Vlt_ChannelGroup::GetGroupIsProtected() { return groupIsProtected_; }

bool Vlt_ChannelGroup::EnCrypt(const char* fileName) {
  return GroupProtection::Protect(engine_, fileName);
}

bool Vlt_ChannelGroup::DeCrypt(VltFileLoader* loader) {
  if (!GroupProtection::Unprotect(loader)) return false;
  // Loaded protected, saved protected.
  groupIsProtected_ = true;
  return true;
}

int Vlt_ChannelGroup::GetTreeCalculateCount() {
  return (engine_ != nullptr ? engine_->GetTreeCalculateCount() : 0) + localTreeCount_;
}

void Vlt_ChannelGroup::IncreaseTreeCount() {
  localTreeCount_ = localTreeCount_ >= kMaxTreeCount ? 0 : localTreeCount_ + 1;
}
