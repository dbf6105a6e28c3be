// The link positions of a public call: one waiting position while the target is unknown, then
// the parameters the target shows its callers, and the arguments that reach the target's
// parameter channels through them.
#include <string>
#include <vector>

#include "GraphFixture.h"

namespace graphtest {
namespace {

// A group "Target" with parameters and a public channel Light, and a group "Caller" whose
// parent holds a call of Light.
class PublicCallMirrorTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    target_ = engine_->CreateNewGroup("Target", false, 0);
    callers_ = engine_->CreateNewGroup("Caller", false, 0);
    parent_ = new TestChannel({{VLT_WILDCARD_GUID, false}}, kTypeY, kTypeY, "parent");
    callers_->AddChannel(parent_);
    call_ = NewCall("target");
    parent_->SetChild(call_, -1, 0);
  }

  TestChannel* NewCall(const char* poolName) {
    auto* call = new TestChannel({}, kTypeA, kTypeA, "call");
    callers_->AddChannel(call);
    call->SetChannelInterfaceType(VCO_PUBLICCALL);
    PublicCallInfo info;
    std::strcpy(info.channelName, "Light");
    std::strcpy(info.poolName, poolName);
    info.autoLoadGroup = 0;
    channelInternal->SetPublicCallInfo(call, info);
    return call;
  }

  // Parameter i of the target is named P<i> and has the type given; a null type leaves the
  // slot declared but typeless.
  void DeclareParameters(Vlt_ChannelGroup* group, const std::vector<GUID>& types) {
    for (size_t i = 0; i < types.size(); ++i) {
      ParameterInterfaceInfo info;
      std::snprintf(info.name, sizeof(info.name), "P%d", static_cast<int>(i));
      info.type = types[i];
      ASSERT_EQ(group->AddParameterInfo(info), static_cast<int>(i));
    }
  }

  // Light becomes public in the group; waiting calls bind once the group publishes.
  TestChannel* MakeLight(Vlt_ChannelGroup* group) {
    auto* light = new TestChannel({}, kTypeA, kTypeA, "Light");
    group->AddChannel(light);
    light->SetChannelInterfaceType(VCO_PUBLIC);
    return light;
  }
  TestChannel* Publish(Vlt_ChannelGroup* group) {
    TestChannel* light = MakeLight(group);
    group->CheckPublicChannels();
    return light;
  }

  TestChannel* Argument(const std::string& name, GUID type) {
    auto* c = new TestChannel({}, type, type, name.c_str());
    callers_->AddChannel(c);
    return c;
  }

  // A channel of the target that reads parameter n through a parameter channel.
  TestChannel* Reader(int n) {
    auto* reader = new TestChannel({{VLT_WILDCARD_GUID, true}}, kTypeY, kTypeY, "reader");
    target_->AddChannel(reader);
    auto* parameter = new TestChannel({}, kTypeB, kTypeB, "parameter");
    target_->AddChannel(parameter);
    parameter->SetChannelInterfaceType(VCO_PARAMETER);
    channelInternal->SetParameterInfo(parameter, n);
    reader->SetChild(parameter, -1, 0);
    return reader;
  }

  // Accepted type of every position the call reports; null where a position is missing.
  std::vector<GUID> PositionTypes(Vlt_Channel* call) {
    std::vector<GUID> types;
    const int count = channelInternal->GetChildCreationCount(call);
    for (int i = 0; i < count; ++i) {
      ChildCreation* cc = channelInternal->GetChildCreateType(call, i);
      types.push_back(cc != nullptr ? cc->acceptedType.typeGuid : VLT_NULL_GUID);
    }
    return types;
  }

  Vlt_ChannelGroup* target_ = nullptr;
  Vlt_ChannelGroup* callers_ = nullptr;
  TestChannel* parent_ = nullptr;
  TestChannel* call_ = nullptr;
};

bool SameGuids(const std::vector<GUID>& a, const std::vector<GUID>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!VltGuidEqual(a[i], b[i])) return false;
  return true;
}

