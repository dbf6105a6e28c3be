#include "ChannelList.h"

#include <algorithm>
#include <cstring>

#include <string>
#include <unordered_set>
#include <vector>

#include "BaseChannelTypes.h"
#include "DllInterface.h"
#include "Engine.h"
#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "HostText.h"
#include "Vco_DirectoryChannel.h"
#include "Vco_FileLoaderChannel.h"
#include "Vco_FileSaverChannel.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kPathChars = 258;
constexpr int32_t kCacheVersion = 57;
constexpr uint32_t kTypeRecordSize = 132;
constexpr uint32_t kFileNameSize = 260;
// The host class name for which editor-only plug-ins (".DLE") are taken too.
constexpr const char* kEditorClassName = "Lumenar Editor";

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

// An instance from a base plug-in's library, when that library really is the expected type;
// a stray library under the name would otherwise be driven through the wrong slots.
template <typename Channel>
Channel* CreateBaseChannel(EngineInterfaceExt* ext, const char* path, const GUID& type) {
  DllInterface* instance = ext->GetDLLInstance(path);
  if (instance == nullptr) return nullptr;
  Vlt_Channel* channel = static_cast<Vlt_Channel*>(instance);
  if (!VltGuidEqual(channel->GetChannelType().typeGuid, type)) {
    delete channel;
    return nullptr;
  }
  return static_cast<Channel*>(channel);
}

// ---------------------------------------------------------------- cache bytes, little-endian

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutGuid(std::vector<uint8_t>& out, const GUID& g) {
  PutU32(out, g.Data1);
  for (uint16_t part : {g.Data2, g.Data3}) {
    out.push_back(static_cast<uint8_t>(part));
    out.push_back(static_cast<uint8_t>(part >> 8));
  }
  out.insert(out.end(), g.Data4, g.Data4 + 8);
}

uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

GUID GetGuid(const uint8_t* p) {
  GUID g;
  g.Data1 = GetU32(p);
  g.Data2 = static_cast<uint16_t>(p[4] | (p[5] << 8));
  g.Data3 = static_cast<uint16_t>(p[6] | (p[7] << 8));
  std::memcpy(g.Data4, p + 8, 8);
  return g;
}

// The 132-byte stored type record, field by field.
std::vector<uint8_t> StoreType(const ChannelType& type) {
  std::vector<uint8_t> out(type.name, type.name + sizeof(type.name));
  PutGuid(out, type.typeGuid);
  PutGuid(out, type.baseGuid);
  for (int32_t v : type.version) PutU32(out, static_cast<uint32_t>(v));
  for (int32_t v : type.reserved) PutU32(out, static_cast<uint32_t>(v));
  return out;
}

void ReadType(const uint8_t* p, ChannelType& type) {
  std::memcpy(type.name, p, sizeof(type.name));
  type.typeGuid = GetGuid(p + 80);
  type.baseGuid = GetGuid(p + 96);
  for (int i = 0; i < 3; ++i) type.version[i] = static_cast<int32_t>(GetU32(p + 112 + 4 * i));
  for (int i = 0; i < 2; ++i) type.reserved[i] = static_cast<int32_t>(GetU32(p + 124 + 4 * i));
}

// Reads the data of a block whose tag was just consumed, when its size is within [minSize,
// maxSize]; otherwise nothing is read and the answer is false. The size is checked first so
// that a damaged cache can never make the copy overrun the destination.
bool ReadBlockData(Vco_FileLoaderChannel* loader, uint8_t* destination, uint32_t minSize,
                   uint32_t maxSize) {
  const uint32_t size = loader->GetSizeDataBlock(false);
  if (size < minSize || size > maxSize) return false;
  return loader->CopyTagDataToPointer(destination);
}

bool ReadInt(Vco_FileLoaderChannel* loader, const char* tag, int32_t& value) {
  uint8_t bytes[4];
  if (!loader->GetInfoIfTag(tag) || !ReadBlockData(loader, bytes, 4, 4)) return false;
  value = static_cast<int32_t>(GetU32(bytes));
  return true;
}

// Whether the libraries a cache names are still in the channels folder. One listing of the
// folder answers for every name that it holds as written; any other name is looked up on its
// own, the way the system finds it (ignoring case, through links). Looking up every name alone
// cost a start with a complete cache more than everything else it does.
class ChannelFiles {
 public:
  explicit ChannelFiles(const char* installDir) : installDir_(installDir) {
    InstallPath(folder_, installDir, "channels");
  }

