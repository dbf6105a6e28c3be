// What GetChild answers: render counts, interface types, public calls, parameters and names.
#include <string>
#include <vector>

#include "GraphFixture.h"
#include "platform/Platform.h"

namespace graphtest {
namespace {

using ChannelResolveTest = GraphTest;

TEST_F(ChannelResolveTest, RenderCountIsTrueOncePerPass) {
  TestChannel* c = Loose();
  engine_->SetTreeCalculateCount(10);
  EXPECT_TRUE(c->RenderCount());
  EXPECT_FALSE(c->RenderCount());
  EXPECT_FALSE(c->RenderCount());
  EXPECT_EQ(channelInternal->GetTreeRecalculateCount(c), 2);
  engine_->SetTreeCalculateCount(11);
  EXPECT_TRUE(c->RenderCount());
  EXPECT_EQ(channelInternal->GetTreeRecalculateCount(c), 0);
  // The repeat counter is one byte.
  for (int i = 0; i < 257; ++i) c->RenderCount();
  EXPECT_EQ(channelInternal->GetTreeRecalculateCount(c), 1);

  channelInternal->SetIgnoreTreeCount(c, true);
  EXPECT_TRUE(c->RenderCount());
  EXPECT_TRUE(c->RenderCount());
  EXPECT_EQ(channelInternal->GetTreeRecalculateCount(c), 0);
}

TEST_F(ChannelResolveTest, RenderCountInAGroupFollowsEachPass) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("Runner", false, 0);
  auto* start = new TestChannel();
  group->AddChannel(start);
  group->CallStartChannel();
  group->CallStartChannel();
  start->CallChannel();  // reached a second time in the same pass
  EXPECT_EQ(start->firstInPass, (std::vector<bool>{true, true, false}));
}

struct Switch {
  int from;
  int to;
  int result;
  const char* error;  // expected error message, or null
};

TEST_F(ChannelResolveTest, InterfaceTypeSwitching) {
  const Switch cases[] = {
      {VCO_NONE, VCO_PUBLIC, VCO_PUBLIC, nullptr},
      {VCO_PUBLIC, VCO_NONE, VCO_NONE, nullptr},
      {VCO_NONE, VCO_INDIRECT, VCO_INDIRECT, nullptr},
      {VCO_INDIRECT, VCO_PUBLICINDIRECT, VCO_PUBLICINDIRECT, nullptr},
      {VCO_INDIRECT, VCO_NONE, VCO_INDIRECT, nullptr},
      {VCO_INDIRECT, VCO_PUBLIC, VCO_INDIRECT, nullptr},
      {VCO_PUBLICCALL, VCO_NONE, VCO_PUBLICCALL,
       "Vlt_Channel::SetChannelInterfaceType interface can't be changed VCO_PUBLICCALL"},
      {VCO_PUBLICCALL, VCO_PUBLIC, VCO_PUBLICCALL,
       "Vlt_Channel::SetChannelInterfaceType interface can't be changed VCO_PUBLICCALL"},
      {VCO_PARAMETER, VCO_NONE, VCO_PARAMETER,
       "Vlt_Channel::SetChannelInterfaceType interface can't be changed VCO_PARAMETER"},
      {VCO_PARAMETER, VCO_PARAMETER, VCO_PARAMETER, nullptr},
  };
  for (const Switch& s : cases) {
    TestChannel* c = Loose();
    if (s.from == VCO_PUBLICINDIRECT || s.from == VCO_PUBLIC) c->SetChannelInterfaceType(VCO_NONE);
    if (s.from == VCO_PUBLICINDIRECT) c->SetChannelInterfaceType(VCO_INDIRECT);
    c->SetChannelInterfaceType(s.from);
    recorder_.messages.clear();
    c->SetChannelInterfaceType(s.to);
    EXPECT_EQ(c->GetChannelInterfaceType(), s.result) << s.from << "->" << s.to;
    if (s.error == nullptr) {
      EXPECT_TRUE(Messages().empty()) << s.from << "->" << s.to;
    } else {
      ASSERT_EQ(Messages().size(), 1u);
      EXPECT_EQ(Messages()[0].type, VLT_MSG_ERROR);
      EXPECT_EQ(Messages()[0].text, s.error);
    }
  }
}

TEST_F(ChannelResolveTest, StandInTypesGetTheirRecordsAndLoseTheirPositions) {
  TestChannel* call = Loose({{VLT_WILDCARD_GUID, true}});
  call->SetChild(Loose({}, kTypeB, kTypeB), -1, 0);
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  EXPECT_EQ(call->GetChildCount(), 0);
  PublicCallInfo info = channelInternal->GetPublicCallInfo(call);
  EXPECT_STREQ(info.channelName, "No Name");
  EXPECT_STREQ(info.poolName, "No Pool");
  EXPECT_TRUE(channelInternal->GetAutoLoadGroup(call));
  EXPECT_EQ(channelInternal->GetParameterInfo(call), nullptr);

  TestChannel* parameter = Loose({{VLT_WILDCARD_GUID, true}});
  parameter->SetChannelInterfaceType(VCO_PARAMETER);
  EXPECT_EQ(parameter->GetChildCount(), 0);
  EXPECT_EQ(channelInternal->GetChildCreationCount(parameter), 0);
  ASSERT_NE(channelInternal->GetParameterInfo(parameter), nullptr);
  channelInternal->SetParameterInfo(parameter, 4);
  EXPECT_EQ(channelInternal->GetParameterInfo(parameter)->parameterNr, 4);
  ParameterInfo p;
  p.parameterNr = 6;
  channelInternal->SetParameterInfo(parameter, p);
  EXPECT_EQ(channelInternal->GetParameterInfo(parameter)->parameterNr, 6);
  EXPECT_FALSE(channelInternal->SetPublicCallInfo(parameter, PublicCallInfo()));
}

TEST_F(ChannelResolveTest, PublicCallRecordsAndFlags) {
  TestChannel* call = Loose();
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info;
  std::memset(info.channelName, 'c', sizeof(info.channelName));  // unterminated: cut at 79
  std::strcpy(info.poolName, "Pool");
  std::strcpy(info.targetPath, "..\\groups\\t.cgr");
  info.poolNr = 3;
  info.autoLoadGroup = 0;
  info.dynamicAutoLoadGroup = 1;
  info.unresolvedPosition.requestLink = 42;
  EXPECT_TRUE(channelInternal->SetPublicCallInfo(call, info));

  PublicCallInfo copy = channelInternal->GetPublicCallInfo(call);
  EXPECT_EQ(std::string(copy.channelName), std::string(79, 'c'));
  EXPECT_STREQ(copy.poolName, "Pool");
  EXPECT_STREQ(copy.targetPath, "..\\groups\\t.cgr");
  EXPECT_EQ(copy.poolNr, 3);
  EXPECT_EQ(copy.autoLoadGroup, 0);
  EXPECT_EQ(copy.dynamicAutoLoadGroup, 1);
  EXPECT_EQ(copy.unresolvedPosition.requestLink, -1);  // the copy carries the defaults there

  channelInternal->SetAutoLoadGroup(call, true);
  EXPECT_TRUE(channelInternal->GetAutoLoadGroup(call));
  EXPECT_FALSE(channelInternal->GetDynamicAutoLoadGroup(call));
  channelInternal->SetDynamicAutoLoadGroup(call, true);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(call));
  EXPECT_TRUE(channelInternal->GetDynamicAutoLoadGroup(call));
  channelInternal->SetDynamicAutoLoadGroup(call, false);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(call));
  EXPECT_FALSE(channelInternal->GetDynamicAutoLoadGroup(call));

  channelInternal->SetRequestedPublicChannelNr(call, 9);
  EXPECT_EQ(channelInternal->GetPublicCallInfo(call).poolNr, 9);
  TestChannel* plain = Loose();
  channelInternal->SetAutoLoadGroup(plain, true);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(plain));
  EXPECT_EQ(channelInternal->TranslateGroupInterfaceNr(plain, 5), 5);
  EXPECT_EQ(channelInternal->TranslateGroupInterfaceNr(call, 5), 5);  // no interface map entries
}