TEST_F(PublicCallMirrorTest, WaitingArgumentsMoveIntoTheirPositionsWithTheirReservedValues) {
  DeclareParameters(target_, {kTypeA, kTypeB, kTypeX});
  TestChannel* args[3] = {Argument("a0", kTypeA), Argument("a1", kTypeB), Argument("a2", kTypeX)};
  ASSERT_EQ(call_->SetChild(args[1], -1, 1), 1);
  ASSERT_EQ(call_->SetChild(args[0], -1, 0), 0);
  ASSERT_EQ(call_->SetChild(args[2], -1, 2), 2);
  for (int k = 0; k < 3; ++k) call_->GetChildInfo(k)->reserved = 70 + k;
  ASSERT_EQ(Layout(call_), (std::vector<std::string>{"a0", "a1", "a2", "H0"}));

  Publish(target_);
  ASSERT_EQ(channelInternal->GetChildCreationCount(call_), 3);
  EXPECT_EQ(Layout(call_), (std::vector<std::string>{"a0", "a1", "a2"}));
  for (int k = 0; k < 3; ++k) {
    ChildCreation* cc = channelInternal->GetChildCreateType(call_, k);
    ASSERT_NE(cc, nullptr) << k;
    EXPECT_EQ(cc->requestLink, k);
    EXPECT_EQ(cc->createDefaultChild, 0);
    EXPECT_EQ(std::string(cc->linkName), "P" + std::to_string(k));
    EXPECT_EQ(std::string(cc->acceptedType.name), "P" + std::to_string(k));
    EXPECT_TRUE(VltGuidEqual(cc->acceptedType.baseGuid, cc->acceptedType.typeGuid));
    ASSERT_NE(cc->head, nullptr);
    EXPECT_EQ(cc->head->isVariable, 0);
    EXPECT_EQ(call_->GetChildFromLinkPosition(k, 0), args[k]);
    EXPECT_EQ(call_->GetChildInfo(k)->reserved, 70 + k);
  }
  // Now single positions: a new argument replaces the one in its position.
  TestChannel* other = Argument("other", kTypeB);
  EXPECT_EQ(call_->SetChild(other, -1, 1), 1);
  EXPECT_EQ(Layout(call_), (std::vector<std::string>{"a0", "other", "a2"}));
  EXPECT_TRUE(Messages().empty());
}

// The parameters a target declares, the public interface of Light (or none), the positions the
// call gets, and for each parameter n the position whose argument it reads (-1: none).
struct MirrorCase {
  const char* name;
  std::vector<GUID> parameters;
  bool useInterface;
  std::vector<int> items;
  std::vector<GUID> positions;
  std::vector<int> parameterToPosition;
};

class PublicCallMirrorCaseTest : public PublicCallMirrorTest,
                                 public ::testing::WithParamInterface<MirrorCase> {};

TEST_P(PublicCallMirrorCaseTest, ParametersArriveThroughTheirMirroredPositions) {
  const MirrorCase& c = GetParam();
  DeclareParameters(target_, c.parameters);
  // One argument per position, of the type the position will accept, linked while the target
  // is unknown; none of the call's positions is asked for before the target's channels run.
  std::vector<TestChannel*> args;
  for (size_t i = 0; i < c.positions.size(); ++i) {
    const bool exists = !VltGuidEqual(c.positions[i], VLT_NULL_GUID);
    args.push_back(exists ? Argument("arg" + std::to_string(i), c.positions[i]) : nullptr);
    if (exists) {
      ASSERT_EQ(call_->SetChild(args.back(), -1, static_cast<int>(i)), static_cast<int>(i));
    }
  }
  TestChannel* light = MakeLight(target_);
  if (c.useInterface) {
    channelInternal->CreatePublicInterface(light);
    for (int item : c.items) channelInternal->AddInterfaceItem(light, item);
  }
  target_->CheckPublicChannels();
  std::vector<TestChannel*> readers;
  for (size_t n = 0; n < c.parameterToPosition.size(); ++n)
    readers.push_back(Reader(static_cast<int>(n)));

  ASSERT_EQ(parent_->GetChild(0), light);
  for (size_t n = 0; n < readers.size(); ++n) {
    const int position = c.parameterToPosition[n];
    EXPECT_EQ(readers[n]->GetChild(0), position < 0 ? nullptr : args[position])
        << "parameter " << n;
  }
  EXPECT_TRUE(SameGuids(PositionTypes(call_), c.positions));
  for (size_t i = 0; i < c.positions.size(); ++i) {
    const bool exists = !VltGuidEqual(c.positions[i], VLT_NULL_GUID);
    EXPECT_EQ(channelInternal->GetChildCreateType(call_, static_cast<int>(i)) != nullptr, exists)
        << "position " << i;
    EXPECT_EQ(channelInternal->GetInternalChild(call_, static_cast<int>(i)), args[i])
        << "position " << i;
  }
  EXPECT_TRUE(Messages().empty());
}

