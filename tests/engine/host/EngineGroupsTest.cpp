// Channel groups held by the engine: indices, pools and arrays, lookups and the start group.
#include "HostFixture.h"

namespace hosttest {
namespace {

class EngineGroupsTest : public HostTest {};

TEST_F(EngineGroupsTest, IndicesStayIdentitiesAcrossDeletion) {
  Vlt_ChannelGroup* a = engine_->CreateNewGroup("A", false, 0);
  Vlt_ChannelGroup* b = engine_->CreateNewGroup("B", false, 0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->GetGroupIndex(), 0);
  EXPECT_EQ(b->GetGroupIndex(), 1);
  EXPECT_EQ(engine_->GetChannelGroup(-1), nullptr);
  EXPECT_EQ(engine_->GetChannelGroup(2), nullptr);

  engine_->DeleteChannelGroup(0);
  EXPECT_EQ(engine_->GetChannelGroup(0), nullptr);
  EXPECT_EQ(engine_->GetChannelGroupCount(), 2);  // the emptied entry still counts
  EXPECT_EQ(engine_->GetChannelGroup(1), b);

  Vlt_ChannelGroup* c = engine_->CreateNewGroup("C", false, 0);
  EXPECT_EQ(c->GetGroupIndex(), 0);  // takes the emptied entry
  EXPECT_EQ(engine_->GetChannelGroup(0), c);
}

TEST_F(EngineGroupsTest, DeletingTheStartGroupStopsTheTreeUpdate) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("Start", false, 0);
  TestGoodChannel* good = NewGood(group);
  ASSERT_NE(good, nullptr);
  ext_->SetStartGroup(group->GetGroupIndex());

  ext_->IncreaseTreeCount();
  ext_->UpdateChannelTree();
  EXPECT_EQ(good->calls, 1);

  engine_->DeleteChannelGroup(group->GetGroupIndex());
  EXPECT_EQ(ext_->GetStartGroup(), -1);
  ext_->UpdateChannelTree();  // nothing left to call
}

TEST_F(EngineGroupsTest, ArraysGrowOneGroupAtATime) {
  for (int expected = 0; expected < 3; ++expected) {
    Vlt_ChannelGroup* g = engine_->CreateNewGroup("N", true, -1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetPoolNr(), expected);
    EXPECT_TRUE(g->GetIfArrayGroup());
    EXPECT_STREQ(g->GetPoolName(), "N");
  }
  EXPECT_EQ(engine_->GetHighInstance("N"), 2);
  EXPECT_EQ(engine_->GetPoolGroup("n", 1)->GetPoolNr(), 1);

  EXPECT_EQ(engine_->CreateNewGroup("N", false, -1), nullptr);
  EXPECT_TRUE(messages_.Contains("Engine::CreateNewGroup non array group created with same name"));
}

TEST_F(EngineGroupsTest, GivenPoolNumberReplacesTheGroupHoldingIt) {
  engine_->CreateNewGroup("N", true, -1);
  Vlt_ChannelGroup* old = engine_->CreateNewGroup("N", true, -1);
  int oldIndex = old->GetGroupIndex();
  Vlt_ChannelGroup* replacement = engine_->CreateNewGroup("N", true, 1);
  ASSERT_NE(replacement, nullptr);
  EXPECT_EQ(replacement->GetPoolNr(), 1);
  // The old group went first, so the new one took its entry.
  EXPECT_EQ(replacement->GetGroupIndex(), oldIndex);
  EXPECT_EQ(engine_->GetPoolGroup("N", 1), replacement);
  EXPECT_EQ(engine_->GetChannelGroupCount(), 2);
}

TEST_F(EngineGroupsTest, MissingNamesCreateNothingSilently) {
  EXPECT_EQ(engine_->CreateNewGroup(nullptr, false, 0), nullptr);
  EXPECT_EQ(engine_->CreateNewGroup("", true, -1), nullptr);
  EXPECT_EQ(engine_->GetChannelGroupCount(), 0);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(EngineGroupsTest, ArrayOfAPlainGroupIsRefused) {
  Vlt_ChannelGroup* plain = engine_->CreateNewGroup("P", false, 0);
  plain->SetChannelGroupFileName("p");  // the check looks the name up as a file name
  EXPECT_EQ(engine_->CreateNewGroup("P", true, 1), nullptr);
  EXPECT_TRUE(
      messages_.Contains("Engine::CreateNewGroup wanted to create an array of a non array group!"));
}

TEST_F(EngineGroupsTest, FreeEntryPoolNumberTakesTheFirstEmptyIndex) {
  engine_->CreateNewGroup("X", false, 0);
  engine_->CreateNewGroup("Y", false, 0);
  engine_->CreateNewGroup("Z", false, 0);
  engine_->DeleteChannelGroup(1);
  Vlt_ChannelGroup* g = engine_->CreateNewGroup("Q", true, -2);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetPoolNr(), 1);
  // Without an empty entry it counts on from the pool's highest number.
  Vlt_ChannelGroup* h = engine_->CreateNewGroup("Q", true, -2);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetPoolNr(), 2);
}