// Two registered groups: "Target" publishes a channel, "Caller" calls it.
class PublicCallTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    target_ = engine_->CreateNewGroup("Target", false, 0);
    callers_ = engine_->CreateNewGroup("Caller", false, 0);
    parent_ = new TestChannel({{VLT_WILDCARD_GUID, false}}, kTypeX, kTypeX, "parent");
    callers_->AddChannel(parent_);
    call_ = NewCall();
    parent_->SetChild(call_, -1, 0);
  }

  // A public-call channel in the caller group that calls Light of Target.
  TestChannel* NewCall() {
    auto* call = new TestChannel({}, kTypeA, kTypeA, "call");
    callers_->AddChannel(call);
    call->SetChannelInterfaceType(VCO_PUBLICCALL);
    PublicCallInfo info;
    std::strcpy(info.channelName, "LIGHT");
    std::strcpy(info.poolName, "target");
    info.autoLoadGroup = 0;
    channelInternal->SetPublicCallInfo(call, info);
    return call;
  }

  TestChannel* Publish(const char* name, GUID type = kTypeA) {
    auto* c = new TestChannel({}, type, type, name);
    target_->AddChannel(c);
    c->SetChannelInterfaceType(VCO_PUBLIC);
    return c;
  }

  Vlt_ChannelGroup* target_ = nullptr;
  Vlt_ChannelGroup* callers_ = nullptr;
  TestChannel* parent_ = nullptr;
  TestChannel* call_ = nullptr;
};

