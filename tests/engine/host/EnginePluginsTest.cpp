// Plug-in loading through real test libraries: probes, loads, the factory call, automatic
// children, the failed mark, the kept module and the release order.
#include "HostFixture.h"

namespace hosttest {
namespace {

using namespace testplugins;

class EnginePluginsTest : public HostTest {
 protected:
  std::string ChannelPath(const char* file) {
    return InstallDir() + vplat::pathSeparator() + "channels" + vplat::pathSeparator() + file;
  }
};

TEST_F(EnginePluginsTest, ProbeReadsTheTypeRecordOfAFile) {
  ChannelType type = ext_->GetDLLType(ChannelPath(kGoodFile).c_str());
  EXPECT_TRUE(VltGuidEqual(type.typeGuid, kGoodType));
  EXPECT_STREQ(type.name, "Test Good");
  EXPECT_EQ(type.version[1], 57);
  EXPECT_TRUE(messages_.messages.empty());

  EXPECT_TRUE(VltGuidIsNull(ext_->GetDLLType(static_cast<const char*>(nullptr)).typeGuid));
  EXPECT_TRUE(VltGuidIsNull(ext_->GetDLLType(static_cast<VltInstance>(nullptr)).typeGuid));
}

TEST_F(EnginePluginsTest, ProbeRefusesOtherEngineVersions) {
  ChannelType type = ext_->GetDLLType(kVersion58File);
  EXPECT_TRUE(VltGuidIsNull(type.typeGuid));
  EXPECT_EQ(type.version[1], 58);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{
                                   "Channel not compatible with current version:  Test Version58",
                                   "Engine version of channel is:  58"}));
}

TEST_F(EnginePluginsTest, ProbeOfAMissingFileReportsOnceForBothAttempts) {
  EXPECT_TRUE(VltGuidIsNull(ext_->GetDLLType(kMissingFile).typeGuid));
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text.rfind("GetLastError: ", 0), 0u);
  EXPECT_EQ(messages_.messages[1].text,
            std::string("Couldn't find or load a dll:  ") + kMissingFile);
}

TEST_F(EnginePluginsTest, ProbeWithoutGetTypeGivesTheDefaultRecord) {
  ChannelType type = ext_->GetDLLType(kNoTypeFile);
  EXPECT_TRUE(VltGuidIsNull(type.typeGuid));
  EXPECT_EQ(type.version[0], 1);
  EXPECT_EQ(type.version[1], 57);
  EXPECT_EQ(type.version[2], 1);
}

TEST_F(EnginePluginsTest, TypeOfALoadedModule) {
  VltInstance module = vplat::loadModule(kGoodFile);
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(VltGuidEqual(ext_->GetDLLType(module).typeGuid, kGoodType));
  vplat::freeModule(module);
}

TEST_F(EnginePluginsTest, InstanceFromAFileKnowsItsModuleAndEngine) {
  DllInterface* instance = ext_->GetDLLInstance(ChannelPath(kGoodFile).c_str());
  ASSERT_NE(instance, nullptr);
  auto* good = static_cast<TestGoodChannel*>(instance);
  EXPECT_EQ(good->engine, engine_.get());
  EXPECT_NE(good->dllInstance, nullptr);
  // The globals held this engine and the module while the constructor ran.
  EXPECT_EQ(good->engineAtConstruction, engine_.get());
  EXPECT_EQ(good->moduleAtConstruction, good->dllInstance);
  EXPECT_EQ(globalDllInstance, good->dllInstance);
  // Nothing else: no one-time initialisation.
  EXPECT_FALSE(good->initialized);
  delete instance;

  EXPECT_EQ(ext_->GetDLLInstance("x"), nullptr);
  EXPECT_EQ(ext_->GetDLLInstance(nullptr), nullptr);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(EnginePluginsTest, LoadFailuresAreReported) {
  struct Case {
    const char* file;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {kNoInitFile, {"Engine::GetDLLInstance: Couldn't find external function InitDLL() in dll:"}},
      {kNullInitFile, {}},
  };
  for (const Case& c : cases) {
    messages_.messages.clear();
    EXPECT_EQ(ext_->CreateChannelFromDLL(c.file, nullptr, true), nullptr) << c.file;
    EXPECT_EQ(messages_.Texts(), c.expected) << c.file;
  }
  messages_.messages.clear();
  EXPECT_EQ(ext_->GetDLLInstance(kMissingFile), nullptr);
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text.rfind("GetLastError: ", 0), 0u);
  EXPECT_EQ(messages_.messages[1].text,
            std::string("Engine::GetDLLInstance: Error loading DLL file: ") + kMissingFile);
}

