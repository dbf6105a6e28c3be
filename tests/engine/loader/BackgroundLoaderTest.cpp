// The background loader: group files read on a worker thread and created on a later pass under
// their pool name, the way the engine loads a group for a public call.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BaseChannelTypes.h"
#include "TestPluginTypes.h"
#include "Vexilon.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace {

constexpr const char* kLoaderFile = "27D9C4E5-B81F-4A36-9C07-F5E2A84B1D63";
constexpr const char* kGoodFile = "A1B2C3D4-0001-4E00-8000-000000000001";
constexpr const char* kUnreadable = "The following channel group file could not be loaded: ";
// Enough passes for any worker to finish a small read; the loop ends as soon as it has.
constexpr int kMaxPasses = 20000;

std::string ModuleFile(const char* name) {
  return std::string(name) + "." + vplat::moduleExtension();
}

class BackgroundLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsigned char id[16];
    vplat::newGuid(id);
    char name[48];
    std::snprintf(name, sizeof(name), "vexilon-loader-%02x%02x%02x%02x%02x%02x", id[0], id[1],
                  id[2], id[3], id[4], id[5]);
    folder_ = std::filesystem::temp_directory_path() / name;
    const std::filesystem::path channels = folder_ / "channels";
    std::filesystem::create_directories(channels);
    hadRegistry_ = vplat::getEnv("VEXILON_REGISTRY", oldRegistry_);
    vplat::setEnv("VEXILON_REGISTRY", (folder_ / "registry.reg").string().c_str());

    const std::filesystem::path bin = vplat::executableDir();
    for (const char* file : {"FileLoader", "FileSaver", kLoaderFile})
      std::filesystem::copy_file(bin / "channels" / ModuleFile(file), channels / ModuleFile(file));
    std::filesystem::copy_file(bin / "testinstall" / "channels" / ModuleFile(kGoodFile),
                               channels / ModuleFile(kGoodFile));

    // The test's own reference on the loader module reaches its test hooks; the engine loads
    // the same file and so shares them.
    loaderModule_ = vplat::loadModule((channels / ModuleFile(kLoaderFile)).string().c_str());
    ASSERT_NE(loaderModule_, nullptr);
    setGate_ = reinterpret_cast<void (*)(int)>(
        vplat::findExport(loaderModule_, "BackgroundLoaderSetReadGate"));
    readsAtGate_ = reinterpret_cast<int (*)()>(
        vplat::findExport(loaderModule_, "BackgroundLoaderReadsAtGate"));
    ASSERT_TRUE(setGate_ != nullptr && readsAtGate_ != nullptr);

    engine_ = std::make_unique<EngineInterface>();
    ext_ = engine_->GetExt();
    ext_->SetInstallDir(folder_.string().c_str());
    ext_->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\Loader");
    ASSERT_TRUE(ext_->InitEngine(nullptr, "Vexilon Test Host"));
    // The folder scan finds them when it can list the folder; otherwise they are registered
    // the way it would.
    const std::pair<GUID, const char*> plugins[] = {{VLT_FILELOADER_GUID, "FileLoader"},
                                                    {VLT_FILESAVER_GUID, "FileSaver"},
                                                    {VLT_BACKGROUNDLOADER_GUID, kLoaderFile},
                                                    {testplugins::kGoodType, kGoodFile}};
    for (const auto& plugin : plugins) {
      if (ext_->GetChannelList()->GetItem(plugin.first) != nullptr) continue;
      auto* item = new ChannelListItem();
      item->type.typeGuid = plugin.first;
      item->type.baseGuid = plugin.first;
      std::snprintf(item->fileName, sizeof(item->fileName), "%s",
                    ModuleFile(plugin.second).c_str());
      ext_->GetChannelList()->AddItem(item);
    }

    lights_ = WriteGroupFile("lights.cgr", "Light");
    loader_ = static_cast<Vco_BackgroundLoaderChannel*>(
        engine_->GetUniqueChannel(VLT_BACKGROUNDLOADER_GUID, nullptr));
    ASSERT_NE(loader_, nullptr);
    messages_.messages.clear();
  }

  void TearDown() override {
    engine_.reset();
    if (setGate_ != nullptr) setGate_(0);
    if (loaderModule_ != nullptr) vplat::freeModule(loaderModule_);
    vplat::setEnv("VEXILON_REGISTRY", hadRegistry_ ? oldRegistry_.c_str() : nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // A group file holding one public channel of the good test type.
  std::string WriteGroupFile(const char* file, const char* publicName) {
    Vlt_ChannelGroup* group = engine_->CreateNewGroup("Writer", false, 0);
    EXPECT_NE(group, nullptr);
    Vlt_Channel* channel = engine_->InitChannelFromType(testplugins::kGoodType, group, false);
    EXPECT_NE(channel, nullptr);
    channel->SetChannelName(publicName);
    channel->SetChannelInterfaceType(VCO_PUBLIC);
    const std::string path = (folder_ / file).string();
    EXPECT_TRUE(group->SaveChannelGroup(path.c_str()));
    engine_->DeleteChannelGroup(group->GetGroupIndex());
    return path;
  }

  // Runs passes until the condition holds; false when it never did.
  bool PassUntil(const std::function<bool()>& done) {
    for (int i = 0; i < kMaxPasses; ++i) {
      if (done()) return true;
      ext_->IncreaseTreeCount();
      vplat::sleepMs(1);
    }
    return done();
  }

  // Waits, without passes, until the given number of reads are held at the closed gate.
  bool WaitAtGate(int reads) {
    for (int i = 0; i < kMaxPasses && readsAtGate_() != reads; ++i) vplat::sleepMs(1);
    return readsAtGate_() == reads;
  }

  // Worker thread handles the engine still holds.
  int LiveThreads() {
    int live = 0;
    for (int id = 0; id < 64; ++id)
      if (ext_->GetTreadFromID(id) != nullptr) ++live;
    return live;
  }

  int GroupsOfPool(const char* pool) {
    int count = 0;
    for (int i = 0; i < engine_->GetChannelGroupCount(); ++i) {
      Vlt_ChannelGroup* group = engine_->GetChannelGroup(i);
      if (group != nullptr && group->GetPoolName() != nullptr &&
          std::strcmp(group->GetPoolName(), pool) == 0)
        ++count;
    }
    return count;
  }

  MessageRecorder messages_;
  std::filesystem::path folder_;
  std::unique_ptr<EngineInterface> engine_;
  EngineInterfaceExt* ext_ = nullptr;
  Vco_BackgroundLoaderChannel* loader_ = nullptr;
  std::string lights_;
  void (*setGate_)(int) = nullptr;
  int (*readsAtGate_)() = nullptr;

 private:
  vplat::ModuleHandle loaderModule_ = nullptr;
  bool hadRegistry_ = false;
  std::string oldRegistry_;
};

TEST_F(BackgroundLoaderTest, GroupArrivesOnAPassAfterItsBytesAreReadAndBindsAWaitingCall) {
  // A call in another group waits for Lights, which nobody loads at once.
  Vlt_ChannelGroup* callers = engine_->CreateNewGroup("Callers", false, 0);
  Vlt_Channel* call = engine_->InitChannelFromType(testplugins::kGoodType, callers, false);
  ASSERT_NE(call, nullptr);
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info;
  std::strcpy(info.channelName, "Light");
  std::strcpy(info.poolName, "Lights");
  info.autoLoadGroup = 0;
  ASSERT_TRUE(channelInternal->SetPublicCallInfo(call, info));
  EXPECT_EQ(channelInternal->GetInternalPublicChannelForPublicCall(call, false), nullptr);

  setGate_(1);
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(WaitAtGate(1));
  for (int i = 0; i < 10; ++i) ext_->IncreaseTreeCount();
  EXPECT_EQ(engine_->GetPoolGroup("Lights", 0), nullptr);
  EXPECT_EQ(loader_->GetPendingLoadCount(), 1);

  setGate_(0);
  ASSERT_TRUE(PassUntil([&] { return engine_->GetPoolGroup("Lights", 0) != nullptr; }));
  Vlt_ChannelGroup* group = engine_->GetPoolGroup("Lights", 0);
  EXPECT_STREQ(group->GetPoolName(), "Lights");
  EXPECT_EQ(group->GetPoolNr(), 0);
  // Its own relative calls resolve from the file it came from.
  EXPECT_EQ(std::string(group->GetChannelGroupFileName()), lights_);
  EXPECT_EQ(loader_->GetPendingLoadCount(), 0);
  EXPECT_EQ(LiveThreads(), 0);

  Vlt_Channel* light = group->GetChannel("Light");
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(channelInternal->GetInternalPublicChannelForPublicCall(call, false), light);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
}

TEST_F(BackgroundLoaderTest, RequestsForAPoolOnItsWayMakeOneLoad) {
  const std::string second = WriteGroupFile("second.cgr", "Other");
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(loader_->LoadGroupInBackground(second.c_str(), "LIGHTS"));
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  EXPECT_EQ(loader_->GetPendingLoadCount(), 1);
  ASSERT_TRUE(PassUntil([&] { return loader_->GetPendingLoadCount() == 0; }));
  EXPECT_EQ(GroupsOfPool("Lights"), 1);
  EXPECT_NE(engine_->GetPoolGroup("Lights", 0)->GetChannel("Light"), nullptr);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});

  // Once it has arrived, another pool is another load.
  ASSERT_TRUE(loader_->LoadGroupInBackground(second.c_str(), "Others"));
  ASSERT_TRUE(PassUntil([&] { return loader_->GetPendingLoadCount() == 0; }));
  EXPECT_EQ(GroupsOfPool("Others"), 1);
}