TEST_F(PublicCallTest, GetChildAnswersThePublicChannel) {
  TestChannel* light = Publish("Light");
  EXPECT_EQ(parent_->GetChild(0), light);
  EXPECT_EQ(channelInternal->GetPublicChannelForPublicCall(call_, false), light);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PublicCallTest, ADifferentBaseTypeIsNoMatch) {
  Publish("Light", kTypeB);
  EXPECT_EQ(parent_->GetChild(0), nullptr);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PublicCallTest, AWaitingCallBindsWhenTheTargetPublishes) {
  EXPECT_EQ(parent_->GetChild(0), nullptr);
  EXPECT_EQ(parent_->GetChild(0), nullptr);
  auto* light = new TestChannel({}, kTypeA, kTypeA, "Light");
  target_->AddChannel(light);
  light->SetChannelInterfaceType(VCO_PUBLIC);
  // Until the group publishes, the call keeps waiting instead of searching again.
  EXPECT_EQ(parent_->GetChild(0), nullptr);
  target_->CheckPublicChannels();
  EXPECT_EQ(parent_->GetChild(0), light);
}

TEST_F(PublicCallTest, RemovingThePublicChannelUnbindsTheCall) {
  TestChannel* light = Publish("Light");
  ASSERT_EQ(parent_->GetChild(0), light);
  light->SetChannelInterfaceType(VCO_NONE);
  EXPECT_EQ(parent_->GetChild(0), nullptr);
  TestChannel* again = Publish("Light");
  target_->CheckPublicChannels();
  EXPECT_EQ(parent_->GetChild(0), again);
  target_->RemoveChannel(again);
  EXPECT_EQ(parent_->GetChild(0), nullptr);
}

