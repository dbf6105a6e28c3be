#include "ChannelList.h"

#include <cstring>

#include "DllInterface.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "HostText.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "platform/Platform.h"

namespace {

// The file saver channel that writes the registry cache.
const GUID kFileSaverType = {
    0xF2B8073D, 0x94C1, 0x4A5E, {0x8D, 0x26, 0xC5, 0xE3, 0xA9, 0x1B, 0x7F, 0x08}};

constexpr size_t kPathChars = 258;

// install folder + separator + each part in turn, within 258 characters.
void InstallPath(char (&out)[260], const char* installDir, const char* first,
                 const char* second = nullptr) {
  out[0] = '\0';
  hosttext::AppendText(out, installDir, kPathChars);
  hosttext::AppendChar(out, vplat::pathSeparator(), kPathChars);
  hosttext::AppendText(out, first, kPathChars);
  if (second != nullptr) {
    hosttext::AppendChar(out, vplat::pathSeparator(), kPathChars);
    hosttext::AppendText(out, second, kPathChars);
  }
}

bool VersionsEqual(const ChannelType& a, const ChannelType& b) {
  return a.version[0] == b.version[0] && a.version[1] == b.version[1] &&
         a.version[2] == b.version[2];
}

}  // namespace

ChannelListItem::ChannelListItem() : failed(false), dllInstance(nullptr) {
  // The record's constructor leaves the name and base GUID alone; a heap item must not carry
  // stray bytes into the cache file.
  std::memset(type.name, 0, sizeof(type.name));
  type.baseGuid = VLT_NULL_GUID;
  std::memset(fileName, 0, sizeof(fileName));
}

ChannelList::ChannelList(EngineInterface* engineInterface) : engineInterface_(engineInterface) {
  channelDir_[0] = '\0';
}

ChannelList::~ChannelList() {
  SaveChannelList();
  Release();
}

const char* ChannelList::InstallDir() const {
  const char* dir = engineInterface_ != nullptr ? engineInterface_->GetInstallDir() : nullptr;
  return dir != nullptr ? dir : "";
}

bool ChannelList::CreateChannelList() {
  LoadChannelList();
  char folder[260] = "";
  hosttext::CopyText(folder, InstallDir(), 259);
  hosttext::AppendChar(folder, vplat::pathSeparator(), kPathChars);
  hosttext::AppendText(folder, "channels", kPathChars);
  hosttext::CopyText(channelDir_, folder, kPathChars);
  AddDirectory(channelDir_, -1);
  return true;
}

bool ChannelList::LoadChannelList() {
  EngineInterfaceExt* ext = engineInterface_ != nullptr ? engineInterface_->GetExt() : nullptr;
  if (ext == nullptr) return false;
  char cachePath[260];
  InstallPath(cachePath, InstallDir(), "channels.lst");
  // The registry cannot find the loader yet, so it is created straight from its library.
  char loaderPath[260];
  InstallPath(loaderPath, InstallDir(), "channels", "fileloader.dll");
  DllInterface* loader = ext->GetDLLInstance(loaderPath);
  if (loader == nullptr) return false;
  // Reading the cached "CHEV", "C1CC", "CHTY" and "C1FN" blocks needs the file loader channel's
  // class, which comes with the file plug-ins; until then nothing cached is loaded.
  delete loader;
  return true;
}

void ChannelList::AddDirectory(char* folder, int) {
  EngineInterfaceExt* ext = engineInterface_ != nullptr ? engineInterface_->GetExt() : nullptr;
  if (ext == nullptr || folder == nullptr) return;
  char listerPath[260];
  InstallPath(listerPath, InstallDir(), "channels", "Directory.dll");
  DllInterface* lister = ext->GetDLLInstance(listerPath);
  if (lister == nullptr) return;
  // Listing the folder and probing each library needs the directory lister channel's class,
  // which comes with the file plug-ins; until then no library is added by the scan.
  delete lister;
}

bool ChannelList::SaveChannelList() {
  if (engineInterface_ == nullptr) return false;
  Vlt_Channel* saver = engineInterface_->InitChannelFromType(kFileSaverType, nullptr, false);
  if (saver == nullptr) return false;
  // Writing the blocks needs the file saver channel's class, which comes with the file
  // plug-ins; until then the cache is not written.
  delete saver;
  return false;
}

void ChannelList::SortChannelList() {}

void ChannelList::Release() {
  for (int i = 0; i < items_.GetItemCount(); ++i)
    delete static_cast<ChannelListItem*>(items_.GetItem(i));
  items_.ReleaseItems();
}

int ChannelList::AddItem(ChannelListItem* item) { return items_.AddItemOrNULL(item); }

ChannelListItem* ChannelList::GetItem(GUID type) {
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    if (item != nullptr && VltGuidEqual(item->type.typeGuid, type)) return item;
  }
  return nullptr;
}

ChannelListItem* ChannelList::GetItem(int index) {
  return static_cast<ChannelListItem*>(items_.GetItem(index));
}

int ChannelList::GetItemCount() { return items_.GetItemCount(); }

ChannelType ChannelList::GetChannelType(GUID type) {
  if (ChannelListItem* item = GetItem(type)) return item->type;
  ChannelType unknown;
  std::memset(unknown.name, 0, sizeof(unknown.name));
  hosttext::CopyText(unknown.name, "Unknown type", sizeof(unknown.name) - 1);
  unknown.baseGuid = VLT_NULL_GUID;
  return unknown;
}

void ChannelList::SetChannelDir(char* folder) {
  hosttext::CopyText(channelDir_, folder, kPathChars);
}

void ChannelList::CheckChannelUpdate(Vlt_Channel* channel) {
  if (channel == nullptr) return;
  ChannelType record = channel->GetChannelType();
  if (VltGuidIsNull(record.typeGuid)) return;
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    if (item == nullptr || !VltGuidEqual(item->type.typeGuid, record.typeGuid) ||
        !VltGuidEqual(item->type.baseGuid, record.baseGuid) || VersionsEqual(item->type, record))
      continue;
    // A library replaced by a newer build under the same name: keep its current record.
    item->type = Engine::GetDLLType(channel->dllInstance);
  }
}

void ChannelList::SetVersionInfo(GUID type, int versionInfo[3]) {
  if (versionInfo == nullptr) return;
  if (ChannelListItem* item = GetItem(type)) {
    for (int i = 0; i < 3; ++i) item->type.version[i] = versionInfo[i];
  }
}