TEST_F(BackgroundLoaderTest, LoadsThatFailReportAsTheEngineDoesAndAreDropped) {
  const std::string junk = (folder_ / "junk.cgr").string();
  {
    std::FILE* f = std::fopen(junk.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a group", f);
    std::fclose(f);
  }
  const std::string missing = (folder_ / "missing.cgr").string();
  struct Case {
    const char* name;
    std::string path;
    const char* pool;
    std::vector<std::string> messages;
    int groupsOfPool;  // afterwards
  };
  const Case cases[] = {
      {"missing file", missing, "Ghost", {kUnreadable + missing}, 0},
      {"not a group file",
       junk,
       "Junk",
       {"The selected file is not a channel group. Most channel group files have the \".cgr\" "
        "extension. It could also be that the file is corrupt.",
        "Failed loading channel group, buffersize: 11",
        "Engine::LoadChannelGroup: Error loading channel group"},
       0},
      {"pool exists",
       lights_,
       "Existing",
       {"Engine::LoadChannelGroup wanted to load a channel group in a non array pool"},
       1},
  };
  ASSERT_NE(engine_->CreateNewGroup("Existing", false, 0), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.messages.clear();
    ASSERT_TRUE(loader_->LoadGroupInBackground(c.path.c_str(), c.pool));
    ASSERT_TRUE(PassUntil([&] { return loader_->GetPendingLoadCount() == 0; }));
    EXPECT_EQ(messages_.Texts(), c.messages);
    EXPECT_EQ(GroupsOfPool(c.pool), c.groupsOfPool);
    EXPECT_EQ(LiveThreads(), 0);
  }
}

TEST_F(BackgroundLoaderTest, AnAutoLoadOfThePoolDropsTheBackgroundLoad) {
  setGate_(1);
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(WaitAtGate(1));
  loader_->SetAutoLoadPoolName("lights");
  EXPECT_EQ(loader_->GetPendingLoadCount(), 0);
  // The engine loads it at once, as it does for an auto-load.
  ASSERT_NE(engine_->LoadChannelGroup(lights_.c_str(), "Lights"), nullptr);
  setGate_(0);
  // The dropped load's worker ends and is reaped on a pass, without making a group.
  ASSERT_TRUE(PassUntil([&] { return LiveThreads() == 0; }));
  for (int i = 0; i < 3; ++i) ext_->IncreaseTreeCount();
  EXPECT_EQ(GroupsOfPool("Lights"), 1);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});

  // A new request for the pool after the drop is a load of its own.
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Others"));
  EXPECT_EQ(loader_->GetPendingLoadCount(), 1);
}

