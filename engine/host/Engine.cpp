#include "Engine.h"

#include <cstring>
#include <new>
#include <string>

#include "BaseChannelTypes.h"
#include "ChannelInternal.h"
#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "HostText.h"
#include "PublicCallInfo.h"
#include "Vco_BackgroundLoaderChannel.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_Tread.h"
#include "foundation/OutsideSlotCall.h"
#include "platform/Platform.h"

using hosttext::CopyText;

vplat::Lock* Engine::engineLock_ = nullptr;
int Engine::livingEngines_ = 0;

namespace {

constexpr int kMaxTreeCount = 30000;
constexpr int kReleasedEvent = -3;

// Reaches slot 17 of the outside background loader. The object comes from a plug-in that may
// declare the slots itself rather than derive from the SDK class, so the call is not vptr-checked.
OUTSIDE_SLOT_CALL void TellGroupRelease(Vlt_Channel* channel) {
  static_cast<Vco_BackgroundLoaderChannel*>(channel)->StopPendingLoads();
}

}  // namespace

Engine::Engine()
    : uniqueChannels_(nullptr),
      treeCalculateCount_(0),
      channelList_(nullptr),
      windowHandle_(nullptr),
      engineInstance_(nullptr),
      engineInterface_(nullptr),
      initialized_(false),
      eventDispatchDepth_(0),
      currentEvent_(-1),
      windowMessage_{0, 0, 0, nullptr},
      startGroup_(0) {
  engineClassName_[0] = '\0';
  installDir_[0] = '\0';
  regKey_[0] = '\0';
  if (livingEngines_++ == 0) engineLock_ = new vplat::Lock();
}

Engine::~Engine() {
  ReleaseUnreleased();
  groups_.ReleaseItems();
  channelRequests_.ReleaseItems();
  threads_.ReleaseItems();
  dllHandles_.ReleaseItems();
  eventChannels_.ReleaseItems();
  poolLinkRequests_.ReleaseItems();
  if (--livingEngines_ == 0) {
    delete engineLock_;
    engineLock_ = nullptr;
  }
}

const char* Engine::GetInstallDir() { return installDir_; }

void Engine::SetInstallDir(const char* folder) {
  if (folder != nullptr) CopyText(installDir_, folder, sizeof(installDir_) - 1);
}

void Engine::SetRegKey(const char* key) {
  if (key != nullptr) CopyText(regKey_, key, sizeof(regKey_) - 1);
}

void Engine::Attach(EngineInterface* engineInterface) {
  engineInterface_ = engineInterface;
  uniqueChannels_ = new Vlt_ChannelGroup(engineInterface);
  channelList_ = new ChannelList(engineInterface);
}

VltWindow Engine::GetWindowHandle() { return windowHandle_; }

void Engine::SetWindowHandle(VltWindow window) {
  if (window != nullptr) windowHandle_ = window;
}

// ---------------------------------------------------------------- groups

int Engine::GetChannelGroupCount() { return groups_.GetItemCount(); }

Vlt_ChannelGroup* Engine::GetChannelGroup(int index) {
  return static_cast<Vlt_ChannelGroup*>(groups_.GetItem(index));
}

Vlt_ChannelGroup* Engine::GetChannelGroup(const char* fileName, int poolNr) {
  if (fileName == nullptr) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group == nullptr || group->GetPoolNr() != poolNr) continue;
    if (hosttext::EqualsIgnoreCase(group->GetChannelGroupFileName(), fileName)) return group;
  }
  return nullptr;
}

Vlt_ChannelGroup* Engine::GetPoolGroup(const char* poolName, int poolNr) {
  if (poolName == nullptr) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group == nullptr || group->GetPoolNr() != poolNr) continue;
    if (hosttext::EqualsIgnoreCase(group->GetPoolName(), poolName)) return group;
  }
  return nullptr;
}

int Engine::GetHighInstance(const char* poolName) {
  if (poolName == nullptr) return 0;
  int highest = -1;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group == nullptr || !hosttext::PoolNameEquals(group->GetPoolName(), poolName)) continue;
    if (group->GetPoolNr() > highest) highest = group->GetPoolNr();
  }
  return highest;
}