TEST_F(EngineGroupsTest, FirstLetterCaseSeparatesPools) {
  engine_->CreateNewGroup("Pool", true, -1);
  Vlt_ChannelGroup* lower = engine_->CreateNewGroup("pool", true, -1);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->GetPoolNr(), 0);  // a pool of its own
  EXPECT_EQ(engine_->GetHighInstance("pool"), 0);
  EXPECT_EQ(engine_->GetHighInstance("pOOL"), 0);  // later letters ignore case
  EXPECT_EQ(engine_->GetHighInstance("Other"), -1);
  EXPECT_EQ(engine_->GetHighInstance(nullptr), 0);
  // The plain lookup ignores case throughout: the first group of pool number 0 is found.
  EXPECT_NE(engine_->GetPoolGroup("POOL", 0), nullptr);
  EXPECT_EQ(engine_->GetPoolGroup(nullptr, 0), nullptr);
}

TEST_F(EngineGroupsTest, LookupByFileNameNeedsAName) {
  Vlt_ChannelGroup* g = engine_->CreateNewGroup("G", false, 0);
  EXPECT_EQ(engine_->GetChannelGroup("scene.cgr", 0), nullptr);
  g->SetChannelGroupFileName("Scene.CGR");
  EXPECT_EQ(engine_->GetChannelGroup("scene.cgr", 0), g);
  EXPECT_EQ(engine_->GetChannelGroup("scene.cgr", 1), nullptr);
}

TEST_F(EngineGroupsTest, LoadingIntoAnExistingPoolIsRefusedBeforeAnyFileIsRead) {
  engine_->CreateNewGroup("Arr", true, -1);
  EXPECT_EQ(engine_->LoadChannelGroup("never-read.cgr", "Arr"), nullptr);
  EXPECT_EQ(
      messages_.Texts(),
      (std::vector<std::string>{"Channel group name already exists can't create group called: Arr",
                                "Arrays can only be made trough CreateGroup (Array_LoadGroup)"}));
  EXPECT_EQ(messages_.messages[0].type, VLT_MSG_USERERROR);
  EXPECT_EQ(messages_.messages[1].type, VLT_MSG_ERROR);
  EXPECT_EQ(engine_->GetChannelGroupCount(), 1);

  messages_.messages.clear();
  engine_->CreateNewGroup("Plain", false, 0);
  EXPECT_EQ(engine_->LoadChannelGroup("never-read.cgr", "Plain"), nullptr);
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{
                "Engine::LoadChannelGroup wanted to load a channel group in a non array pool"}));
}

TEST_F(EngineGroupsTest, PoolNumberMinusOneRefusesSilently) {
  Vlt_ChannelGroup* g = engine_->CreateNewGroup("Held", true, -1);
  g->SetPoolNr(-1);
  EXPECT_EQ(engine_->LoadChannelGroup("never-read.cgr", "Held"), nullptr);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(EngineGroupsTest, MissingGroupFileLeavesNoGroupBehind) {
  const std::string missing = InstallDir() + vplat::pathSeparator() + "missing.cgr";
  EXPECT_EQ(engine_->LoadChannelGroup(missing.c_str(), nullptr), nullptr);
  EXPECT_TRUE(messages_.Contains("Engine::LoadChannelGroup: Error loading channel group"));
  for (int i = 0; i < engine_->GetChannelGroupCount(); ++i)
    EXPECT_EQ(engine_->GetChannelGroup(i), nullptr);
}

TEST(EngineGroupsUninitialised, LoadingNeedsAnInitialisedEngine) {
  MessageRecorder messages;
  EngineInterface engine;
  EXPECT_EQ(engine.LoadChannelGroup("x.cgr", nullptr), nullptr);
  EXPECT_EQ(engine.GetChannelGroupCount(), 0);
  // Creating does not check.
  EXPECT_NE(engine.CreateNewGroup("G", false, 0), nullptr);
}

TEST_F(EngineGroupsTest, ReleaseGroupsEmptiesTheListButKeepsUniqueChannels) {
  engine_->CreateNewGroup("A", false, 0);
  engine_->CreateNewGroup("B", false, 0);
  ASSERT_NE(engine_->GetUniqueChannel(testplugins::kGoodType, "keep"), nullptr);
  ext_->ReleaseGroups();
  EXPECT_EQ(engine_->GetChannelGroupCount(), 0);
  EXPECT_EQ(ext_->GetUniqueChannelCount(), 1);
}

}  // namespace
}  // namespace hosttest
