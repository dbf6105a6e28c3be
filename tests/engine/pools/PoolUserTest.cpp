// Pool users: which members a user draws, and a parent that sees one child per member and is
// relinked on the next tick when the pool changes.
#include <string>
#include <vector>

#include "PoolFixture.h"

namespace pooltest {
namespace {

using graphtest::kTypeA;
using graphtest::kTypeB;
using graphtest::kTypeX;
using graphtest::kTypeY;

class PoolUserTest : public PoolTest {
 protected:
  // A pool user counting as Y that draws from the given pools.
  TestChannel* User(const std::vector<const char*>& paths, const char* name = "user") {
    TestChannel* user = Member(name, kTypeA, kTypeY);
    user->SetIfUsePoolChannel(true);
    user->SetChannelInterfaceType(VCO_INDIRECT);
    for (const char* path : paths) channelInternal->AddPoolToChannel(user, path);
    return user;
  }

  // Names of the members a user stands for, by pool channel index.
  static std::vector<std::string> Drawn(Vlt_Channel* user) {
    std::vector<std::string> out;
    const int n = user->GetPoolChannelCount();
    for (int i = 0; i < n; ++i) {
      Vlt_Channel* c = user->GetPoolChannel(i);
      out.push_back(c == nullptr ? "<none>" : c == user ? "<self>" : c->GetChannelName());
    }
    return out;
  }

  // What the parent's children resolve to, head excluded.
  static std::vector<std::string> Resolved(Vlt_Channel* parent) {
    std::vector<std::string> out;
    for (int i = 0; i + 1 < parent->GetChildCount(); ++i) {
      Vlt_Channel* c = parent->GetChild(i);
      out.push_back(c == nullptr ? "<none>" : c->GetChannelName());
    }
    return out;
  }

