// The bookkeeping object: linking by type, compaction, pending links, flags and dependencies.
#include <string>
#include <vector>

#include "ChannelDependency.h"
#include "GraphFixture.h"
#include "Vlt_String.h"

namespace graphtest {
namespace {

using ChannelInternalTest = GraphTest;

TEST_F(ChannelInternalTest, LinkingByTypeFillsFreeSinglePositionsFirst) {
  TestChannel* parent = Loose({{kTypeA, true}, {VLT_WILDCARD_GUID, false}});
  TestChannel* a1 = Loose({}, kTypeA, kTypeA, "a1");
  TestChannel* a2 = Loose({}, kTypeA, kTypeA, "a2");
  TestChannel* b = Loose({}, kTypeB, kTypeB, "b");
  EXPECT_EQ(channelInternal->SetChildByType(parent, a1, -1), 0);
  EXPECT_EQ(channelInternal->SetChildByType(parent, a2, -1), 1);
  EXPECT_EQ(channelInternal->SetChildByType(parent, b, -1), 2);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"a1", "a2", "b", "H1"}));
  EXPECT_EQ(channelInternal->SetChildByType(nullptr, b, -1), -1);
  EXPECT_EQ(channelInternal->SetChildByType(parent, nullptr, -1), -1);

  TestChannel* onlyA = Loose({{kTypeA, true}});
  EXPECT_EQ(channelInternal->SetChildByType(onlyA, b, -1), -1);
  EXPECT_EQ(channelInternal->SetChildByType(onlyA, a1, -1), 0);
  EXPECT_EQ(channelInternal->SetChildByType(onlyA, a2, -1), -1);  // taken
  EXPECT_EQ(onlyA->GetChild(0), a1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChannelInternalTest, LinkingByTypeReusesEmptyRanksBeforeAppending) {
  TestChannel* parent = Loose({{kTypeA, true}, {VLT_WILDCARD_GUID, false}});
  TestChannel* x = Loose({}, kTypeB, kTypeB, "x");
  TestChannel* y = Loose({}, kTypeB, kTypeB, "y");
  TestChannel* z = Loose({}, kTypeB, kTypeB, "z");
  parent->SetChild(x, -1, 1);
  parent->SetChild(y, -1, 1);
  parent->RemoveChild(1);
  parent->RemoveChild(2);
  parent->SetChild(x, 0, 1);
  ASSERT_EQ(Layout(parent), (std::vector<std::string>{"H0", "x", "-", "H1"}));

  EXPECT_EQ(channelInternal->SetChildByType(parent, y, -1), 2);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "x", "y", "H1"}));
  EXPECT_EQ(channelInternal->SetChildByType(parent, z, -1), 3);
  // An explicit rank is passed through to the variable position.
  EXPECT_EQ(channelInternal->SetChildByType(parent, z, 0), 1);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "z", "y", "z", "H1"}));
}

TEST_F(ChannelInternalTest, SortingRemovesEmptyEntriesAndRenumbers) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, true}, {VLT_WILDCARD_GUID, false}});
  TestChannel* y = Loose({}, kTypeB, kTypeB, "y");
  parent->SetChild(y, 1, 1);  // an empty rank 0, then y
  ASSERT_EQ(Layout(parent), (std::vector<std::string>{"H0", "-", "y", "H1"}));
  EXPECT_EQ(parent->GetChildInfo(2)->count, 1);

  channelInternal->SortChilderen(parent);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "y", "H1"}));
  EXPECT_EQ(parent->GetChildInfo(1)->count, 0);
  EXPECT_EQ(parent->GetChildInfo(1)->index, 1);
  EXPECT_EQ(parent->GetChildInfo(2)->count, 1);
  EXPECT_EQ(parent->GetChildInfo(2)->index, 2);

  // Several empties in a row go in one call; heads stay even when empty.
  parent->SetChild(y, 4, 1);
  parent->RemoveChild(1);
  channelInternal->SortChilderen(parent);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "y", "H1"}));
  channelInternal->SortChilderen(nullptr);
}

