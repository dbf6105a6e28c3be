// A stand-in for the outside background loader: it writes every call it gets to the test log and
// creates a requested group itself, on the engine's thread, two passes after the request, so
// that a call can be seen waiting while its group is "on the way".
#include <cstdio>
#include <string>
#include <vector>

#include "BaseChannelTypes.h"
#include "TestLog.h"
#include "Vexilon.h"

namespace {

// Pass count a request waits before its group is created.
constexpr int kPassesToArrive = 2;

struct Request {
  std::string path;
  std::string poolName;
  int passesLeft;
};

class RecordingLoader : public Vco_BackgroundLoaderChannel {
 public:
  RecordingLoader() { SetChannelName("Recording Loader"); }
  ~RecordingLoader() override {
    if (engine != nullptr) engine->RemoveChannelFromEvent(this, 0);
  }

  void OneTimeInitialize() override {
    if (engine != nullptr) engine->AddChannelToEvent(this, 0);
  }

  void DoEvent(int event, uintptr_t) override {
    if (event != 0 || engine == nullptr) return;
    for (size_t i = 0; i < requests_.size();) {
      if (--requests_[i].passesLeft > 0) {
        ++i;
        continue;
      }
      const Request request = requests_[i];
      requests_.erase(requests_.begin() + static_cast<std::ptrdiff_t>(i));
      const bool loaded =
          engine->LoadChannelGroup(request.path.c_str(), request.poolName.c_str()) != nullptr;
      testplugins::AppendLog(std::string(loaded ? "arrived:" : "failed:") + request.poolName);
    }
  }

  bool LoadGroupInBackground(const char* path, const char* poolName) override {
    testplugins::AppendLog(std::string("load:") + (path ? path : "") + "|" +
                           (poolName ? poolName : ""));
    std::string refuse;
    if (vplat::getEnv("VEXILON_TEST_LOADER_REFUSE", refuse) && refuse == "1") return false;
    requests_.push_back({path ? path : "", poolName ? poolName : "", kPassesToArrive});
    return true;
  }

  int GetPendingLoadCount() override { return static_cast<int>(requests_.size()); }

  void StopPendingLoads() override {
    testplugins::AppendLog("stop");
    requests_.clear();
  }

  void SetAutoLoadPoolName(const char* poolName) override {
    testplugins::AppendLog(std::string("pool:") + (poolName ? poolName : ""));
  }

 private:
  std::vector<Request> requests_;
};

}  // namespace

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new RecordingLoader(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;
  std::snprintf(type.name, sizeof(type.name), "%s", "Recording Loader");
  type.typeGuid = VLT_BACKGROUNDLOADER_GUID;
  type.baseGuid = VLT_BACKGROUNDLOADER_GUID;
  return &type;
}
