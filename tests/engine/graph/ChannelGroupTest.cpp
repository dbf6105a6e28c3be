// The channel group in memory: slots, removal, transfer, release, running, parameters, public
// channels, requests and the failure reports of the file operations.
#include <string>
#include <vector>

#include "GraphFixture.h"

namespace graphtest {
namespace {

class ChannelGroupTest : public GraphTest {
 protected:
  // A channel with one variable position, added to the group.
  TestChannel* Add(Vlt_ChannelGroup* group, const char* name, GUID type = kTypeA) {
    auto* c = new TestChannel({{VLT_WILDCARD_GUID, false}}, type, type, name);
    group->AddChannel(c);
    return c;
  }

  static std::vector<std::string> Slots(Vlt_ChannelGroup* group) {
    std::vector<std::string> out;
    for (int i = 0; i < group->GetChannelCount(); ++i)
      out.push_back(group->GetChannel(i) != nullptr ? group->GetChannel(i)->GetChannelName() : "-");
    return out;
  }
};

TEST_F(ChannelGroupTest, ANewGroupStartsEmptyWithItsOwnIdentity) {
  Vlt_ChannelGroup a;
  Vlt_ChannelGroup b(engine_);
  EXPECT_EQ(a.GetEngineInterface(), engine_);
  EXPECT_EQ(a.GetChannelCount(), 0);
  EXPECT_EQ(a.GetGroupIndex(), -1);
  EXPECT_EQ(a.GetPoolNr(), -1);
  EXPECT_EQ(a.GetStartChannel(), 0);
  EXPECT_FALSE(a.GetReadOnly());
  EXPECT_FALSE(a.GetIfArrayGroup());
  EXPECT_FALSE(a.GetGroupIsProtected());
  GUID type = kTypeA;
  EXPECT_EQ(a.GetChannelTypeChangeSave(&type), -1);
  EXPECT_TRUE(VltGuidIsNull(type));
  EXPECT_FALSE(VltGuidIsNull(a.GetUniqueGroupGuid()));
  EXPECT_FALSE(VltGuidEqual(a.GetUniqueGroupGuid(), b.GetUniqueGroupGuid()));
}

TEST_F(ChannelGroupTest, ChannelsKeepTheirSlotsAndEmptySlotsAreReused) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* a = Add(&group, "A");
  TestChannel* b = Add(&group, "B");
  Add(&group, "C");
  EXPECT_EQ(a->GetChannelIDIndexNr(), 0);
  EXPECT_EQ(b->GetChannelGroup(), &group);
  EXPECT_TRUE(group.RemoveChannel(b));
  EXPECT_EQ(Slots(&group), (std::vector<std::string>{"A", "-", "C"}));

  TestChannel* d = Add(&group, "D");
  EXPECT_EQ(d->GetChannelIDIndexNr(), 1);
  EXPECT_EQ(Slots(&group), (std::vector<std::string>{"A", "D", "C"}));
  EXPECT_EQ(group.AddChannel(a), 0);  // already in: nothing changes
  EXPECT_EQ(group.GetChannelCount(), 3);

  EXPECT_FALSE(group.RemoveChannel(7));
  EXPECT_FALSE(group.RemoveChannel(-1));
  TestChannel* outsider = Loose();
  EXPECT_FALSE(group.RemoveChannel(outsider));
  EXPECT_FALSE(group.GetIfChannelInGroup(outsider));
  EXPECT_FALSE(group.GetIfChannelInGroup(nullptr));
  EXPECT_TRUE(group.GetIfChannelInGroup(d));
  EXPECT_TRUE(group.RemoveChannel(0));
  EXPECT_FALSE(group.RemoveChannel(0));
}

TEST_F(ChannelGroupTest, RemovingAChannelClearsLinksToIt) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* a = Add(&group, "A");
  TestChannel* b = Add(&group, "B");
  TestChannel* c = Add(&group, "C");
  a->SetChild(b, -1, 0);
  a->SetChild(c, -1, 0);
  c->SetChild(b, -1, 0);
  EXPECT_TRUE(group.RemoveChannel(1));
  EXPECT_EQ(Layout(a), (std::vector<std::string>{"-", "C", "H0"}));
  EXPECT_EQ(Layout(c), (std::vector<std::string>{"-", "H0"}));
}