TEST_F(PublicCallTest, UnresolvedArgumentsWaitAtTheRankOfTheirPosition) {
  TestChannel* args[3];
  for (int k = 0; k < 3; ++k) {
    args[k] = new TestChannel({}, kTypeB, kTypeB, ("arg" + std::to_string(k)).c_str());
    callers_->AddChannel(args[k]);
  }
  EXPECT_EQ(call_->SetChild(args[2], -1, 2), 2);
  EXPECT_EQ(call_->SetChild(args[0], -1, 0), 0);
  EXPECT_EQ(call_->SetChild(args[1], -1, 1), 1);
  EXPECT_EQ(Layout(call_), (std::vector<std::string>{"arg0", "arg1", "arg2", "H0"}));
  EXPECT_EQ(channelInternal->GetChildCreationCount(call_), 1);
  ChildCreation* unresolved = channelInternal->GetChildCreateType(call_, 0);
  ASSERT_NE(unresolved, nullptr);
  EXPECT_EQ(unresolved->requestLink, -1);
  EXPECT_TRUE(VltGuidEqual(unresolved->acceptedType.typeGuid, VLT_WILDCARD_GUID));
}

TEST_F(PublicCallTest, ParameterChannelsResolveToTheCallersChildren) {
  for (const char* name : {"P0", "P1"}) {
    ParameterInterfaceInfo declared;
    std::strcpy(declared.name, name);
    declared.type = kTypeB;
    target_->AddParameterInfo(declared);
  }
  auto* inner = new TestChannel({{VLT_WILDCARD_GUID, true}}, kTypeY, kTypeY, "inner");
  target_->AddChannel(inner);
  auto* parameter = new TestChannel({}, kTypeB, kTypeB, "parameter");
  target_->AddChannel(parameter);
  parameter->SetChannelInterfaceType(VCO_PARAMETER);
  channelInternal->SetParameterInfo(parameter, 1);
  inner->SetChild(parameter, -1, 0);

  auto* first = new TestChannel({}, kTypeB, kTypeB, "first");
  auto* second = new TestChannel({}, kTypeB, kTypeB, "second");
  callers_->AddChannel(first);
  callers_->AddChannel(second);
  call_->SetChild(first, -1, 0);
  call_->SetChild(second, -1, 1);
  TestChannel* light = Publish("Light");
  target_->CheckPublicChannels();

  EXPECT_EQ(inner->GetChild(0), nullptr);  // nobody called the group yet
  ASSERT_EQ(parent_->GetChild(0), light);
  EXPECT_EQ(inner->GetChild(0), second);
  EXPECT_EQ(channelInternal->GetInternalChild(inner, 0), parameter);
}

TEST_F(PublicCallTest, RemovingAChildComparesWhatTheEntryStandsFor) {
  TestChannel* light = Publish("Light");
  TestChannel* other = new TestChannel({}, kTypeA, kTypeA, "other");
  callers_->AddChannel(other);
  parent_->SetChild(other, -1, 0);
  channelInternal->RemoveChild(parent_, light);
  EXPECT_EQ(Layout(parent_), (std::vector<std::string>{"-", "other", "H0"}));
}

TEST_F(PublicCallTest, CallingTimesMoveOnlyWhileTracking) {
  TestChannel* light = Publish("Light");
  const int parentTime = channelInternal->GetChannelGetChildTime(parent_);
  const int lightTime = channelInternal->GetChannelGetChildTime(light);
  vplat::sleepMs(30);
  ASSERT_EQ(parent_->GetChild(0), light);
  EXPECT_EQ(channelInternal->GetChannelGetChildTime(parent_), parentTime);
  EXPECT_EQ(channelInternal->GetChannelGetChildTime(light), lightTime);

  engine_->GetExt()->SetIfTrackChannelCalling(true);
  ASSERT_EQ(parent_->GetChild(0), light);
  EXPECT_NE(channelInternal->GetChannelGetChildTime(parent_), parentTime);
  EXPECT_NE(channelInternal->GetChannelGetChildTime(call_), parentTime);
  EXPECT_NE(channelInternal->GetChannelGetChildTime(light), lightTime);

  // Channels outside a registered group keep their time.
  TestChannel* loose = Loose({{VLT_WILDCARD_GUID, true}});
  const int looseTime = channelInternal->GetChannelGetChildTime(loose);
  vplat::sleepMs(30);
  loose->GetChild(0);
  EXPECT_EQ(channelInternal->GetChannelGetChildTime(loose), looseTime);
  engine_->GetExt()->SetIfTrackChannelCalling(false);
}