  bool StillThere(const char* fileName) {
    char path[260];
    InstallPath(path, installDir_, "channels", fileName);
    // The listing speaks only for a path that was not cut short.
    const bool whole = std::strlen(path) == std::strlen(folder_) + 1 + std::strlen(fileName);
    if (whole) {
      if (!listed_) listed_ = vplat::listFolder(folder_, names_) ? 1 : -1;
      if (listed_ == 1 && std::binary_search(names_.begin(), names_.end(), fileName)) return true;
    }
    uint32_t attributes = 0;
    return vplat::fileAttributes(path, attributes) &&
           (attributes & vplat::kAttributeDirectory) == 0;
  }

 private:
  const char* installDir_;
  char folder_[260];
  int listed_ = 0;                  // 0: not yet, 1: names_ holds the files, -1: unreadable
  std::vector<std::string> names_;  // sorted bytewise
};

// A cached file name is a bare name in the channels folder, as the folder scan reported it.
bool IsBareFileName(const char* name) {
  if (name[0] == '\0') return false;
  for (const char* c = name; *c != '\0'; ++c)
    if (*c == '/' || *c == '\\' || *c == ':') return false;
  return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

void SaveBlock(Vco_FileSaverChannel* saver, const char* tag, const void* data, uint32_t size) {
  saver->SaveTag(tag);
  saver->SaveBlockSize(size);
  saver->SaveDataToFile(data, size);
}

// A file name as the folder scan compares it with the listed names: the first letter as it is,
// the rest ignoring case.
std::string FileNameKey(const char* name) {
  std::string key = name;
  for (size_t i = 1; i < key.size(); ++i) key[i] = hosttext::AsciiLower(key[i]);
  return key;
}

void SaveInt(Vco_FileSaverChannel* saver, const char* tag, int32_t value) {
  std::vector<uint8_t> bytes;
  PutU32(bytes, static_cast<uint32_t>(value));
  SaveBlock(saver, tag, bytes.data(), 4);
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
  auto* loader = CreateBaseChannel<Vco_FileLoaderChannel>(ext, loaderPath, VLT_FILELOADER_GUID);
  if (loader == nullptr) return false;

  // Items are taken only once the whole cache has read well: a damaged cache is ignored as a
  // whole, like one of another version, and every library is probed again.
  std::vector<ChannelListItem*> cached;
  ChannelFiles files(InstallDir());
  bool intact = true;
  int32_t version = 0;
  int32_t count = 0;
  if (loader->LoadFile(cachePath) && ReadInt(loader, "CHEV", version) && version == kCacheVersion &&
      ReadInt(loader, "C1CC", count)) {
    for (int32_t i = 0; i < count && intact; ++i) {
      auto* item = new ChannelListItem();
      // All 132 bytes zero: a cached item without "CHTY" has no version either.
      const uint8_t zero[kTypeRecordSize] = {};
      ReadType(zero, item->type);
      bool any = false;
      if (loader->GetInfoIfTag("CHTY")) {
        uint8_t record[kTypeRecordSize];
        intact = ReadBlockData(loader, record, kTypeRecordSize, kTypeRecordSize);
        if (intact) ReadType(record, item->type);
        any = true;
      }
      if (intact && loader->GetInfoIfTag("C1FN")) {
        uint8_t name[kFileNameSize] = {};
        intact = ReadBlockData(loader, name, 0, kFileNameSize);
        if (intact) std::memcpy(item->fileName, name, kFileNameSize - 1);
        any = true;
      }
      item->fileName[sizeof(item->fileName) - 1] = '\0';
      // An item with neither block reads nothing, and so would every item after it.
      if (!any) {
        delete item;
        break;
      }
      // Only a file that is still there is kept. An empty name would name the channels folder
      // itself, which exists, so only files count.
      if (intact && IsBareFileName(item->fileName) && files.StillThere(item->fileName)) {
        cached.push_back(item);
      } else {
        delete item;
      }
    }
  }
  delete loader;
  for (ChannelListItem* item : cached) {
    if (intact) {
      AddItem(item);
    } else {
      delete item;
    }
  }
  return true;
}

void ChannelList::AddDirectory(char* folder, int) {
  EngineInterfaceExt* ext = engineInterface_ != nullptr ? engineInterface_->GetExt() : nullptr;
  if (ext == nullptr || folder == nullptr) return;
  char listerPath[260];
  InstallPath(listerPath, InstallDir(), "channels", "Directory.dll");
  auto* lister = CreateBaseChannel<Vco_DirectoryChannel>(ext, listerPath, VLT_DIRECTORY_GUID);
  if (lister == nullptr) return;
  const char* className = engineInterface_->GetEngineClassName();
  const bool editor = className != nullptr && std::strcmp(className, kEditorClassName) == 0;
  ScanFolder(lister, folder, "DLL", true);
  if (editor) {
    delete lister;
    lister = CreateBaseChannel<Vco_DirectoryChannel>(ext, listerPath, VLT_DIRECTORY_GUID);
    // A runtime host takes editor-only libraries even under names already listed.
    if (lister != nullptr) ScanFolder(lister, folder, "DLE", !runtimeHost);
  }
  delete lister;
}

void ChannelList::ScanFolder(Vco_DirectoryChannel* lister, const char* folder,
                             const char* extension, bool skipListed) {
  EngineInterfaceExt* ext = engineInterface_->GetExt();
  lister->SetAcceptedExtention(extension);
  char pattern[260] = "";
  hosttext::CopyText(pattern, folder, kPathChars);
  hosttext::AppendChar(pattern, vplat::pathSeparator(), kPathChars);
  hosttext::AppendText(pattern, "*.*", kPathChars);
  lister->ReadDir(pattern);
  // The names listed so far, by key: looking each file up in the list one by one made the scan
  // of a folder with a complete cache quadratic.
  std::unordered_set<std::string> listedNames;
  if (skipListed) {
    for (int i = 0; i < items_.GetItemCount(); ++i) {
      if (auto* item = static_cast<ChannelListItem*>(items_.GetItem(i)))
        listedNames.insert(FileNameKey(item->fileName));
    }
  }
  const int total = lister->GetTotalFiles();
  for (int i = 0; i < total; ++i) {
    const char* listed = lister->GetFileName(i);
    if (listed == nullptr) continue;
    char fileName[260] = "";
    hosttext::CopyText(fileName, listed, kPathChars);
    if (skipListed && listedNames.count(FileNameKey(fileName)) != 0) continue;
    const ChannelType type = ext->GetDLLType(fileName);
    if (VltGuidIsNull(type.typeGuid)) {
      engineInterface_->showErrorMessage_("Error loading file", fileName);
      continue;
    }
    auto* item = new ChannelListItem();
    item->type = type;
    hosttext::CopyText(item->fileName, fileName, sizeof(item->fileName) - 1);
    AddItem(item);
    if (skipListed) listedNames.insert(FileNameKey(item->fileName));
  }
}

bool ChannelList::SaveChannelList() {
  if (engineInterface_ == nullptr) return false;
  Vlt_Channel* channel = engineInterface_->InitChannelFromType(VLT_FILESAVER_GUID, nullptr, false);
  if (channel == nullptr) return false;
  auto* saver = static_cast<Vco_FileSaverChannel*>(channel);
  char cachePath[260];
  InstallPath(cachePath, InstallDir(), "channels.lst");
  saver->OpenSaveFile(cachePath, false);
  std::vector<ChannelListItem*> items;
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    if (auto* item = static_cast<ChannelListItem*>(items_.GetItem(i))) items.push_back(item);
  }
  SaveInt(saver, "CHEV", kCacheVersion);
  SaveInt(saver, "C1CC", static_cast<int32_t>(items.size()));
  for (ChannelListItem* item : items) {
    const std::vector<uint8_t> record = StoreType(item->type);
    SaveBlock(saver, "CHTY", record.data(), kTypeRecordSize);
    // Zeros after the terminator, so that equal registries give equal files.
    uint8_t name[kFileNameSize] = {};
    hosttext::CopyText(reinterpret_cast<char*>(name), item->fileName, kFileNameSize - 1);
    SaveBlock(saver, "C1FN", name, kFileNameSize);
  }
  saver->CloseSaveFile();
  delete saver;
  return true;
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