TEST_F(ChannelGroupTest, TransferMovesTheChannelAndLeavesLinks) {
  Vlt_ChannelGroup source(engine_);
  Vlt_ChannelGroup target(engine_);
  Add(&target, "T0");
  TestChannel* a = Add(&source, "A");
  TestChannel* b = Add(&source, "B");
  a->SetChild(b, -1, 0);

  EXPECT_TRUE(source.TransferChannel(1, &target));
  EXPECT_EQ(Slots(&source), (std::vector<std::string>{"A", "-"}));
  EXPECT_EQ(Slots(&target), (std::vector<std::string>{"T0", "B"}));
  EXPECT_EQ(b->GetChannelGroup(), &target);
  EXPECT_EQ(b->GetChannelIDIndexNr(), 1);
  EXPECT_EQ(a->GetInternalChild(0), b);

  EXPECT_FALSE(source.TransferChannel(1, &target));
  EXPECT_FALSE(source.TransferChannel(5, &target));
  EXPECT_FALSE(source.TransferChannel(0, nullptr));
  a->RemoveChild(0);  // the link would outlive B once the target group goes
}

TEST_F(ChannelGroupTest, ReleaseEmptiesEverySlotButKeepsTheCountAndIdentity) {
  Vlt_ChannelGroup group(engine_);
  Add(&group, "A");
  Add(&group, "B");
  Add(&group, "C");
  group.SetStartChannel(2);
  group.SetPoolName("Pool");
  group.SetPoolNr(4);
  group.SetChannelGroupFileName("file.cgr");
  ParameterInterfaceInfo info;
  std::strcpy(info.name, "P");
  group.AddParameterInfo(info);
  const GUID guid = group.GetUniqueGroupGuid();

  group.Release();
  EXPECT_EQ(Slots(&group), (std::vector<std::string>{"-", "-", "-"}));
  EXPECT_EQ(group.GetStartChannel(), 0);
  EXPECT_EQ(group.GetParameterCount(), 0);
  EXPECT_STREQ(group.GetPoolName(), "Pool");
  EXPECT_EQ(group.GetPoolNr(), 4);
  EXPECT_STREQ(group.GetChannelGroupFileName(), "file.cgr");
  EXPECT_TRUE(VltGuidEqual(group.GetUniqueGroupGuid(), guid));
  EXPECT_EQ(Add(&group, "D")->GetChannelIDIndexNr(), 0);
}

TEST_F(ChannelGroupTest, TheStartChannelRunsOncePerCall) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* first = Add(&group, "first");
  TestChannel* second = Add(&group, "second");
  group.SetStartChannel(-1);
  group.CallStartChannel();
  EXPECT_EQ(first->calls, 1);
  group.SetStartChannel(1);
  group.CallStartChannel();
  EXPECT_EQ(second->calls, 1);
  group.RemoveChannel(1);
  const int before = group.GetTreeCalculateCount();
  group.CallStartChannel();  // an empty slot runs nothing, but the pass still counts
  EXPECT_EQ(group.GetTreeCalculateCount(), before + 1);
  EXPECT_EQ(first->calls, 1);
}

TEST_F(ChannelGroupTest, TreeCountAddsTheEnginesCountAndWrapsAfter30000) {
  Vlt_ChannelGroup group(engine_);
  engine_->SetTreeCalculateCount(0);
  EXPECT_EQ(group.GetTreeCalculateCount(), -1);
  std::vector<int> seen;
  for (int i = 1; i <= 30003; ++i) {
    group.IncreaseTreeCount();
    if (i <= 2 || i >= 30000) seen.push_back(group.GetTreeCalculateCount());
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 29999, 30000, 0, 1}));
  engine_->SetTreeCalculateCount(100);
  EXPECT_EQ(group.GetTreeCalculateCount(), 101);
}