TEST_F(ChannelInternalTest, RemovingAPositionDeletesOnlyNonHeadEntries) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, true}, {VLT_WILDCARD_GUID, false}});
  TestChannel* a = Loose({}, kTypeB, kTypeB, "a");
  TestChannel* b = Loose({}, kTypeB, kTypeB, "b");
  parent->SetChild(a, -1, 0);
  parent->SetChild(a, -1, 1);
  parent->SetChild(b, -1, 1);

  channelInternal->RemoveChildPosition(parent, 0);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "a", "b", "H1"}));
  channelInternal->RemoveChildPosition(parent, 1);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "b", "H1"}));
  EXPECT_EQ(parent->GetChildLinkPositionCount(1), 1);
  channelInternal->RemoveChildPosition(parent, 3);
  channelInternal->RemoveChildPosition(parent, -1);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "b", "H1"}));

  // Removing a child everywhere empties its entries but keeps them.
  parent->SetChild(b, -1, 0);
  channelInternal->RemoveChild(parent, b);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "-", "H1"}));
}

TEST_F(ChannelInternalTest, PendingLinksAreResolvedOnce) {
  TestChannel* requester = Loose({{VLT_WILDCARD_GUID, true}, {VLT_WILDCARD_GUID, false}});
  TestChannel* target = Loose({}, kTypeB, kTypeB, "t");

  // Nothing pending at all.
  EXPECT_FALSE(channelInternal->CheckChannelRequest(requester, 3, 0, target, 1));
  EXPECT_FALSE(channelInternal->CheckChannelRequest(nullptr, 3, 0, target, 1));

  channelInternal->AddPendingLink(requester, 3, 0, 0);
  channelInternal->AddPendingLink(requester, 4, -1, 0);
  // A record that is not pending links nothing.
  EXPECT_FALSE(channelInternal->CheckChannelRequest(requester, 3, 1, target, 1));
  EXPECT_FALSE(channelInternal->CheckChannelRequest(requester, 5, 0, target, 1));
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"H0", "H1"}));

  EXPECT_TRUE(channelInternal->CheckChannelRequest(requester, 3, 0, target, 1));
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"H0", "t", "H1"}));
  EXPECT_FALSE(channelInternal->CheckChannelRequest(requester, 3, 0, target, 1));

  // Link position -1 links by type.
  EXPECT_TRUE(channelInternal->CheckChannelRequest(requester, 4, -1, target, -1));
  EXPECT_EQ(Layout(requester), (std::vector<std::string>{"t", "t", "H1"}));
  EXPECT_FALSE(channelInternal->CheckChannelRequest(requester, 4, -1, target, -1));
}

TEST_F(ChannelInternalTest, ExternalChildrenAreTheStandIns) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, false}});
  const bool external[] = {false, false, true, true, true, true};
  for (int type = VCO_NONE; type <= VCO_PUBLICINDIRECT; ++type) {
    TestChannel* child = Loose({}, kTypeB, kTypeB, ("c" + std::to_string(type)).c_str());
    child->SetChannelInterfaceType(type);
    parent->SetChild(child, -1, 0);
    EXPECT_EQ(channelInternal->GetIfExternalChild(parent, type), external[type]) << type;
  }
  EXPECT_FALSE(channelInternal->GetIfExternalChild(parent, 6));  // the head
  EXPECT_FALSE(channelInternal->GetIfExternalChild(nullptr, 0));
}

TEST_F(ChannelInternalTest, ReleasingChildrenDropsEveryPosition) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, true}, {VLT_WILDCARD_GUID, false}});
  parent->SetChild(Loose({}, kTypeB, kTypeB), -1, 1);
  channelInternal->ReleaseChilderen(parent);
  EXPECT_EQ(parent->GetChildCount(), 0);
  EXPECT_EQ(channelInternal->GetChildCreationCount(parent), 0);
  EXPECT_EQ(parent->SetChild(Loose({}, kTypeB, kTypeB), -1, -1), -1);
}

TEST_F(ChannelInternalTest, PlainAccessorsAnswerNeutrallyForNoChannel) {
  TestChannel* c = Loose();
  EXPECT_EQ(channelInternal->GetTreeCountMode(c), 1);
  channelInternal->SetTreeCountMode(c, 2);
  EXPECT_EQ(channelInternal->GetTreeCountMode(c), 2);
  EXPECT_FALSE(channelInternal->GetIgnoreTreeCount(c));
  channelInternal->SetIgnoreTreeCount(c, true);
  EXPECT_TRUE(channelInternal->GetIgnoreTreeCount(c));
  channelInternal->SetChannelIDIndexNr(c, 7);
  EXPECT_EQ(c->GetChannelIDIndexNr(), 7);

  EXPECT_EQ(channelInternal->GetTreeCountMode(nullptr), -1);
  EXPECT_EQ(channelInternal->GetTreeRecalculateCount(nullptr), -1);
  EXPECT_FALSE(channelInternal->GetIgnoreTreeCount(nullptr));
  EXPECT_EQ(channelInternal->GetChildCreationCount(nullptr), 0);
  EXPECT_EQ(channelInternal->GetChildInfo(nullptr, 0), nullptr);
  EXPECT_EQ(channelInternal->GetInternalChild(nullptr, 0), nullptr);
  EXPECT_EQ(channelInternal->GetChildCreateType(nullptr, 0), nullptr);
  EXPECT_EQ(channelInternal->GetParameterInfo(nullptr), nullptr);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(nullptr));
}