void Engine::AddGroup(Vlt_ChannelGroup* group) {
  int index = groups_.AddItemOrNULL(group);
  group->SetGroupIndex(index);
}

Vlt_ChannelGroup* Engine::CreateNewGroup(const char* name, bool isArray, int poolNr) {
  if (name == nullptr || name[0] == '\0') return nullptr;

  int newPoolNr = 0;
  if (poolNr == -1 || poolNr == -2) {
    // The next pool number of the pool; -2 takes the index of the first empty group entry
    // instead, when there is one.
    int highest = -1;
    bool foundEmpty = false;
    for (int i = 0; i < groups_.GetItemCount(); ++i) {
      Vlt_ChannelGroup* group = GetChannelGroup(i);
      if (group == nullptr) {
        if (poolNr == -2) {
          newPoolNr = i;
          foundEmpty = true;
          break;
        }
        continue;
      }
      if (hosttext::PoolNameEquals(group->GetPoolName(), name) && group->GetPoolNr() > highest)
        highest = group->GetPoolNr();
    }
    if (!foundEmpty) newPoolNr = highest + 1;
  } else {
    Vlt_ChannelGroup* old = GetPoolGroup(name, poolNr);
    if (old != nullptr) DeleteChannelGroup(old->GetGroupIndex());
    newPoolNr = poolNr;
  }

  if (!isArray && newPoolNr > 0) {
    engineInterface_->showErrorMessage_(
        "Engine::CreateNewGroup non array group created with same name");
    return nullptr;
  }
  if (isArray && newPoolNr > 0) {
    Vlt_ChannelGroup* plain = GetChannelGroup(name, 0);
    if (plain != nullptr && !plain->GetIfArrayGroup()) {
      engineInterface_->showErrorMessage_(
          "Engine::CreateNewGroup wanted to create an array of a non array group!");
      return nullptr;
    }
  }

  Vlt_ChannelGroup* group = new Vlt_ChannelGroup(engineInterface_);
  group->SetPoolNr(newPoolNr);
  group->SetPoolName(name);
  group->SetIfArrayGroup(isArray);
  AddGroup(group);
  return group;
}

Vlt_ChannelGroup* Engine::LoadChannelGroup(const char* fileName, const char* poolName) {
  return LoadGroup(fileName, 0, nullptr, false, poolName);
}

Vlt_ChannelGroup* Engine::LoadChannelGroupFromBuffer(const char* fileName, int size, void* buffer,
                                                     const char* poolName) {
  return LoadGroup(fileName, size, buffer, true, poolName);
}

Vlt_ChannelGroup* Engine::LoadGroup(const char* fileName, int size, void* buffer, bool fromBuffer,
                                    const char* poolName) {
  if (!initialized_) return nullptr;

  if (poolName != nullptr) {
    // Loading never adds to an existing pool; arrays grow through CreateNewGroup only.
    int next = 0;
    for (int i = 0; i < groups_.GetItemCount(); ++i) {
      Vlt_ChannelGroup* group = GetChannelGroup(i);
      if (group == nullptr || !hosttext::PoolNameEquals(group->GetPoolName(), poolName)) continue;
      if (group->GetPoolNr() == -1) return nullptr;
      if (group->GetPoolNr() >= next) {
        if (!group->GetIfArrayGroup()) {
          engineInterface_->showErrorMessage_(
              "Engine::LoadChannelGroup wanted to load a channel group in a non array pool");
          return nullptr;
        }
        next = group->GetPoolNr() + 1;
      }
    }
    if (next > 0) {
      engineInterface_->showUserErrorMessage_(
          "Channel group name already exists can't create group called:", poolName);
      engineInterface_->showErrorMessage_(
          "Arrays can only be made trough CreateGroup (Array_LoadGroup)");
      return nullptr;
    }
  }

  Vlt_ChannelGroup* group = new Vlt_ChannelGroup(engineInterface_);
  AddGroup(group);
  if (poolName != nullptr) group->SetPoolName(poolName);

  const bool useInstanceName = poolName == nullptr;
  const bool loaded =
      fromBuffer ? group->LoadChannelGroupFromBuffer(fileName, size, buffer, useInstanceName)
                 : group->LoadChannelGroupFromFile(fileName, useInstanceName);
  if (!loaded) {
    DeleteChannelGroup(group->GetGroupIndex());
    engineInterface_->showErrorMessage_("Engine::LoadChannelGroup: Error loading channel group");
    return nullptr;
  }

  if (poolName != nullptr) {
    group->SetPoolName(poolName);
    group->SetPoolNr(0);
  } else if (group->GetPoolNr() != 0) {
    // The report names the pool, so take a copy before the group goes.
    std::string loadedPool = group->GetPoolName() != nullptr ? group->GetPoolName() : "";
    engineInterface_->showUserErrorMessage_(
        "Channel group name already exists can't create group called:", loadedPool.c_str());
    DeleteChannelGroup(group->GetGroupIndex());
    engineInterface_->showErrorMessage_(
        "Arrays can only be made trough CreateGroup (Array_LoadGroup)");
    return nullptr;
  }

  group->CheckPublicChannels();
  return group;
}

