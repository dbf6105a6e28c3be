// The background loader, the engine's unique channel for group files that public calls want
// without stalling the loop: each file is read on a worker thread, and the group is created on
// the engine's thread at the next pass (event 0), as the engine loads a group under a pool name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "GroupFileRead.h"
#include "Vexilon.h"

class BackgroundLoaderChannel : public Vco_BackgroundLoaderChannel {
 public:
  BackgroundLoaderChannel();
  ~BackgroundLoaderChannel() override;

  void DoEvent(int event, uintptr_t data) override;
  bool LoadGroupInBackground(const char* path, const char* poolName) override;
  int GetPendingLoadCount() override;
  void StopPendingLoads() override;
  void SetAutoLoadPoolName(const char* poolName) override;

 private:
  struct PendingLoad {
    std::string path;
    std::string poolName;
    bool hasPoolName = false;
    bool cancelled = false;        // no group is made; the entry waits for its worker to end
    Vlt_Tread* thread = nullptr;   // the engine's handle, which owns run
    GroupFileRead* run = nullptr;  // valid until the handle is closed
    int threadId = -1;
    std::shared_ptr<GroupFileBytes> result;
  };

  bool SamePool(const PendingLoad& load, const char* poolName) const;
  // Marks a load as dropped and asks its worker to stop, without waiting for it.
  void Cancel(PendingLoad& load);
  // True while the engine still holds the load's handle: after the engine's release it does not.
  bool HandleIsLive(const PendingLoad& load) const;
  void CreateGroup(PendingLoad& load);

  std::vector<std::unique_ptr<PendingLoad>> loads_;
  bool subscribed_;
};