const GUID kNone = VLT_NULL_GUID;

INSTANTIATE_TEST_SUITE_P(
    Interfaces, PublicCallMirrorCaseTest,
    ::testing::Values(MirrorCase{"AllParametersInOrder",
                                 {kTypeA, kTypeB, kTypeX},
                                 false,
                                 {},
                                 {kTypeA, kTypeB, kTypeX},
                                 {0, 1, 2}},
                      MirrorCase{"ItemsTwoThenZero",
                                 {kTypeA, kTypeB, kTypeX},
                                 true,
                                 {2, 0},
                                 {kTypeX, kTypeA},
                                 {1, -1, 0}},
                      MirrorCase{
                          "OneItem", {kTypeA, kTypeB, kTypeX}, true, {1}, {kTypeB}, {-1, 0, -1}},
                      MirrorCase{"ItemBeyondTheParameters",
                                 {kTypeA, kTypeB},
                                 true,
                                 {1, 5},
                                 {kTypeB, kNone},
                                 {-1, 0, -1}},
                      MirrorCase{"TypelessParameter",
                                 {kTypeA, kNone, kTypeX},
                                 false,
                                 {},
                                 {kTypeA, kNone, kTypeX},
                                 {0, -1, 2}},
                      MirrorCase{"EmptyInterface", {kTypeA, kTypeB}, true, {}, {}, {-1, -1}}),
    [](const ::testing::TestParamInfo<MirrorCase>& info) { return info.param.name; });

TEST_F(PublicCallMirrorTest, InterfaceItemsTranslateParameterNumbers) {
  DeclareParameters(target_, {kTypeA, kTypeB, kTypeX});
  TestChannel* light = Publish(target_);
  channelInternal->AddInterfaceItem(light, 2);
  channelInternal->AddInterfaceItem(light, 0);
  EXPECT_TRUE(channelInternal->GetIfUsePublicInterface(light));
  EXPECT_EQ(channelInternal->GetPublicInterfaceCount(light), 2);
  EXPECT_EQ(channelInternal->GetPublicInterfaceItemNr(light, 1), 0);
  EXPECT_EQ(channelInternal->GetPublicInterfaceItemNr(light, 2), -1);
  ASSERT_EQ(channelInternal->GetChildCreationCount(call_), 2);
  // A position of another type refuses the argument.
  EXPECT_EQ(call_->SetChild(Argument("wrong", kTypeA), -1, 0), -1);
  EXPECT_EQ(call_->SetChild(Argument("right", kTypeX), -1, 0), 0);
  // The map is filled as positions are built.
  EXPECT_EQ(channelInternal->TranslateGroupInterfaceNr(call_, 0), -1);
  EXPECT_TRUE(SameGuids(PositionTypes(call_), {kTypeX, kTypeA}));
  const int expected[] = {1, -1, 0, -1};
  for (int n = 0; n < 4; ++n)
    EXPECT_EQ(channelInternal->TranslateGroupInterfaceNr(call_, n), expected[n]) << n;
}

