// The pool manager: paths and nesting, membership, leaving and clean-up, the name cut, and the
// refusal of channels outside a registered group.
#include <cstring>
#include <string>
#include <vector>

#include "PoolFixture.h"

namespace pooltest {
namespace {

const char kRefused[] = "Error non channel group channel is not allowed to be a pool channel!";

TEST_F(PoolTest, NestedPathMakesEachComponentUnderTheOneBefore) {
  TestChannel* lamp = Member("lamp");
  PoolItem* lights = pools_->CreatePoolItem("Scene@Lights", lamp);
  ASSERT_NE(lights, nullptr);
  EXPECT_STREQ(lights->name, "Lights");
  ASSERT_NE(lights->parent, nullptr);
  EXPECT_STREQ(lights->parent->name, "Scene");
  EXPECT_EQ(lights->parent->parent, nullptr);
  EXPECT_EQ(TopLevel(), std::vector<std::string>{"Scene"});
  EXPECT_EQ(pools_->GetPoolItem("sCENE@lIGHTS"), lights);
  EXPECT_EQ(pools_->GetPoolItemFromID(lights->id), lights);
  EXPECT_EQ(MembersOf("Scene@Lights"), std::vector<std::string>{"lamp"});
  EXPECT_EQ(MembersOf("Scene"), std::vector<std::string>{});

  ChannelPoolItemInfo info;
  info.itemId = lights->id;
  info.channelIndex = 0;
  EXPECT_EQ(pools_->GetChannelFromPoolItemInfo(&info), lamp);
  info.channelIndex = 1;
  EXPECT_EQ(pools_->GetChannelFromPoolItemInfo(&info), nullptr);
  EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(PoolTest, JoiningTwiceKeepsOneMembershipAndLeavesTheStamp) {
  TestChannel* lamp = Member("lamp");
  const uint32_t before = pools_->GetTimeStamp();
  pools_->CreatePoolItem("Scene@Lights", lamp);
  const uint32_t joined = pools_->GetTimeStamp();
  EXPECT_NE(joined, before);
  EXPECT_EQ(pools_->CreatePoolItem("scene@lights", lamp), pools_->GetPoolItem("Scene@Lights"));
  EXPECT_EQ(pools_->GetTimeStamp(), joined);
  EXPECT_EQ(MembersOf("Scene@Lights"), std::vector<std::string>{"lamp"});
}

struct Join {
  const char* path;
  const char* member;
};

struct LeaveCase {
  const char* what;
  std::vector<Join> joins;
  Join leave;
  std::vector<std::string> topLevel;
  std::vector<std::pair<const char*, std::vector<std::string>>> pools;  // path, members
};

TEST_F(PoolTest, LeavingRemovesPoolsLeftEmptyUpToTheTop) {
  const std::vector<LeaveCase> cases = {
      {"last member of the only chain",
       {{"Scene@Lights", "a"}},
       {"Scene@Lights", "a"},
       {},
       {{"Scene@Lights", {"<none>"}}, {"Scene", {"<none>"}}}},
      {"another member stays, in join order",
       {{"Scene@Lights", "a"}, {"Scene@Lights", "b"}, {"Scene@Lights", "c"}},
       {"Scene@Lights", "a"},
       {"Scene"},
       {{"Scene@Lights", {"b", "c"}}}},
      {"parent keeps a member of its own",
       {{"Scene@Lights", "a"}, {"Scene", "b"}},
       {"Scene@Lights", "a"},
       {"Scene"},
       {{"Scene@Lights", {"<none>"}}, {"Scene", {"b"}}}},
      {"parent keeps another sub-pool",
       {{"Scene@Lights", "a"}, {"Scene@Cameras", "b"}},
       {"SCENE@LIGHTS", "a"},
       {"Scene"},
       {{"Scene@Lights", {"<none>"}}, {"Scene@Cameras", {"b"}}}},
      {"leaving a pool never joined changes nothing",
       {{"Scene@Lights", "a"}, {"Scene@Cameras", "b"}},
       {"Scene@Cameras", "a"},
       {"Scene"},
       {{"Scene@Lights", {"a"}}, {"Scene@Cameras", {"b"}}}},
  };
  for (const LeaveCase& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    recorder_.messages.clear();
    std::vector<std::pair<std::string, TestChannel*>> made;
    auto channel = [&](const char* name) {
      for (auto& m : made)
        if (m.first == name) return m.second;
      made.emplace_back(name, Member(name));
      return made.back().second;
    };
    for (const Join& j : c.joins)
      ASSERT_NE(pools_->CreatePoolItem(j.path, channel(j.member)), nullptr);
    const uint32_t before = pools_->GetTimeStamp();
    pools_->ReleasePoolItem(c.leave.path, channel(c.leave.member));
    EXPECT_NE(pools_->GetTimeStamp(), before);
    EXPECT_EQ(TopLevel(), c.topLevel);
    for (const auto& p : c.pools) EXPECT_EQ(MembersOf(p.first), p.second) << p.first;
    EXPECT_TRUE(recorder_.messages.empty());
  }
}

TEST_F(PoolTest, FreedIdsAreReused) {
  TestChannel* a = Member("a");
  const int first = pools_->CreatePoolItem("Lights", a)->id;
  pools_->ReleasePoolItem("Lights", a);
  EXPECT_EQ(pools_->GetPoolItemFromID(first), nullptr);
  EXPECT_EQ(pools_->CreatePoolItem("Cameras", a)->id, first);
}

TEST_F(PoolTest, ADestroyedMemberLeavesItsPools) {
  TestChannel* a = Member("a");
  TestChannel* b = Member("b");
  pools_->CreatePoolItem("Scene@Lights", a);
  pools_->CreatePoolItem("Props", a);
  pools_->CreatePoolItem("Scene@Lights", b);
  const uint32_t before = pools_->GetTimeStamp();
  ASSERT_TRUE(group_->RemoveChannel(a));
  EXPECT_NE(pools_->GetTimeStamp(), before);
  EXPECT_EQ(TopLevel(), std::vector<std::string>{"Scene"});
  EXPECT_EQ(MembersOf("Scene@Lights"), std::vector<std::string>{"b"});
  EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(PoolTest, AMemberMovedOutOfItsRegisteredGroupStillLeavesWhenDestroyed) {
  // Moved into a group the engine does not know, the channel can no longer leave by name; the
  // pool must still not keep a pointer to it once it is gone.
  Vlt_ChannelGroup* loose = new Vlt_ChannelGroup(engine_);
  TestChannel* a = Member("a");
  Member("b");
  pools_->CreatePoolItem("Scene@Lights", a);
  ASSERT_TRUE(group_->TransferChannel(a->GetChannelIDIndexNr(), loose));
  delete loose;
  EXPECT_EQ(TopLevel(), std::vector<std::string>{});
}

TEST_F(PoolTest, ComponentsAreCutAtNineteenCharacters) {
  struct Case {
    const char* first;
    const char* second;
    bool samePool;
  };
  const Case cases[] = {
      {"ABCDEFGHIJKLMNOPQRSxyz", "abcdefghijklmnopqrsUVW", true},
      {"ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", true},
      {"ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRT", false},
      {"ParentNameLongerThan19@Lights", "ParentNameLongerTha@lights", true},
      {"Scene@ChildNameLongerThan19", "Scene@childnamelongerthan", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    TearDown();
    SetUp();
    recorder_.messages.clear();
    PoolItem* first = pools_->CreatePoolItem(c.first, Member("a"));
    PoolItem* second = pools_->CreatePoolItem(c.second, Member("b"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first == second, c.samePool);
    for (PoolItem* item = first; item != nullptr; item = item->parent)
      EXPECT_LE(std::strlen(item->name), 19u);
    EXPECT_EQ(TopLevel().size(), c.samePool ? 1u : 2u);
  }
}

TEST_F(PoolTest, ChannelsOutsideARegisteredGroupAreRefused) {
  Vlt_ChannelGroup unregistered(engine_);
  TestChannel* inUnregistered = new TestChannel({}, graphtest::kTypeX, graphtest::kTypeY, "u");
  unregistered.AddChannel(inUnregistered);
  struct Case {
    const char* what;
    Vlt_Channel* channel;
  };
  const Case cases[] = {{"no group", Loose()}, {"group the engine does not hold", inUnregistered}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder_.messages.clear();
    const uint32_t before = pools_->GetTimeStamp();
    EXPECT_EQ(pools_->CreatePoolItem("Scene@Lights", c.channel), nullptr);
    pools_->ReleasePoolItem("Scene@Lights", c.channel);
    ASSERT_EQ(recorder_.messages.size(), 2u);
    for (const RecordedMessage& m : recorder_.messages) {
      EXPECT_EQ(m.type, VLT_MSG_ERROR);
      EXPECT_EQ(m.text, kRefused);
    }
    EXPECT_EQ(TopLevel(), std::vector<std::string>{});
    EXPECT_EQ(pools_->GetTimeStamp(), before);
  }
}

TEST_F(PoolTest, MissingPathsAndIndicesAnswerNoneQuietly) {
  TestChannel* a = Member("a");
  EXPECT_EQ(pools_->CreatePoolItem(nullptr, a), nullptr);
  EXPECT_EQ(pools_->CreatePoolItem("Scene", nullptr), nullptr);
  pools_->CreatePoolItem("Scene@Lights", a);
  EXPECT_EQ(pools_->GetPoolItem(nullptr), nullptr);
  EXPECT_EQ(pools_->GetPoolItem("Scene@Cameras"), nullptr);
  EXPECT_EQ(pools_->GetPoolItem("Lights"), nullptr);
  EXPECT_EQ(pools_->GetPoolItem("Scene@Lights@Bulbs"), nullptr);
  EXPECT_EQ(pools_->GetMainGroupPoolItem(1), nullptr);
  EXPECT_EQ(pools_->GetChannelFromPoolItemInfo(nullptr), nullptr);
  ChannelPoolItemInfo info;
  info.itemId = 99;
  info.channelIndex = 0;
  EXPECT_EQ(pools_->GetChannelFromPoolItemInfo(&info), nullptr);
  EXPECT_TRUE(recorder_.messages.empty());
}

}  // namespace
}  // namespace pooltest