struct NameCase {
  std::vector<std::string> names;  // made public one after the other in one group
  std::vector<std::string> expected;
};

TEST_F(ChannelResolveTest, PublicNamesAreMadeUniqueInTheGroup) {
  const std::string longName(500, 'L');
  const NameCase cases[] = {
      {{"Light", "Light", "light"}, {"Light", "Light(02)", "light(03)"}},
      {{"Button(03)", "Button(03)"}, {"Button(03)", "Button(04)"}},
      {{"Button(50)", "Button(50)"}, {"Button(50)", "Button(50)(02)"}},
      {{"Button(09)", "Button(09)"}, {"Button(09)", "Button(10)"}},
      {{"X(9)", "X(9)"}, {"X(9)", "X(9)(02)"}},
      {{"Light", "Light(02)", "Light"}, {"Light", "Light(02)", "Light(03)"}},
      {{longName, longName}, {longName, longName.substr(0, 496) + "(02)"}},
  };
  for (const NameCase& c : cases) {
    Vlt_ChannelGroup group(engine_);
    std::vector<TestChannel*> channels;
    for (const std::string& name : c.names) {
      auto* ch = new TestChannel({}, kTypeA, kTypeA, name.c_str());
      group.AddChannel(ch);
      ch->SetChannelInterfaceType(VCO_PUBLIC);
      channels.push_back(ch);
    }
    for (size_t i = 0; i < channels.size(); ++i)
      EXPECT_EQ(channels[i]->GetChannelName(), c.expected[i]) << i;
  }
  // Only public channels count as duplicates, and only public channels are renamed.
  Vlt_ChannelGroup group(engine_);
  auto* plain = new TestChannel({}, kTypeA, kTypeA, "Lamp");
  auto* pub = new TestChannel({}, kTypeA, kTypeA, "Lamp");
  group.AddChannel(plain);
  group.AddChannel(pub);
  pub->SetChannelInterfaceType(VCO_PUBLIC);
  EXPECT_STREQ(pub->GetChannelName(), "Lamp");
  plain->SetChannelInterfaceType(VCO_INDIRECT);
  plain->SetChannelInterfaceType(VCO_PUBLICINDIRECT);
  EXPECT_STREQ(plain->GetChannelName(), "Lamp(02)");
}

TEST_F(ChannelResolveTest, IndirectChildrenAskTheChannelItself) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, true}});
  TestChannel* indirect = Loose({}, kTypeB, kTypeB, "indirect");
  indirect->SetChannelInterfaceType(VCO_INDIRECT);
  parent->SetChild(indirect, -1, 0);
  // The base draws from pools, and a channel that is no pool user supplies nothing.
  EXPECT_EQ(parent->GetChild(0), nullptr);
  EXPECT_EQ(parent->GetInternalChild(0), indirect);
  EXPECT_EQ(parent->GetPoolChannelCount(), 0);
  EXPECT_EQ(parent->GetPoolChannel(0), nullptr);
}

TEST_F(ChannelResolveTest, TimeStampsChangeOnEveryMark) {
  TestChannel* c = Loose();
  const uint32_t first = c->GetTimeStamp();
  c->SetTimeStamp();
  const uint32_t second = c->GetTimeStamp();
  EXPECT_NE(first, second);
  c->SetTimeStamp();
  EXPECT_NE(second, c->GetTimeStamp());
}

}  // namespace
}  // namespace graphtest