// Channels whose dependency hooks name each other.
const GUID kDependencyFirst = {
    0xE5C27B90, 0x4A1D, 0x4F63, {0xB8, 0xE2, 0x19, 0xD6, 0xA0, 0xC7, 0x3F, 0x45}};

class DependentChannel : public TestChannel {
 public:
  DependentChannel(GUID type, GUID other, const char* file)
      : TestChannel({}, type, type), other_(other), file_(file) {}

  void DoDependencyInit(Vlt_List* dependencies) override {
    ++hookCalls;
    AddDLLDepend(file_, dependencies);
    AddDLLDepend(nullptr, dependencies);
    if (VltGuidIsNull(other_)) return;
    // The types are not installed, so the engine cannot make them: walk a stand-in instead.
    DependentChannel partner(other_, GetChannelType().typeGuid, "partner.dll");
    channelInternal->GetChannelDepenency(&partner, dependencies);
    AddChannelGuidDepend(other_, dependencies);
  }

  int hookCalls = 0;

 private:
  GUID other_;
  const char* file_;
};

std::vector<std::string> Files(const ChannelDependency* d) {
  std::vector<std::string> out;
  for (int i = 0; i < d->fileNames.GetItemCount(); ++i)
    out.push_back(static_cast<Vlt_String*>(d->fileNames.GetItem(i))->GetString());
  return out;
}

void FreeDependencies(Vlt_List* list) {
  for (int i = 0; i < list->GetItemCount(); ++i)
    delete static_cast<ChannelDependency*>(list->GetItem(i));
  list->ReleaseItems();
}

TEST_F(ChannelInternalTest, DependencyWalkStopsAtListedTypes) {
  DependentChannel a(kTypeA, kTypeB, "a.dll");
  Vlt_List list;
  channelInternal->GetChannelDepenency(&a, &list);
  ASSERT_EQ(list.GetItemCount(), 2);
  auto* first = static_cast<ChannelDependency*>(list.GetItem(0));
  auto* second = static_cast<ChannelDependency*>(list.GetItem(1));
  EXPECT_TRUE(VltGuidEqual(first->typeGuid, kTypeA));
  EXPECT_EQ(Files(first), (std::vector<std::string>{"a.dll"}));
  EXPECT_TRUE(VltGuidEqual(second->typeGuid, kTypeB));
  EXPECT_EQ(Files(second), (std::vector<std::string>{"partner.dll"}));
  EXPECT_EQ(a.hookCalls, 1);

  // Walking again adds nothing; an unknown type cannot be made, so it adds nothing either.
  channelInternal->GetChannelDepenency(&a, &list);
  a.AddChannelGuidDepend(kTypeX, &list);
  EXPECT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(a.hookCalls, 1);

  // Files go to the record of the channel's own type only.
  DependentChannel unlisted(kTypeY, VLT_NULL_GUID, "y.dll");
  unlisted.AddDLLDepend("y.dll", &list);
  EXPECT_EQ(Files(first), (std::vector<std::string>{"a.dll"}));
  EXPECT_EQ(Files(second), (std::vector<std::string>{"partner.dll"}));
  FreeDependencies(&list);
}

TEST_F(ChannelInternalTest, OneTypeRunsItsHookBeforeTheWalkLooksAtIt) {
  DependentChannel special(kDependencyFirst, VLT_NULL_GUID, "special.dll");
  Vlt_List list;
  channelInternal->GetChannelDepenency(&special, &list);
  EXPECT_EQ(special.hookCalls, 2);  // before the check, and as the last step
  channelInternal->GetChannelDepenency(&special, &list);
  EXPECT_EQ(special.hookCalls, 3);  // before the check, which then stops the walk
  ASSERT_EQ(list.GetItemCount(), 1);
  // The first hook ran before the record existed, so only later hooks added files.
  EXPECT_EQ(Files(static_cast<ChannelDependency*>(list.GetItem(0))),
            (std::vector<std::string>{"special.dll", "special.dll"}));
  FreeDependencies(&list);
}

}  // namespace
}  // namespace graphtest