TEST_F(ChannelGroupTest, ParameterSlotsAreReusedAndNamesCut) {
  Vlt_ChannelGroup group(engine_);
  ParameterInterfaceInfo p0, p1, p2;
  std::strcpy(p0.name, "zero");
  p0.type = kTypeA;
  std::strcpy(p1.name, "one");
  p1.type = kTypeB;
  std::memset(p2.name, 'n', sizeof(p2.name));  // 40 characters, unterminated
  p2.type = kTypeX;
  EXPECT_EQ(group.AddParameterInfo(p0), 0);
  EXPECT_EQ(group.AddParameterInfo(p1), 1);

  group.RemoveParameterInfo(0);
  EXPECT_EQ(group.GetParameterCount(), 2);
  ParameterInterfaceInfo empty = group.GetParameterInfo(0);
  EXPECT_STREQ(empty.name, "");
  EXPECT_TRUE(VltGuidIsNull(empty.type));
  EXPECT_EQ(group.AddParameterInfo(p2), 0);
  EXPECT_EQ(std::string(group.GetParameterInfo(0).name), std::string(39, 'n'));
  EXPECT_TRUE(VltGuidEqual(group.GetParameterInfo(0).type, kTypeX));

  group.RemoveParameterInfo(1);
  EXPECT_EQ(group.GetParameterCount(), 1);
  group.RemoveParameterInfo(5);
  EXPECT_EQ(group.GetParameterCount(), 1);

  // A name of 45 characters keeps its first 39; SetParameterInfo extends the list.
  ParameterInterfaceInfo longName;
  std::string text(45, 'q');
  std::memcpy(longName.name, text.data(), sizeof(longName.name));
  group.SetParameterInfo(longName, 3);
  EXPECT_EQ(group.GetParameterCount(), 4);
  EXPECT_EQ(std::string(group.GetParameterInfo(3).name), std::string(39, 'q'));
  EXPECT_STREQ(group.GetParameterInfo(2).name, "");
  EXPECT_STREQ(group.GetParameterInfo(-1).name, "");
}

TEST_F(ChannelGroupTest, ChannelsByName) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* unnamed = new TestChannel();
  group.AddChannel(unnamed);
  TestChannel* lamp = Add(&group, "Lamp");
  Add(&group, "LAMP");
  EXPECT_EQ(group.GetChannel("lamp"), lamp);
  EXPECT_EQ(group.GetChannel("Lam"), nullptr);
  EXPECT_EQ(group.GetChannel(static_cast<const char*>(nullptr)), nullptr);
}

TEST_F(ChannelGroupTest, PublicChannelsMatchPoolAndName) {
  Vlt_ChannelGroup group(engine_);
  group.SetPoolName("Scene");
  group.SetPoolNr(2);
  Add(&group, "Light");  // not public
  TestChannel* light = Add(&group, std::string(85, 'x').c_str());
  light->SetChannelInterfaceType(VCO_PUBLIC);

  PublicCallInfo info;
  std::memset(info.channelName, 'x', 79);
  info.channelName[79] = '\0';
  std::strcpy(info.poolName, "SCENE");
  info.poolNr = 2;
  EXPECT_EQ(group.GetPublicChannel(&info), light);  // compared on 79 characters
  info.poolNr = 1;
  EXPECT_EQ(group.GetPublicChannel(&info), nullptr);
  info.poolNr = 2;
  std::strcpy(info.poolName, "Other");
  EXPECT_EQ(group.GetPublicChannel(&info), nullptr);
  std::strcpy(info.poolName, "Scene");
  std::strcpy(info.channelName, "Light");
  EXPECT_EQ(group.GetPublicChannel(&info), nullptr);
  EXPECT_EQ(group.GetPublicChannel(nullptr), nullptr);
  EXPECT_FALSE(group.CheckDuplicatePublicChannelName(nullptr));
}

TEST_F(ChannelGroupTest, RequestsLinkTheirTargetOnce) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* requester = Add(&group, "requester");
  Add(&group, "other");
  TestChannel* target = Add(&group, "target");
  channelInternal->AddPendingLink(requester, 2, -1, 0);
  group.AddChannelRequest({2, -1, requester, -1});
  group.AddChannelRequest({1, 1, requester, 0});  // not pending at the requester: stays

  group.CheckRequestListForIndex(1);
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"H0"}));
  group.CheckRequestListForIndex(2);
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"target", "H0"}));
  // The request is gone: a new pending link for the same target waits for a new request.
  channelInternal->AddPendingLink(requester, 2, -1, 0);
  group.CheckRequestListForIndex(2);
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"target", "H0"}));
  // The waiting request of index 1 still links once its record is pending.
  channelInternal->AddPendingLink(requester, 1, 1, 0);
  group.CheckRequestListForIndex(1);
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"target", "other", "H0"}));
  EXPECT_TRUE(Messages().empty());
  (void)target;
}

TEST_F(ChannelGroupTest, RequestsOfARemovedChannelGoWithIt) {
  Vlt_ChannelGroup group(engine_);
  TestChannel* requester = Add(&group, "requester");
  TestChannel* keeper = Add(&group, "keeper");
  Add(&group, "target");
  channelInternal->AddPendingLink(requester, 2, -1, 0);
  channelInternal->AddPendingLink(keeper, 2, -1, 0);
  group.AddChannelRequest({2, -1, requester, -1});
  group.AddChannelRequest({2, -1, keeper, -1});
  group.RemoveChannel(requester);
  group.CheckRequestListForIndex(2);
  EXPECT_EQ(Layout(keeper), (std::vector<std::string>{"target", "H0"}));
}

