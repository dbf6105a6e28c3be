#include "BackgroundLoaderChannel.h"

#include <cstdint>
#include <limits>

namespace {

constexpr int kPassEvent = 0;

// Pool names are compared ignoring case.
bool NamesEqual(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a;
    char y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

}  // namespace

BackgroundLoaderChannel::BackgroundLoaderChannel() : subscribed_(false) {}

BackgroundLoaderChannel::~BackgroundLoaderChannel() {
  StopPendingLoads();
  if (subscribed_ && engine != nullptr) engine->RemoveChannelFromEvent(this, kPassEvent);
}

bool BackgroundLoaderChannel::SamePool(const PendingLoad& load, const char* poolName) const {
  if (poolName == nullptr) return !load.hasPoolName;
  return load.hasPoolName && NamesEqual(load.poolName.c_str(), poolName);
}

bool BackgroundLoaderChannel::HandleIsLive(const PendingLoad& load) const {
  EngineInterfaceExt* ext = engine != nullptr ? engine->GetExt() : nullptr;
  return ext != nullptr && ext->GetTreadFromID(load.threadId) == load.thread;
}

bool BackgroundLoaderChannel::LoadGroupInBackground(const char* path, const char* poolName) {
  if (path == nullptr || *path == '\0' || engine == nullptr) return false;
  EngineInterfaceExt* ext = engine->GetExt();
  if (ext == nullptr) return false;

  // One load per pool: a second request while the first is on its way is the same load.
  for (const auto& load : loads_)
    if (!load->cancelled && SamePool(*load, poolName) &&
        (poolName != nullptr || load->path == path))
      return true;

  Vlt_Tread* thread = ext->GetNewTread();
  if (thread == nullptr) return false;
  auto load = std::make_unique<PendingLoad>();
  load->path = path;
  load->hasPoolName = poolName != nullptr;
  if (poolName != nullptr) load->poolName = poolName;
  load->thread = thread;
  load->threadId = thread->GetClassID();
  load->result = std::make_shared<GroupFileBytes>(load->path);
  load->run = new GroupFileRead(load->result);
  if (!thread->StartTread(load->run)) {
    // No thread runs the work: it counts as finished, so the close deletes it and hands the
    // handle back at once instead of waiting for a thread that does not exist.
    load->run->SetIfTreadReady(true);
    thread->CloseTread();
    return false;
  }
  if (!subscribed_) {
    engine->AddChannelToEvent(this, kPassEvent);
    subscribed_ = true;
  }
  loads_.push_back(std::move(load));
  return true;
}

int BackgroundLoaderChannel::GetPendingLoadCount() {
  int count = 0;
  for (const auto& load : loads_)
    if (!load->cancelled) ++count;
  return count;
}

void BackgroundLoaderChannel::Cancel(PendingLoad& load) {
  load.cancelled = true;
  load.result->abandoned = true;
  if (HandleIsLive(load)) load.thread->ExitThread();
}

void BackgroundLoaderChannel::StopPendingLoads() {
  // Taken out first: nothing this does may see a half-stopped list.
  std::vector<std::unique_ptr<PendingLoad>> loads;
  loads.swap(loads_);
  for (auto& load : loads) {
    Cancel(*load);
    // The close waits for the worker and, once it has ended, deletes the work and gives the
    // handle back. A worker that does not end is left with the engine, which reports it.
    if (HandleIsLive(*load)) load->thread->CloseTread();
  }
}

void BackgroundLoaderChannel::SetAutoLoadPoolName(const char* poolName) {
  if (poolName == nullptr) return;
  // The engine loads that pool now; the background load of it must not make a second group.
  for (auto& load : loads_)
    if (!load->cancelled && SamePool(*load, poolName)) Cancel(*load);
}

void BackgroundLoaderChannel::DoEvent(int event, uintptr_t) {
  if (event != kPassEvent) return;
  for (size_t i = 0; i < loads_.size();) {
    PendingLoad& pending = *loads_[i];
    if (!HandleIsLive(pending)) {
      // The engine took the handle back (its release): the work is not ours to touch.
      loads_.erase(loads_.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (!pending.run->GetIfTreadReady()) {
      ++i;
      continue;
    }
    // The worker has ended: the close deletes the work and returns the handle without waiting.
    std::unique_ptr<PendingLoad> load = std::move(loads_[i]);
    loads_.erase(loads_.begin() + static_cast<std::ptrdiff_t>(i));
    load->thread->CloseTread();
    load->thread = nullptr;
    load->run = nullptr;
    // Creating the group may call back into this channel; the load is out of the list by now.
    if (!load->cancelled) CreateGroup(*load);
    i = 0;
  }
}

void BackgroundLoaderChannel::CreateGroup(PendingLoad& load) {
  std::vector<uint8_t> bytes;
  bool read = false;
  {
    std::lock_guard<std::mutex> hold(load.result->lock);
    read = load.result->read;
    bytes.swap(load.result->bytes);
  }
  EngineInterfaceExt* ext = engine != nullptr ? engine->GetExt() : nullptr;
  if (ext == nullptr) return;
  if (!read || bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    const std::string error = "The following channel group file could not be loaded: " + load.path;
    engine->showUserErrorMessage_(error.c_str());
    return;
  }
  // The group's file name is the path, so that the group's own relative calls resolve from it.
  // The engine publishes its public channels.
  uint8_t empty = 0;
  ext->LoadChannelGroupFromBuffer(load.path.c_str(), static_cast<int>(bytes.size()),
                                  bytes.empty() ? &empty : bytes.data(),
                                  load.hasPoolName ? load.poolName.c_str() : nullptr);
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new BackgroundLoaderChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "Background Loader", VLT_BACKGROUNDLOADER_GUID,
                           VLT_BACKGROUNDLOADER_GUID, 0);
}

// Test hooks: hold every read before it opens its file, and count the reads so held.
VEXILON_PLUGIN_EXPORT void BackgroundLoaderSetReadGate(int closed) {
  GroupFileRead::SetGateClosed(closed != 0);
}

VEXILON_PLUGIN_EXPORT int BackgroundLoaderReadsAtGate() { return GroupFileRead::GetReadsAtGate(); }