void Engine::DeleteChannelGroup(int index) {
  Vlt_ChannelGroup* group = GetChannelGroup(index);
  if (group == nullptr) return;
  // Empty the entry first, so that lookups made while the group's channels go see it gone.
  groups_.SetItem(nullptr, index);
  delete group;
  if (startGroup_ == index) startGroup_ = -1;
}

void Engine::SetStartGroup(int index) { startGroup_ = index; }

int Engine::GetStartGroup() { return startGroup_; }

void Engine::UpdateChannelTree() {
  Vlt_ChannelGroup* group = GetChannelGroup(startGroup_);
  if (group != nullptr) group->CallStartChannel();
}

void Engine::NotifyGroupRelease() {
  Vlt_Channel* channel = GetUniqueChannel(VLT_BACKGROUNDLOADER_GUID, nullptr);
  if (channel != nullptr) TellGroupRelease(channel);
}

void Engine::ReleaseGroups() {
  NotifyGroupRelease();
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i)
    delete static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
  channelRequests_.ClearItems();
  for (int i = 0; i < groups_.GetItemCount(); ++i) DeleteChannelGroup(i);
  groups_.ReleaseItems();
}

// ---------------------------------------------------------------- public channels

Vlt_Channel* Engine::GetPublicChannel(PublicCallInfo* info) {
  if (info == nullptr) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group == nullptr || group->GetPoolNr() != info->poolNr) continue;
    Vlt_Channel* channel = group->GetPublicChannel(info);
    if (channel != nullptr) return channel;
  }
  return nullptr;
}

bool Engine::AddChannelRequest(int index, Vlt_Channel* channel) {
  channelRequests_.AddItemOrNULL(new PublicChannelRequest{channel, index});
  return true;
}

void Engine::CheckChannelRequest(Vlt_ChannelGroup* group, int index, Vlt_Channel* channel) {
  if (group == nullptr || channel == nullptr) return;
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i) {
    auto* request = static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
    if (request == nullptr || request->index != index) continue;
    if (channelInternal->CheckPublicChannelRequest(request->channel, channel, index,
                                                   group->GetPoolName())) {
      channelRequests_.SetItem(nullptr, i);
      delete request;
    }
  }
}

void Engine::CheckPublicCallChannelRemoval(Vlt_Channel* channel) {
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i) {
    auto* request = static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
    if (request != nullptr && request->channel == channel) {
      channelRequests_.SetItem(nullptr, i);
      delete request;
    }
  }
}

void Engine::CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr) {
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group != nullptr) group->CheckPublicChannelRemoval(channel, poolNr);
  }
}

void Engine::CheckInterfaceChange(const char* poolName, Vlt_Channel* channel) {
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Vlt_ChannelGroup* group = GetChannelGroup(i);
    if (group != nullptr) group->CheckInterfaceChange(poolName, channel);
  }
}

// ---------------------------------------------------------------- registry settings

