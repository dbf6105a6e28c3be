// A real engine interface with a private install folder and a private registry, for the tests
// of the sinks and debug lines that talk to an engine.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "platform/Platform.h"

class EngineFixture : public ::testing::Test {
 protected:
  static constexpr const char* kRegKey = "SOFTWARE\\Vexilon Tests\\Foundation";

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("vexilon-foundation-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    hadRegistry_ = vplat::getEnv("VEXILON_REGISTRY", oldRegistry_);
    vplat::setEnv("VEXILON_REGISTRY", (folder_ / "registry.reg").string().c_str());
    engine_ = std::make_unique<EngineInterface>();
    engine_->GetExt()->SetInstallDir(folder_.string().c_str());
    engine_->GetExt()->SetLumenarRegKey(kRegKey);
    // On Windows the registry is shared by every run: start without the value.
    vplat::regDeleteValue(vplat::RegRoot::LocalMachine, kRegKey, "WriteErrorLog");
  }

  void TearDown() override {
    engine_.reset();
    vplat::regDeleteValue(vplat::RegRoot::LocalMachine, kRegKey, "WriteErrorLog");
    vplat::setEnv("VEXILON_REGISTRY", hadRegistry_ ? oldRegistry_.c_str() : nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void SetWriteErrorLog(const char* value) {
    ASSERT_TRUE(vplat::regSetString(vplat::RegRoot::LocalMachine, kRegKey, "WriteErrorLog", value));
  }

  std::filesystem::path folder_;
  std::unique_ptr<EngineInterface> engine_;

 private:
  bool hadRegistry_ = false;
  std::string oldRegistry_;
};