TEST_F(ChannelGroupTest, TypeChangeOnSaveIsRecordedAndAnnounced) {
  Vlt_ChannelGroup group(engine_);
  group.SetChannelTypeChangeSave(4, kTypeB);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_MESSAGEBOX);
  EXPECT_EQ(Messages()[0].text, "SetChannelTypeChangeSave 4");
  GUID type = VLT_NULL_GUID;
  EXPECT_EQ(group.GetChannelTypeChangeSave(&type), 4);
  EXPECT_TRUE(VltGuidEqual(type, kTypeB));
  EXPECT_EQ(group.GetChannelTypeChangeSave(nullptr), 4);
}

TEST_F(ChannelGroupTest, FilesThatCannotBeOpenedAreReported) {
  Vlt_ChannelGroup group(engine_);
  EXPECT_FALSE(group.LoadChannelGroupFromFile(nullptr, false));
  EXPECT_FALSE(group.SaveChannelGroup(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(group.LoadChannelGroupFromBuffer(nullptr, 0, nullptr, false));
  EXPECT_TRUE(Messages().empty());

  // This engine has no file plug-ins: the file facades report that first, then the group.
  EXPECT_FALSE(group.LoadChannelGroupFromFile("missing.cgr", true));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].type, VLT_MSG_USERERROR);
  EXPECT_EQ(Messages()[1].text,
            "The following channel group file could not be loaded: missing.cgr");

  recorder_.messages.clear();
  group.SetReadOnly(true);
  EXPECT_FALSE(group.SaveChannelGroup("out.cgr"));
  ASSERT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Messages()[1].type, VLT_MSG_USERWARNING);
  EXPECT_EQ(Messages()[1].text,
            "This channel group was loaded as a read-only file. The program will try to save it, "
            "but this might "
            "fail: out.cgr");
  EXPECT_EQ(Messages()[2].type, VLT_MSG_ERROR);
  EXPECT_EQ(Messages()[2].text, "Couldn't create channel group file: out.cgr");
}

TEST_F(ChannelGroupTest, ParentWindowFallsBackToTheEngines) {
  Vlt_ChannelGroup group(engine_);
  int engineWindow = 0, ownWindow = 0;
  engine_->GetExt()->SetWindowHandle(&engineWindow);
  EXPECT_EQ(group.GetParentWindow(), &engineWindow);
  group.SetParentWindow(&ownWindow);
  EXPECT_EQ(group.GetParentWindow(), &ownWindow);
}

TEST_F(ChannelGroupTest, InterfaceChangesDropTheCallersPositions) {
  Vlt_ChannelGroup* target = engine_->CreateNewGroup("Target", false, 0);
  Vlt_ChannelGroup* callers = engine_->CreateNewGroup("Callers", false, 0);
  ParameterInterfaceInfo p;
  std::strcpy(p.name, "P");
  target->AddParameterInfo(p);
  target->AddParameterInfo(p);

  std::vector<TestChannel*> calls;
  for (const char* pool : {"target", "elsewhere"}) {
    auto* call = new TestChannel({}, kTypeA, kTypeA, "call");
    callers->AddChannel(call);
    call->SetChannelInterfaceType(VCO_PUBLICCALL);
    PublicCallInfo info;
    std::strcpy(info.channelName, "Light");
    std::strcpy(info.poolName, pool);
    info.autoLoadGroup = 0;
    channelInternal->SetPublicCallInfo(call, info);
    call->SetChild(Add(callers, "arg"), -1, 0);
    calls.push_back(call);
  }
  target->RemoveParameterInfo(0);
  EXPECT_EQ(calls[0]->GetChildCount(), 0);
  EXPECT_EQ(calls[1]->GetChildCount(), 2);

  // With a channel given, only calls bound to that channel are dropped.
  calls[0]->SetChild(Add(callers, "arg2"), -1, 0);
  TestChannel* unrelated = Add(target, "unrelated");
  callers->CheckInterfaceChange("Target", unrelated);
  EXPECT_EQ(calls[0]->GetChildCount(), 2);
  callers->CheckInterfaceChange(nullptr, nullptr);
  EXPECT_EQ(calls[0]->GetChildCount(), 2);
}

}  // namespace
}  // namespace graphtest