TEST_F(PublicCallMirrorTest, AnInterfaceFromAnotherGroupIsNotUsed) {
  DeclareParameters(target_, {kTypeA, kTypeB, kTypeX});
  TestChannel* light = Publish(target_);
  channelInternal->AddInterfaceItem(light, 2);
  // Moved into another group, the channel keeps a record that names its first group.
  Vlt_ChannelGroup* other = engine_->CreateNewGroup("Other", false, 0);
  ASSERT_TRUE(target_->TransferChannel(light->GetChannelIDIndexNr(), other));
  ASSERT_EQ(light->GetChannelGroup(), other);
  recorder_.messages.clear();
  EXPECT_FALSE(channelInternal->GetIfUsePublicInterface(light));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Error public channel has different channel group guid!");
  EXPECT_EQ(channelInternal->GetPublicInterfaceCount(light), 1);
}

TEST_F(PublicCallMirrorTest, CreatingAnInterfaceNeedsAGroup) {
  TestChannel* loose = Loose();
  channelInternal->AddInterfaceItem(loose, 1);
  EXPECT_EQ(channelInternal->GetPublicInterfaceCount(loose), 0);
  EXPECT_FALSE(channelInternal->GetIfUsePublicInterface(loose));
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages()[0].text,
            "ChannelInternal::CreatePublicInterface error creating interface no channel group in "
            "channel");
}

// A change of Light's interface or of the target's parameters, made after the call mirrored
// the interface [2, 0, 1] of parameters A, B, X.
struct InterfaceChange {
  const char* name;
  void (*change)(Vlt_Channel* light, Vlt_ChannelGroup* target);
  bool drops;
  std::vector<GUID> positions;  // after the change
};

class InterfaceChangeTest : public PublicCallMirrorTest,
                            public ::testing::WithParamInterface<InterfaceChange> {};

TEST_P(InterfaceChangeTest, DropsThePositionsAndTheNextUseRebuildsThem) {
  const InterfaceChange& c = GetParam();
  DeclareParameters(target_, {kTypeA, kTypeB, kTypeX});
  TestChannel* light = Publish(target_);
  for (int item : {2, 0, 1}) channelInternal->AddInterfaceItem(light, item);
  TestChannel* args[3] = {Argument("x", kTypeX), Argument("a", kTypeA), Argument("b", kTypeB)};
  for (int i = 0; i < 3; ++i) ASSERT_EQ(call_->SetChild(args[i], -1, i), i);
  // A call into another pool waits with its argument and is left alone.
  TestChannel* elsewhere = NewCall("elsewhere");
  TestChannel* waiting = Argument("waiting", kTypeA);
  elsewhere->SetChild(waiting, -1, 0);

  c.change(light, target_);
  EXPECT_EQ(Layout(elsewhere), (std::vector<std::string>{"waiting", "H0"}));
  if (!c.drops) {
    EXPECT_EQ(Layout(call_), (std::vector<std::string>{"x", "a", "b"}));
    return;
  }
  EXPECT_EQ(call_->GetChildCount(), 0);
  EXPECT_TRUE(SameGuids(PositionTypes(call_), c.positions));
  // The map is rebuilt with the positions: parameter 2 now reads position 2 or nothing.
  channelInternal->ReCreateChildInterface(call_);
  EXPECT_EQ(call_->GetChildCount(), static_cast<int>(c.positions.size()));
  int position = -1;
  for (size_t i = 0; i < c.positions.size(); ++i)
    if (VltGuidEqual(c.positions[i], kTypeX)) position = static_cast<int>(i);
  EXPECT_EQ(channelInternal->TranslateGroupInterfaceNr(call_, 2), position);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, InterfaceChangeTest,
    ::testing::Values(InterfaceChange{"RemoveFirstItem",
                                      [](Vlt_Channel* l, Vlt_ChannelGroup*) {
                                        channelInternal->RemoveInterfaceItem(l, 0);
                                      },
                                      true,
                                      {kTypeA, kTypeB}},
                      InterfaceChange{"SwapFirstTwo",
                                      [](Vlt_Channel* l, Vlt_ChannelGroup*) {
                                        channelInternal->SwapInterfaceItems(l, 0, 1);
                                      },
                                      true,
                                      {kTypeA, kTypeX, kTypeB}},
                      InterfaceChange{"MoveFirstToTheEnd",
                                      [](Vlt_Channel* l, Vlt_ChannelGroup*) {
                                        channelInternal->SwapInterfaceItems(l, 0, -2);
                                      },
                                      true,
                                      {kTypeA, kTypeB, kTypeX}},
                      InterfaceChange{"SwapWithItself",
                                      [](Vlt_Channel* l, Vlt_ChannelGroup*) {
                                        channelInternal->SwapInterfaceItems(l, 1, 1);
                                      },
                                      false,
                                      {}},
                      InterfaceChange{
                          "RemoveLastParameter",
                          [](Vlt_Channel*, Vlt_ChannelGroup* g) { g->RemoveParameterInfo(2); },
                          true,
                          {kNone, kTypeA, kTypeB}}),
    [](const ::testing::TestParamInfo<InterfaceChange>& info) { return info.param.name; });