bool Engine::SetRegData(const char* name, const char* value) {
  if (value == nullptr) return false;
  return vplat::regSetString(vplat::RegRoot::LocalMachine, regKey_, name, value);
}

bool Engine::GetRegData(const char* name, char* buffer, int size) {
  // Values are read into an area of this size; a longer value cannot be read.
  constexpr size_t kReadArea = 1200;
  if (buffer == nullptr || size <= 0) return false;
  std::string value;
  if (vplat::regGetString(vplat::RegRoot::LocalMachine, regKey_, name, value) !=
      vplat::RegResult::Ok)
    return false;
  if (value.size() >= kReadArea) return false;
  if (value.size() > static_cast<size_t>(size)) return false;
  // A value of exactly size characters is cut by one, so the buffer always ends in a terminator.
  CopyText(buffer, value.c_str(), static_cast<size_t>(size) - 1);
  return true;
}

// ---------------------------------------------------------------- threads

Vlt_Tread* Engine::GetNewTread() {
  Vlt_Tread* thread = new (std::nothrow) Vlt_Tread(engineInterface_);
  if (thread == nullptr) return nullptr;
  thread->SetClassID(threads_.AddItemOrNULL(thread));
  return thread;
}

// A running thread is only asked to close; once its work has finished, the close hands the
// handle back here and it is deleted. Handles that are not the engine's are left alone.
void Engine::KillTread(Vlt_Tread* thread) {
  if (thread == nullptr) return;
  if (thread->GetIfTreadRunning()) {
    thread->CloseTread();
    return;
  }
  bool owned = false;
  for (int i = 0; i < threads_.GetItemCount(); ++i) {
    if (threads_.GetItem(i) == thread) {
      threads_.SetItem(nullptr, i);
      owned = true;
    }
  }
  if (owned) delete thread;
}

Vlt_Tread* Engine::GetTreadFromID(int id) { return static_cast<Vlt_Tread*>(threads_.GetItem(id)); }

// ---------------------------------------------------------------- events

int Engine::GetCurrentEvent() { return currentEvent_; }

void Engine::DoEvent(int event, uintptr_t parameter) {
  if (currentEvent_ == kReleasedEvent) return;
  currentEvent_ = event;
  ++eventDispatchDepth_;
  // The count is re-read each step: a subscription made during the dispatch is reached too.
  for (int i = 0; i < eventChannels_.GetItemCount(); ++i) {
    auto* entry = static_cast<EventChannel*>(eventChannels_.GetItem(i));
    if (entry != nullptr && entry->event == event && entry->channel != nullptr)
      entry->channel->DoEvent(event, parameter);
  }
  if (--eventDispatchDepth_ == 0) DropRemovedEventChannels();
}

void Engine::AddChannelToEvent(Vlt_Channel* channel, int event) {
  if (channel == nullptr || event < 0) return;
  eventChannels_.AddItem(new EventChannel{channel, event});
}

void Engine::RemoveChannelFromEvent(Vlt_Channel* channel, int event) {
  if (channel == nullptr) return;
  for (int i = 0; i < eventChannels_.GetItemCount();) {
    auto* entry = static_cast<EventChannel*>(eventChannels_.GetItem(i));
    if (entry != nullptr && entry->channel == channel && entry->event == event) {
      if (eventDispatchDepth_ > 0) {
        // Closing up the list now would shift the next subscriber under the dispatch loop and
        // it would miss this event: the entry is emptied and dropped once the dispatch ends.
        entry->channel = nullptr;
        ++i;
        continue;
      }
      eventChannels_.RemoveItem(i);
      delete entry;
      i = 0;
    } else {
      ++i;
    }
  }
}

void Engine::DropRemovedEventChannels() {
  for (int i = 0; i < eventChannels_.GetItemCount();) {
    auto* entry = static_cast<EventChannel*>(eventChannels_.GetItem(i));
    if (entry != nullptr && entry->channel == nullptr) {
      eventChannels_.RemoveItem(i);
      delete entry;
    } else {
      ++i;
    }
  }
}