  void Tick() { engine_->GetExt()->IncreaseTreeCount(); }
};

TEST_F(PoolUserTest, DrawsMembersOfCompatibleTypeOnly) {
  struct Case {
    const char* what;
    GUID type;
    GUID base;
    bool drawn;
  };
  const Case cases[] = {
      {"same base", kTypeX, kTypeY, true},
      {"type is the user's base", kTypeY, kTypeB, true},
      {"unrelated", kTypeX, kTypeX, false},
      {"base equals the user's type only", kTypeB, kTypeA, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    pools_->CreatePoolItem("Scene@Lights", Member("m", c.type, c.base));
    TestChannel* user = User({"Scene@Lights"});
    EXPECT_EQ(Drawn(user), std::vector<std::string>{c.drawn ? "m" : "<self>"});
  }
}

TEST_F(PoolUserTest, WithoutPoolsAUserCountsNothing) {
  TestChannel* plain = Member("plain", kTypeA, kTypeY);
  EXPECT_EQ(plain->GetPoolChannelCount(), 0);
  EXPECT_EQ(plain->GetPoolChannel(0), nullptr);
  EXPECT_EQ(channelInternal->GetChannelPoolInfo(plain), nullptr);

  // Naming a pool that does not exist yet: no members, so the user stands for itself.
  TestChannel* user = User({"Scene@Lights"});
  EXPECT_EQ(user->GetPoolChannelCount(), 1);
  EXPECT_EQ(user->GetPoolChannel(0), user);
  EXPECT_EQ(user->GetPoolChannel(1), user);
}

TEST_F(PoolUserTest, MembersComeInPoolOrderThenSubPoolsDepthFirst) {
  pools_->CreatePoolItem("Scene@Lights@Spots", Member("spot"));
  pools_->CreatePoolItem("Scene", Member("s0"));
  pools_->CreatePoolItem("Scene@Lights", Member("l0"));
  pools_->CreatePoolItem("Scene@Cameras", Member("c0"));
  pools_->CreatePoolItem("Scene", Member("s1"));
  pools_->CreatePoolItem("Props", Member("p0"));
  // A pool's own members first, then each sub-pool in the same way.
  EXPECT_EQ(Drawn(User({"Scene"}, "a")),
            (std::vector<std::string>{"s0", "s1", "l0", "spot", "c0"}));
  EXPECT_EQ(Drawn(User({"Props", "Scene@Lights"}, "b")),
            (std::vector<std::string>{"p0", "l0", "spot"}));
}

TEST_F(PoolUserTest, EntriesFollowMembershipAndPoolNames) {
  TestChannel* m0 = Member("m0");
  pools_->CreatePoolItem("Lights", m0);
  TestChannel* user = User({"Lights"});
  EXPECT_EQ(Drawn(user), std::vector<std::string>{"m0"});
  pools_->CreatePoolItem("Lights", Member("m1"));
  EXPECT_EQ(Drawn(user), (std::vector<std::string>{"m0", "m1"}));
  ASSERT_TRUE(group_->RemoveChannel(m0));
  EXPECT_EQ(Drawn(user), std::vector<std::string>{"m1"});
  pools_->CreatePoolItem("Cameras", Member("c0"));
  channelInternal->AddPoolToChannel(user, "CAMERAS");
  channelInternal->AddPoolToChannel(user, "cameras");  // already named: no second draw
  EXPECT_EQ(Drawn(user), (std::vector<std::string>{"m1", "c0"}));
  channelInternal->RemovePoolFromChannel(user, "Lights");
  EXPECT_EQ(Drawn(user), std::vector<std::string>{"c0"});
}

class PoolParentTest : public PoolUserTest {
 protected:
  void SetUp() override {
    PoolUserTest::SetUp();
    parent_ = new TestChannel({{VLT_WILDCARD_GUID, false}}, kTypeB, kTypeB, "parent");
    group_->AddChannel(parent_);
    for (const char* name : {"m0", "m1", "m2"}) {
      members_.push_back(Member(name));
      pools_->CreatePoolItem("Scene@Lights", members_.back());
    }
    user_ = User({"Scene@Lights"});
    ASSERT_EQ(parent_->SetChild(user_, -1, 0), 0);
  }

  TestChannel* parent_ = nullptr;
  TestChannel* user_ = nullptr;
  std::vector<TestChannel*> members_;
};

TEST_F(PoolParentTest, OneUserBecomesOneEntryPerMemberOnTheNextTick) {
  // Linked plainly, the entry does not match the pool yet: it answers none and asks for the
  // parent to be relinked.
  EXPECT_EQ(Resolved(parent_), std::vector<std::string>{"<none>"});
  Tick();
  EXPECT_EQ(Resolved(parent_), (std::vector<std::string>{"m0", "m1", "m2"}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(parent_->GetInternalChild(i), user_);
    EXPECT_EQ(parent_->GetChildInfo(i)->poolSnapshot, 3);
    EXPECT_EQ(parent_->GetChildInfo(i)->poolIndex, i);
  }
  EXPECT_EQ(parent_->GetChildLinkPositionCount(0), 3);
  EXPECT_EQ(parent_->GetChildTypeCount(kTypeY), 3);
  EXPECT_EQ(parent_->GetChildFromLinkGuid(kTypeX, 2), members_[2]);
  Tick();  // nothing changed: no relink, the same entries
  EXPECT_EQ(Resolved(parent_), (std::vector<std::string>{"m0", "m1", "m2"}));
}

TEST_F(PoolParentTest, ChangedPoolAnswersNoneForOneFrameThenRelinks) {
  Resolved(parent_);
  Tick();
  struct Step {
    const char* what;
    std::vector<std::string> sameFrame;
    std::vector<std::string> nextTick;
  };
  const Step steps[] = {
      {"a member leaves", {"<none>", "<none>", "<none>"}, {"m0", "m2"}},
      {"a member joins", {"<none>", "<none>"}, {"m0", "m2", "m3"}},
      {"the last members leave", {"<none>", "<none>", "<none>"}, {"user"}},
  };
  pools_->ReleasePoolItem("Scene@Lights", members_[1]);
  EXPECT_EQ(Resolved(parent_), steps[0].sameFrame) << steps[0].what;
  Tick();
  EXPECT_EQ(Resolved(parent_), steps[0].nextTick) << steps[0].what;

  pools_->CreatePoolItem("Scene@Lights", Member("m3"));
  EXPECT_EQ(Resolved(parent_), steps[1].sameFrame) << steps[1].what;
  Tick();
  EXPECT_EQ(Resolved(parent_), steps[1].nextTick) << steps[1].what;

  // Without members the user counts 1 and stands for itself.
  for (const char* name : {"m0", "m2", "m3"}) group_->RemoveChannel(group_->GetChannel(name));
  EXPECT_EQ(Resolved(parent_), steps[2].sameFrame) << steps[2].what;
  Tick();
  EXPECT_EQ(Resolved(parent_), steps[2].nextTick) << steps[2].what;
  EXPECT_EQ(TopLevel(), std::vector<std::string>{});
}

TEST_F(PoolParentTest, AParentDeletedWhileWaitingForItsRelinkIsNotTouched) {
  EXPECT_EQ(Resolved(parent_), std::vector<std::string>{"<none>"});  // asks for the relink
  ASSERT_TRUE(group_->RemoveChannel(parent_));
  Tick();  // must not link the deleted parent
  TestChannel* other = new TestChannel({{VLT_WILDCARD_GUID, false}}, kTypeB, kTypeB, "other");
  group_->AddChannel(other);
  other->SetChild(user_, -1, 0);
  EXPECT_EQ(Resolved(other), std::vector<std::string>{"<none>"});
  Tick();
  EXPECT_EQ(Resolved(other), (std::vector<std::string>{"m0", "m1", "m2"}));
}

}  // namespace
}  // namespace pooltest