TEST_F(EnginePluginsTest, CreationFromAFileJoinsTheGroupAndInitialises) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("G", false, 0);
  Vlt_Channel* channel = ext_->CreateChannelFromDLL(kGoodFile, group, false);
  ASSERT_NE(channel, nullptr);
  EXPECT_TRUE(static_cast<TestGoodChannel*>(channel)->initialized);
  EXPECT_EQ(channel->GetChannelGroup(), group);
  EXPECT_EQ(group->GetChannel(0), channel);
}

TEST_F(EnginePluginsTest, ByTypeTheModuleIsKeptAfterTheFirstCreation) {
  ChannelListItem* item = ext_->GetChannelList()->GetItem(kGoodType);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->dllInstance, nullptr);
  Vlt_Channel* first = engine_->InitChannelFromType(kGoodType, nullptr, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(item->dllInstance, first->dllInstance);

  // The second creation neither loads again nor compares with the registry: a changed record
  // in the registry stays as it is.
  item->type.version[2] = 77;
  ChannelType record;
  record.typeGuid = kGoodType;
  Vlt_Channel* second = engine_->InitChannelFromType(record, nullptr, false);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->dllInstance, first->dllInstance);
  EXPECT_EQ(item->type.version[2], 77);
  delete first;
  delete second;
  ext_->Release();
  EXPECT_TRUE(messages_.Contains("Libraries loaded :  1"));
}

TEST_F(EnginePluginsTest, FirstCreationBringsTheRegistryRecordUpToDate) {
  ChannelListItem* item = ext_->GetChannelList()->GetItem(kGoodType);
  item->type.version[2] = 5;  // an older build was cached
  Vlt_Channel* channel = engine_->InitChannelFromType(kGoodType, nullptr, false);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(item->type.version[2], 0);
  EXPECT_STREQ(item->type.name, "Test Good");
  delete channel;
}

TEST_F(EnginePluginsTest, FailedProbeMarksTheTypeForTheWholeRun) {
  EXPECT_EQ(engine_->InitChannelFromType(kVersion58Type, nullptr, false), nullptr);
  EXPECT_TRUE(ext_->GetChannelList()->GetItem(kVersion58Type)->failed);
  EXPECT_EQ(messages_.messages.size(), 2u);
  messages_.messages.clear();
  EXPECT_EQ(engine_->InitChannelFromType(kVersion58Type, nullptr, false), nullptr);
  EXPECT_TRUE(messages_.messages.empty());  // no new probe

  EXPECT_EQ(engine_->InitChannelFromType(kNoTypeType, nullptr, false), nullptr);
  EXPECT_TRUE(ext_->GetChannelList()->GetItem(kNoTypeType)->failed);
  // A factory that gives nothing does not mark the type.
  EXPECT_EQ(engine_->InitChannelFromType(kNullInitType, nullptr, false), nullptr);
  EXPECT_FALSE(ext_->GetChannelList()->GetItem(kNullInitType)->failed);
  // An unknown type gives nothing, silently.
  messages_.messages.clear();
  EXPECT_EQ(engine_->InitChannelFromType(MakeTestGuid(0x77), nullptr, false), nullptr);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(EnginePluginsTest, DefaultChildrenAndGrandchildrenComeBeforeTheParentInitialises) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("G", false, 0);
  Vlt_Channel* nest = engine_->InitChannelFromType(kNestType, group, true);
  ASSERT_NE(nest, nullptr);
  // Each probe freed its module at once. Each channel initialised before it was named and
  // linked, and after its own children.
  EXPECT_EQ(TestLog(),
            "unload:Nest;unload:ChildMaker;unload:Good;"
            "init:Good;init:ChildMaker+;init:Nest+--;");
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back().text, "Couldn't initialize child");
  EXPECT_TRUE(ext_->GetChannelList()->GetItem(kMissingType)->failed);

  Vlt_Channel* maker = nest->GetChild(0);
  ASSERT_NE(maker, nullptr);
  EXPECT_STREQ(maker->GetChannelName(), "Maker");
  Vlt_Channel* grandchild = maker->GetChild(0);
  ASSERT_NE(grandchild, nullptr);
  EXPECT_STREQ(grandchild->GetChannelName(), "AutoGood");
  EXPECT_EQ(nest->GetChild(1), nullptr);
  EXPECT_EQ(nest->GetChild(2), nullptr);  // no default child asked for
  EXPECT_EQ(group->GetChannelCount(), 3);

  // Without createChildren nothing is made.
  ClearTestLog();
  Vlt_Channel* bare = engine_->InitChannelFromType(kNestType, group, false);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->GetChild(0), nullptr);
  EXPECT_EQ(TestLog(), "init:Nest---;");
}

