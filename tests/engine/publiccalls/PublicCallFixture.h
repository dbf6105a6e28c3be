// Two group files on disk, one calling a public channel of the other, in a temporary
// installation run through a real EngineControl: the caller in proj/groups, the callee in
// proj/groups/lib. Channels are the good test plug-in's, which calls its children once a pass and
// counts its calls; the optional loader is a recording stand-in for the background loader.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestGoodChannel.h"
#include "TestPluginTypes.h"
#include "Vexilon.h"
#include "projects/ProjectFixture.h"

namespace publiccalltest {

namespace fs = std::filesystem;
using projecttest::ModuleFile;

// What the caller's file holds.
struct CallerSetup {
  std::string targetPath = "lib\\Callee.cgr";
  bool autoLoad = true;
  bool dynamic = false;
  int treeCountMode = 1;
  bool withArgument = true;
};

// What the callee's file holds: its public channel "Out" (or another name), whose child is a
// parameter channel for the group's parameter 0 ("P0", of the good type).
struct CalleeSpec {
  std::string publicName = "Out";
  bool writeFile = true;
};

// What the plug-ins wrote to the test log (see TestLog.h), and clearing it.
inline std::string Log() {
  std::string log;
  vplat::getEnv(testplugins::kLogVariable, log);
  return log;
}
inline void ClearLog() { vplat::setEnv(testplugins::kLogVariable, ""); }

class PublicCallTest : public projecttest::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    ClearLog();
    Install(fs::path(vplat::executableDir()) / "testinstall" / "channels", testplugins::kGoodFile);
    control_ = GetEngineControlInstance();
    ASSERT_NE(control_, nullptr);
    control_->SetInstallDir(install_.string().c_str());
    control_->SetLumenarRegKey(projecttest::kRegKey);
    char className[] = "Vexilon Test Host";
    ASSERT_TRUE(control_->InitEngine(nullptr, className, nullptr));
    // The engine installs its own sink; the tests read the messages from the recorder instead.
    debugOutPut = &messages_;
    engine_ = control_->GetEngineInterface();
    ext_ = engine_->GetExt();
    projecttest::RegisterBasePlugins(engine_);
    Register(testplugins::kGoodFile, testplugins::kGoodType);
  }

  void TearDown() override {
    delete control_;
    ClearLog();
    vplat::setEnv("VEXILON_TEST_LOADER_REFUSE", nullptr);
    ProjectTest::TearDown();
  }

  // Copies a plug-in into the installation's channels folder. fileName ends in ".dll" as the
  // registry names plug-ins; the built module carries the platform's extension.
  void Install(const fs::path& builtFolder, const char* fileName) {
    // A module already installed may be loaded: writing over it would change the running code.
    const std::string module = ModuleFile(Stem(fileName).c_str());
    if (!fs::exists(install_ / "channels" / module))
      fs::copy_file(builtFolder / module, install_ / "channels" / module);
  }

  // Adds a plug-in of the installation to the registry unless the folder scan found it.
  void Register(const char* fileName, const GUID& type) {
    ChannelList* list = ext_->GetChannelList();
    if (list->GetItem(type) != nullptr) return;
    auto* item = new ChannelListItem();
    item->type.typeGuid = type;
    item->type.baseGuid = type;
    std::snprintf(item->fileName, sizeof(item->fileName), "%s",
                  ModuleFile(Stem(fileName).c_str()).c_str());
    list->AddItem(item);
  }

  // Installs the recording stand-in for the background loader.
  void InstallRecordingLoader() {
    Install(fs::path(vplat::executableDir()) / "publiccalls" / "channels",
            testplugins::kReleaseNotifyFile);
    Register(testplugins::kReleaseNotifyFile, testplugins::kReleaseNotifyType);
  }

  // Installs the base background loader every installation carries.
  void InstallBaseLoader() {
    Install(fs::path(vplat::executableDir()) / "channels", testplugins::kReleaseNotifyFile);
    Register(testplugins::kReleaseNotifyFile, testplugins::kReleaseNotifyType);
  }

  static std::string Stem(const char* fileName) {
    const std::string name = fileName;
    return name.substr(0, name.rfind('.'));
  }

  fs::path Folder() const { return root_ / "proj" / "groups"; }
  std::string CallerFile() const { return (Folder() / "Caller.cgr").string(); }
  std::string CalleeFile() const { return (Folder() / "lib" / "Callee.cgr").string(); }

  Vlt_Channel* NewGood(Vlt_ChannelGroup* group, const char* name) {
    Vlt_Channel* channel = engine_->InitChannelFromType(testplugins::kGoodType, group, false);
    EXPECT_NE(channel, nullptr);
    if (channel != nullptr) channel->SetChannelName(name);
    return channel;
  }

  // Writes both files and leaves the engine without groups. The caller is saved while the
  // callee sits in memory without a file name, so that its call is bound but keeps the stored
  // targetPath as given.
  void WriteGroups(const CallerSetup& caller, const CalleeSpec& callee = CalleeSpec()) {
    fs::create_directories(Folder() / "lib");

    Vlt_ChannelGroup* lib = engine_->CreateNewGroup("Lib", false, 0);
    ASSERT_NE(lib, nullptr);
    ParameterInterfaceInfo p0;
    std::snprintf(p0.name, sizeof(p0.name), "%s", "P0");
    p0.type = testplugins::kGoodType;
    lib->AddParameterInfo(p0);
    Vlt_Channel* out = NewGood(lib, "Out");
    out->SetChannelInterfaceType(VCO_PUBLIC);
    Vlt_Channel* param = NewGood(lib, "Param");
    param->SetChannelInterfaceType(VCO_PARAMETER);
    channelInternal->SetParameterInfo(param, 0);
    out->SetChild(param, -1, 0);

    Vlt_ChannelGroup* group = engine_->CreateNewGroup("Caller", false, 0);
    ASSERT_NE(group, nullptr);
    Vlt_Channel* start = NewGood(group, "Start");
    Vlt_Channel* call = NewGood(group, "Call");
    call->SetChannelInterfaceType(VCO_PUBLICCALL);
    PublicCallInfo info;
    std::snprintf(info.channelName, sizeof(info.channelName), "%s", "Out");
    std::snprintf(info.poolName, sizeof(info.poolName), "%s", "Lib");
    std::snprintf(info.targetPath, sizeof(info.targetPath), "%s", caller.targetPath.c_str());
    info.autoLoadGroup = caller.autoLoad ? 1 : 0;
    info.dynamicAutoLoadGroup = caller.dynamic ? 1 : 0;
    ASSERT_TRUE(channelInternal->SetPublicCallInfo(call, info));
    channelInternal->SetTreeCountMode(call, caller.treeCountMode);
    start->SetChild(call, -1, 0);
    if (caller.withArgument) call->SetChild(NewGood(group, "Arg0"), 0, 0);
    group->SetStartChannel(0);
    ASSERT_TRUE(group->SaveChannelGroup(CallerFile().c_str()));

    if (callee.writeFile) {
      out->SetChannelName(callee.publicName.c_str());
      ASSERT_TRUE(lib->SaveChannelGroup(CalleeFile().c_str()));
    }
    ext_->ReleaseGroups();
    ClearLog();
    messages_.messages.clear();
  }

  // Loads the caller as a start group is loaded: by file, without a pool name.
  Vlt_ChannelGroup* LoadCaller(const std::string& file) {
    Vlt_ChannelGroup* group = engine_->LoadChannelGroup(file.c_str(), nullptr);
    EXPECT_NE(group, nullptr);
    if (group != nullptr) ext_->SetStartGroup(group->GetGroupIndex());
    return group;
  }

  void Passes(int count) {
    for (int i = 0; i < count; ++i) control_->EngineLoop();
  }

  Vlt_ChannelGroup* CalleeGroup() { return engine_->GetPoolGroup("Lib", 0); }

  int LiveGroups() {
    int groups = 0;
    for (int i = 0; i < engine_->GetChannelGroupCount(); ++i)
      if (engine_->GetChannelGroup(i) != nullptr) ++groups;
    return groups;
  }

  static TestGoodChannel* Good(Vlt_ChannelGroup* group, const char* name) {
    return group != nullptr ? static_cast<TestGoodChannel*>(group->GetChannel(name)) : nullptr;
  }

  // Error texts recorded so far, in order.
  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& m : messages_.messages)
      if (m.type == VLT_MSG_ERROR) texts.push_back(m.text);
    return texts;
  }

  EngineControl* control_ = nullptr;
  EngineInterface* engine_ = nullptr;
  EngineInterfaceExt* ext_ = nullptr;
};

}  // namespace publiccalltest