TEST_F(PublicCallMirrorTest, ANewRecordSendsTheArgumentsBackToWait) {
  DeclareParameters(target_, {kTypeA, kTypeB, kTypeX});
  Publish(target_);
  TestChannel* args[3] = {Argument("a", kTypeA), Argument("b", kTypeB), Argument("x", kTypeX)};
  for (int i = 0; i < 3; ++i) ASSERT_EQ(call_->SetChild(args[i], -1, i), i);
  call_->GetChildInfo(1)->reserved = 9;

  // The new target declares only A and B: the arguments wait at their ranks, then the first
  // two find their positions again.
  Vlt_ChannelGroup* other = engine_->CreateNewGroup("Other", false, 0);
  DeclareParameters(other, {kTypeA, kTypeB});
  PublicCallInfo info = channelInternal->GetPublicCallInfo(call_);
  std::strcpy(info.poolName, "other");
  ASSERT_TRUE(channelInternal->SetPublicCallInfo(call_, info));
  EXPECT_EQ(Layout(call_), (std::vector<std::string>{"a", "b", "x", "H0"}));
  EXPECT_EQ(call_->GetChildInfo(1)->reserved, 9);

  TestChannel* otherLight = Publish(other);
  ASSERT_EQ(channelInternal->GetInternalPublicChannelForPublicCall(call_, false), otherLight);
  EXPECT_TRUE(SameGuids(PositionTypes(call_), {kTypeA, kTypeB}));
  EXPECT_EQ(Layout(call_), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(call_->GetChildInfo(1)->reserved, 9);
}

// How a call raises the target's tree count and whether it becomes the target's caller.
struct TreeCountCase {
  int mode;
  bool withArgument;
  bool raised;
};

TEST_F(PublicCallMirrorTest, ActivationFollowsTheTreeCountMode) {
  DeclareParameters(target_, {kTypeB});
  TestChannel* light = Publish(target_);
  TestChannel* argument = Argument("argument", kTypeB);
  const TreeCountCase cases[] = {{0, false, false}, {0, true, false}, {1, false, false},
                                 {1, true, true},   {2, false, true}, {2, true, true}};
  for (const TreeCountCase& c : cases) {
    TestChannel* call = NewCall("target");
    channelInternal->SetTreeCountMode(call, c.mode);
    if (c.withArgument) {
      ASSERT_EQ(call->SetChild(argument, -1, 0), 0);
    }
    target_->SetParameterChannel(call_);
    const int before = target_->GetTreeCalculateCount();
    ASSERT_EQ(channelInternal->GetPublicChannelForPublicCall(call, true), light);
    EXPECT_EQ(target_->GetTreeCalculateCount() != before, c.raised)
        << c.mode << " " << c.withArgument;
    EXPECT_EQ(target_->GetParameterChannel(0), c.withArgument ? argument : nullptr) << c.mode;

    // Resolving without activation changes neither.
    target_->SetParameterChannel(nullptr);
    const int after = target_->GetTreeCalculateCount();
    EXPECT_EQ(channelInternal->GetPublicChannelForPublicCall(call, false), light);
    EXPECT_EQ(target_->GetTreeCalculateCount(), after);
    EXPECT_EQ(target_->GetParameterChannel(0), nullptr);
  }
}

}  // namespace
}  // namespace graphtest