void Engine::ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                  long lParam) {
  windowMessage_.message = message;
  windowMessage_.wParam = wParam;
  windowMessage_.lParam = static_cast<int32_t>(lParam);
  windowMessage_.window = window;
  DoEvent(1, reinterpret_cast<uintptr_t>(&windowMessage_));
}

// ---------------------------------------------------------------- the tick

void Engine::IncreaseTreeCount() {
  treeCalculateCount_ = treeCalculateCount_ < kMaxTreeCount ? treeCalculateCount_ + 1 : 0;
  if (uniqueChannels_ != nullptr) uniqueChannels_->IncreaseTreeCount();
  if (poolLinkRequests_.GetItemCount() > 0) {
    for (int i = 0; i < poolLinkRequests_.GetItemCount(); ++i) {
      auto* channel = static_cast<Vlt_Channel*>(poolLinkRequests_.GetItem(i));
      if (channel != nullptr && HoldsChannel(channel)) channel->LinkPoolToChannel();
    }
    poolLinkRequests_.ClearItems();
  }
  DoEvent(0, 0);
}

bool Engine::HoldsChannel(Vlt_Channel* channel) {
  for (int g = 0; g < groups_.GetItemCount(); ++g) {
    Vlt_ChannelGroup* group = GetChannelGroup(g);
    if (group == nullptr) continue;
    for (int i = 0; i < group->GetChannelCount(); ++i)
      if (group->GetChannel(i) == channel) return true;
  }
  if (uniqueChannels_ != nullptr)
    for (int i = 0; i < uniqueChannels_->GetChannelCount(); ++i)
      if (uniqueChannels_->GetChannel(i) == channel) return true;
  return false;
}

void Engine::DoLinkPoolToChannel(Vlt_Channel* channel) {
  for (int i = 0; i < poolLinkRequests_.GetItemCount(); ++i)
    if (poolLinkRequests_.GetItem(i) == channel) return;
  poolLinkRequests_.AddItem(channel);
}

// ---------------------------------------------------------------- unique channels

Vlt_Channel* Engine::GetUniqueChannel(const GUID& type, const char* name) {
  // Long names are keyed by their last 59 characters.
  constexpr size_t kKeyLength = 59;
  char key[kKeyLength + 1] = "";
  if (name != nullptr) {
    size_t length = std::strlen(name);
    CopyText(key, length < kKeyLength ? name : name + (length - kKeyLength), kKeyLength);
  }

  if (!initialized_) {
    engineInterface_->showErrorMessage_(
        "A unique channel is requested only the Lumenar engine is not initialized yet or not "
        "initialized anymore, unique name (GUID on next line): ",
        key);
    engineInterface_->showErrorMessage_(type);
    return nullptr;
  }
  if (VltGuidIsNull(type)) {
    engineInterface_->showErrorMessage_(
        "GUID of channel not found!\nCould not add unique channel!");
    return nullptr;
  }
  if (uniqueChannels_ == nullptr) {
    engineInterface_->showErrorMessage_(
        "A unique channel is requested and failed uniqueChannels_==NULL");
    return nullptr;
  }

  for (int i = 0; i < uniqueChannels_->GetChannelCount(); ++i) {
    Vlt_Channel* channel = uniqueChannels_->GetChannel(i);
    if (channel == nullptr || !VltGuidEqual(channel->GetChannelType().typeGuid, type)) continue;
    if (key[0] == '\0') return channel;
    if (hosttext::EqualsIgnoreCase(channel->GetChannelName(), key)) return channel;
  }

  Vlt_Channel* channel = InitChannelFromType(type, nullptr, false);
  if (channel == nullptr) return nullptr;
  if (key[0] != '\0') channel->SetChannelName(key);
  uniqueChannels_->AddChannel(channel);
  return channel;
}

int Engine::GetUniqueChannelCount() {
  return uniqueChannels_ != nullptr ? uniqueChannels_->GetChannelCount() : 0;
}

// ---------------------------------------------------------------- life cycle