TEST_F(EnginePluginsTest, DependencyInThe3rdFolderIsFoundThroughTheSearchPath) {
  std::string path;
  vplat::getEnv("PATH", path);
  const std::string install = InstallDir();
  const std::string expectedFront = install + vplat::pathSeparator() + "channels" +
                                    vplat::pathListSeparator() + install + vplat::pathSeparator() +
                                    "3rd";
  EXPECT_NE(path.find(expectedFront), std::string::npos);

  Vlt_Channel* channel = engine_->InitChannelFromType(kDependentType, nullptr, false);
  ASSERT_NE(channel, nullptr) << ::testing::PrintToString(messages_.Texts());
  EXPECT_NE(TestLog().find("support:4242;"), std::string::npos);
  delete channel;
}

TEST_F(EnginePluginsTest, ReleaseFreesModulesLastToFirstAfterEveryChannel) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("G", false, 0);
  ASSERT_NE(engine_->InitChannelFromType(kGoodType, group, false), nullptr);
  ASSERT_NE(engine_->GetUniqueChannel(kChildMakerType, "u"), nullptr);
  ClearTestLog();
  ext_->Release();
  EXPECT_EQ(TestLog(), "~Good;~ChildMaker;unload:ChildMaker;unload:Good;");
}

TEST_F(EnginePluginsTest, ReleaseTellsTheNotificationChannelFirst) {
  AddPlugin(engine_.get(), kReleaseNotifyType, kReleaseNotifyFile);
  engine_->CreateNewGroup("G", false, 0);
  ext_->ReleaseGroups();
  EXPECT_EQ(TestLog(), "unload:ReleaseNotify;init:ReleaseNotify;notify;");  // after the probe
  EXPECT_EQ(ext_->GetUniqueChannelCount(), 1);
  ClearTestLog();
  ext_->Release();
  EXPECT_EQ(TestLog(), "notify;~ReleaseNotify;unload:ReleaseNotify;");
}

TEST(EnginePluginsTwoEngines, EachEngineSetsTheGlobalsAroundItsOwnFactoryCalls) {
  ScopedRegistry registry;
  MessageRecorder messages;
  EngineInterface one;
  EngineInterface two;
  for (EngineInterface* e : {&one, &two}) {
    e->GetExt()->SetInstallDir(InstallDir().c_str());
    ASSERT_TRUE(e->GetExt()->InitEngine(nullptr, "Test"));
    AddPlugin(e, kGoodType, kGoodFile);
  }
  auto* a = static_cast<TestGoodChannel*>(one.InitChannelFromType(kGoodType, nullptr, false));
  auto* b = static_cast<TestGoodChannel*>(two.InitChannelFromType(kGoodType, nullptr, false));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->engineAtConstruction, &one);
  EXPECT_EQ(b->engineAtConstruction, &two);
  EXPECT_EQ(globalEngine, &two);  // the globals keep the last call's values
  auto* c = static_cast<TestGoodChannel*>(one.InitChannelFromType(kGoodType, nullptr, false));
  EXPECT_EQ(c->engineAtConstruction, &one);
  EXPECT_EQ(globalEngine, &one);
  delete a;
  delete b;
  delete c;
}

}  // namespace
}  // namespace hosttest