TEST_F(BackgroundLoaderTest, StopDuringAReadLeavesNoGroupAndNoThread) {
  setGate_(1);
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Spare"));
  ASSERT_TRUE(WaitAtGate(2));
  loader_->StopPendingLoads();
  // The close waited for both workers: nothing is left running.
  EXPECT_EQ(readsAtGate_(), 0);
  EXPECT_EQ(LiveThreads(), 0);
  EXPECT_EQ(loader_->GetPendingLoadCount(), 0);
  setGate_(0);
  for (int i = 0; i < 10; ++i) ext_->IncreaseTreeCount();
  EXPECT_EQ(GroupsOfPool("Lights"), 0);
  EXPECT_EQ(GroupsOfPool("Spare"), 0);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
}

// The engine stops the loader's loads before it lets groups go, whichever way it does.
TEST_F(BackgroundLoaderTest, ReleaseWithALoadUnderWayIsClean) {
  const auto clean = [&] {
    EXPECT_EQ(readsAtGate_(), 0);
    EXPECT_FALSE(messages_.Contains("Thread is not responding"));
    EXPECT_FALSE(messages_.Contains(
        "Vlt_Tread::~Vlt_Tread ForceTreadClose something is wrong in the thread"));
  };
  setGate_(1);
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(WaitAtGate(1));
  ext_->ReleaseGroups();
  clean();
  EXPECT_EQ(loader_->GetPendingLoadCount(), 0);
  EXPECT_EQ(LiveThreads(), 0);
  setGate_(0);
  for (int i = 0; i < 10; ++i) ext_->IncreaseTreeCount();
  EXPECT_EQ(GroupsOfPool("Lights"), 0);

  // The whole release, with the loader itself going at its end.
  setGate_(1);
  ASSERT_TRUE(loader_->LoadGroupInBackground(lights_.c_str(), "Lights"));
  ASSERT_TRUE(WaitAtGate(1));
  ext_->Release();
  clean();
  EXPECT_EQ(engine_->GetChannelGroupCount(), 0);
}

}  // namespace