void Engine::ExtendSearchPath() {
  constexpr size_t kPathChars = 1298;  // the buffer holds 1299 with the terminator
  std::string current;
  vplat::getEnv("PATH", current);
  char oldPath[kPathChars + 1];
  CopyText(oldPath, current.c_str(), kPathChars);

  char install[260];
  CopyText(install, installDir_, sizeof(install) - 1);
  if (std::strstr(oldPath, install) != nullptr) return;

  const char sep = vplat::pathSeparator();
  const char listSep = vplat::pathListSeparator();
  char newPath[kPathChars + 1] = "";
  hosttext::AppendText(newPath, installDir_, kPathChars);
  hosttext::AppendChar(newPath, sep, kPathChars);
  hosttext::AppendText(newPath, "channels", kPathChars);
  hosttext::AppendChar(newPath, listSep, kPathChars);
  hosttext::AppendText(newPath, installDir_, kPathChars);
  hosttext::AppendChar(newPath, sep, kPathChars);
  hosttext::AppendText(newPath, "3rd", kPathChars);
  hosttext::AppendChar(newPath, listSep, kPathChars);
  hosttext::AppendText(newPath, oldPath, kPathChars);
  vplat::setEnv("PATH", newPath);
}

bool Engine::InitEngine(VltInstance instance, const char* className) {
  engineInstance_ = instance;
  if (className != nullptr) CopyText(engineClassName_, className, 258);
  ExtendSearchPath();
  if (channelList_ != nullptr) {
    char channelDir[260] = "";
    hosttext::AppendText(channelDir, installDir_, 258);
    hosttext::AppendChar(channelDir, vplat::pathSeparator(), 258);
    hosttext::AppendText(channelDir, "channels", 258);
    channelList_->SetChannelDir(channelDir);
    channelList_->CreateChannelList();
  }
  initialized_ = true;
  return true;
}

void Engine::Release() {
  if (engineInterface_ != nullptr) {
    engineInterface_->showErrorMessage_("Libraries loaded : ", dllHandles_.GetItemCount());
    NotifyGroupRelease();
  }
  ReleaseResources();
}

void Engine::ReleaseUnreleased() {
  if (initialized_) {
    Release();
  } else if (uniqueChannels_ != nullptr || channelList_ != nullptr ||
             dllHandles_.GetItemCount() > 0) {
    // Never initialised: nothing to tell the outside notification channel.
    ReleaseResources();
  }
}

void Engine::ReleaseResources() {
  initialized_ = false;
  currentEvent_ = kReleasedEvent;

  for (int i = 0; i < threads_.GetItemCount(); ++i)
    if (Vlt_Tread* thread = static_cast<Vlt_Tread*>(threads_.GetItem(i))) thread->ExitThread();

  for (int i = 0; i < groups_.GetItemCount(); ++i) DeleteChannelGroup(i);

  for (int i = 0; i < channelRequests_.GetItemCount(); ++i)
    delete static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
  channelRequests_.ReleaseItems();

  // Its destructor writes the registry cache, while the saver plug-in is still loaded.
  delete channelList_;
  channelList_ = nullptr;

  // A close whose work has finished hands the handle back through KillTread, which deletes it
  // and empties its entry; what is still in its entry afterwards is deleted here.
  for (int i = 0; i < threads_.GetItemCount(); ++i) {
    Vlt_Tread* thread = static_cast<Vlt_Tread*>(threads_.GetItem(i));
    if (thread == nullptr) continue;
    thread->CloseTread();
    if (threads_.GetItem(i) == thread) {
      threads_.SetItem(nullptr, i);
      delete thread;
    }
  }
  threads_.ReleaseItems();

  delete uniqueChannels_;
  uniqueChannels_ = nullptr;

  for (int i = 0; i < eventChannels_.GetItemCount(); ++i)
    delete static_cast<EventChannel*>(eventChannels_.GetItem(i));
  eventChannels_.ReleaseItems();
  poolLinkRequests_.ReleaseItems();

  // No plug-in object may outlive this: modules go last, the last loaded first.
  for (int i = dllHandles_.GetItemCount() - 1; i >= 0; --i)
    vplat::freeModule(dllHandles_.GetItem(i));
  dllHandles_.ReleaseItems();
}
