// A real engine pointed at the test install folder (bin/testinstall, where the test plug-ins
// are), with the registry in a temporary file and every message and box recorded.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestGoodChannel.h"
#include "TestPluginTypes.h"
#include "Vexilon.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace hosttest {

inline std::string InstallDir() {
  return vplat::executableDir() + vplat::pathSeparator() + "testinstall";
}

inline std::string TestLog() {
  std::string log;
  vplat::getEnv(testplugins::kLogVariable, log);
  return log;
}

inline void ClearTestLog() { vplat::setEnv(testplugins::kLogVariable, ""); }

// A registry file of its own for every test, removed afterwards.
class ScopedRegistry {
 public:
  ScopedRegistry() {
    unsigned char id[16];
    vplat::newGuid(id);
    char name[64];
    std::snprintf(name, sizeof(name), "vexilon-host-%02x%02x%02x%02x%02x%02x.reg", id[0], id[1],
                  id[2], id[3], id[4], id[5]);
    path_ = (std::filesystem::temp_directory_path() / name).string();
    vplat::setEnv("VEXILON_REGISTRY", path_.c_str());
  }
  ~ScopedRegistry() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Registers a test plug-in the way a folder scan would: file name relative to channels.
inline void AddPlugin(EngineInterface* engine, const GUID& type, const char* fileName,
                      int engineVersion = VLT_ENGINE_VERSION) {
  auto* item = new ChannelListItem();
  item->type.typeGuid = type;
  item->type.baseGuid = type;
  item->type.version[1] = engineVersion;
  std::snprintf(item->fileName, sizeof(item->fileName), "%s", fileName);
  engine->GetExt()->GetChannelList()->AddItem(item);
}

inline void RegisterAllPlugins(EngineInterface* engine) {
  using namespace testplugins;
  AddPlugin(engine, kGoodType, kGoodFile);
  AddPlugin(engine, kVersion58Type, kVersion58File);
  AddPlugin(engine, kNoInitType, kNoInitFile);
  AddPlugin(engine, kNoTypeType, kNoTypeFile);
  AddPlugin(engine, kNullInitType, kNullInitFile);
  AddPlugin(engine, kChildMakerType, kChildMakerFile);
  AddPlugin(engine, kNestType, kNestFile);
  AddPlugin(engine, kDependentType, kDependentFile);
  AddPlugin(engine, kMissingType, kMissingFile);
}

// An initialised engine with every test plug-in registered.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearTestLog();
    engine_ = std::make_unique<EngineInterface>();
    ext_ = engine_->GetExt();
    ext_->SetInstallDir(InstallDir().c_str());
    ext_->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\Host");
    ASSERT_TRUE(ext_->InitEngine(nullptr, "Vexilon Test Host"));
    RegisterAllPlugins(engine_.get());
    messages_.messages.clear();
  }
  void TearDown() override {
    engine_.reset();
    ClearTestLog();
  }

  TestGoodChannel* NewGood(Vlt_ChannelGroup* group) {
    return static_cast<TestGoodChannel*>(
        engine_->InitChannelFromType(testplugins::kGoodType, group, false));
  }

  ScopedRegistry registry_;
  MessageRecorder messages_;
  BoxRecorder boxes_;
  std::unique_ptr<EngineInterface> engine_;
  EngineInterfaceExt* ext_ = nullptr;
};

}  // namespace hosttest
