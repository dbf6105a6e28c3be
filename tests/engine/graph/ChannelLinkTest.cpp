// Linking children into the flat child list: layouts, type acceptance, failures and queries.
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "GraphFixture.h"

namespace graphtest {
namespace {

const std::vector<Position> kSingleVariableSingle = {
    {VLT_WILDCARD_GUID, true}, {VLT_WILDCARD_GUID, false}, {VLT_WILDCARD_GUID, true}};

struct LinkOp {
  char child;  // name of the child channel to link
  int targetChannel;
  int linkPosition;
  int expected;  // the flat index SetChild answers
};

struct LayoutCase {
  const char* name;
  std::vector<LinkOp> ops;
  std::vector<std::string> layout;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class ChannelLinkLayout : public GraphTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ChannelLinkLayout, SetChildBuildsTheFlatList) {
  const LayoutCase& c = GetParam();
  TestChannel* parent = Loose(kSingleVariableSingle, kTypeA, kTypeA, "parent");
  std::map<char, TestChannel*> children;
  for (const LinkOp& op : c.ops) {
    if (children.count(op.child) == 0)
      children[op.child] = Loose({}, kTypeB, kTypeB, std::string(1, op.child).c_str());
    EXPECT_EQ(parent->SetChild(children[op.child], op.targetChannel, op.linkPosition), op.expected)
        << "linking " << op.child;
  }
  EXPECT_EQ(Layout(parent), c.layout);
  EXPECT_TRUE(Messages().empty());
  // Offsets: every entry knows its own index.
  for (int i = 0; i < parent->GetChildCount(); ++i) EXPECT_EQ(parent->GetChildInfo(i)->index, i);
}

const LayoutCase kLayoutCases[] = {
    {"EmptyPositions", {}, {"H0", "H1", "H2"}},
    {"AppendTwoToVariable", {{'a', -1, 1, 1}, {'b', -1, 1, 2}}, {"H0", "a", "b", "H1", "H2"}},
    {"ReplaceRankZeroInPlace",
     {{'a', -1, 1, 1}, {'b', -1, 1, 2}, {'c', 0, 1, 1}},
     {"H0", "c", "b", "H1", "H2"}},
    {"TargetBeyondCountInsertsEmpties",
     {{'a', -1, 1, 1}, {'b', -1, 1, 2}, {'d', 5, 1, 6}},
     {"H0", "a", "b", "-", "-", "-", "d", "H1", "H2"}},
    {"TargetEqualToCountAppends", {{'a', -1, 1, 1}, {'b', 1, 1, 2}}, {"H0", "a", "b", "H1", "H2"}},
    {"SinglePositionHoldsItsChildInTheHead", {{'x', -1, 0, 0}, {'z', -1, 2, 2}}, {"x", "H1", "z"}},
    {"SinglePositionReplaces", {{'x', -1, 0, 0}, {'y', 3, 0, 0}}, {"y", "H1", "H2"}},
    {"LaterPositionMovesDown", {{'a', -1, 1, 1}, {'z', -1, 2, 3}}, {"H0", "a", "H1", "z"}},
    {"NoPositionLinksByType",
     {{'a', -1, -1, 0}, {'b', -1, -1, 1}, {'c', -1, -1, 2}},
     {"a", "b", "c", "H1", "H2"}},
    {"PositionBeyondCountLinksByType", {{'a', 7, 9, 0}}, {"a", "H1", "H2"}},
};

INSTANTIATE_TEST_SUITE_P(Layouts, ChannelLinkLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           return std::string(info.param.name);
                         });

using ChannelLinkTest = GraphTest;

TEST_F(ChannelLinkTest, PositionQueriesFollowTheFlatList) {
  TestChannel* parent = Loose(kSingleVariableSingle);
  TestChannel* a = Loose({}, kTypeB, kTypeB, "a");
  TestChannel* b = Loose({}, kTypeB, kTypeB, "b");
  TestChannel* s = Loose({}, kTypeB, kTypeB, "s");
  parent->SetChild(a, -1, 1);
  parent->SetChild(b, -1, 1);
  parent->SetChild(s, -1, 2);

  EXPECT_EQ(parent->GetChildLinkPositionCount(1), 2);
  EXPECT_EQ(parent->GetChildLinkPositionCount(0), 0);
  EXPECT_EQ(parent->GetChildLinkPositionCount(7), 0);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 0), a);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 1), b);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 2), nullptr);  // the head itself holds no child
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 3), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, -1), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkPosition(2, 0), s);
  EXPECT_EQ(parent->GetChildFromLinkPosition(5, 0), nullptr);
  EXPECT_EQ(channelInternal->GetChildLinkPosition(parent, 1), 1);
  EXPECT_EQ(channelInternal->GetChildLinkPosition(parent, 4), 2);
  EXPECT_EQ(channelInternal->GetChildLinkPosition(parent, 9), -1);
}

struct Acceptance {
  const char* name;
  GUID accepts;
  bool linked;
};

TEST_F(ChannelLinkTest, APositionAcceptsTheTypeItsBaseOrAnything) {
  // The child is of type X counting as Y.
  const Acceptance cases[] = {{"type", kTypeX, true},
                              {"base", kTypeY, true},
                              {"wildcard", VLT_WILDCARD_GUID, true},
                              {"other", kTypeB, false}};
  for (const Acceptance& c : cases) {
    recorder_.messages.clear();
    TestChannel* parent = Loose({{c.accepts, true}});
    TestChannel* child = Loose({}, kTypeX, kTypeY, "child");
    const int result = parent->SetChild(child, -1, 0);
    if (c.linked) {
      EXPECT_EQ(result, 0) << c.name;
      EXPECT_EQ(parent->GetChild(0), child) << c.name;
      EXPECT_TRUE(Messages().empty()) << c.name;
    } else {
      EXPECT_EQ(result, -1) << c.name;
      EXPECT_EQ(parent->GetChild(0), nullptr) << c.name;
      ASSERT_EQ(Messages().size(), 1u) << c.name;
      EXPECT_EQ(Messages()[0].type, VLT_MSG_USERINFO);
      EXPECT_EQ(Messages()[0].text,
                "This channel was unable to be linked. The type of the channel was not accepted at "
                "this link "
                "position");
    }
  }
}

TEST_F(ChannelLinkTest, FailuresReportThroughTheirSinks) {
  TestChannel* parent = Loose({{kTypeB, true}, {kTypeB, false}});
  TestChannel* child = Loose({}, kTypeB, kTypeB, "child");

  EXPECT_EQ(parent->SetChild(nullptr, -1, 0), -1);
  EXPECT_TRUE(Messages().empty());

  EXPECT_EQ(parent->SetChild(parent, -1, 0), -1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_ERROR);
  EXPECT_EQ(Messages()[0].text, "SetChild channel==this");

  // A target below -1 is reported and the link goes ahead.
  recorder_.messages.clear();
  EXPECT_EQ(parent->SetChild(child, -4, 1), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_USERINFO);
  EXPECT_EQ(Messages()[0].text, "Vlt_Channel::SetChild targetChannel<-1 is out of range");

  // Linking by type with nothing accepting answers -1 without a message.
  recorder_.messages.clear();
  TestChannel* stranger = Loose({}, kTypeX, kTypeX, "stranger");
  EXPECT_EQ(parent->SetChild(stranger, -1, -1), -1);
  EXPECT_EQ(parent->SetChild(stranger, -1, 8), -1);
  EXPECT_TRUE(Messages().empty());

  // A position whose head went missing.
  channelInternal->GetChildCreateType(parent, 0)->head = nullptr;
  EXPECT_EQ(parent->SetChild(child, -1, 0), -1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_USERINFO);
  EXPECT_EQ(Messages()[0].text,
            "Vlt_Channel::SetChild childCreation->childInfo==NULL group not found?");
}

TEST_F(ChannelLinkTest, AnUndeclaredPositionBetweenDeclaredOnesIsReported) {
  TestChannel* parent = Loose();
  parent->SetChildCreateType(MakeCreation({VLT_WILDCARD_GUID, true}, 1), 0);
  parent->SetChildCreateType(MakeCreation({VLT_WILDCARD_GUID, true}, 2), 2);
  EXPECT_EQ(channelInternal->GetChildCreationCount(parent), 3);
  EXPECT_EQ(parent->SetChild(Loose({}, kTypeB, kTypeB), -1, 1), -1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_USERINFO);
  EXPECT_EQ(Messages()[0].text, "Vlt_Channel::SetChild childCreation==NULL for this target type");
}

TEST_F(ChannelLinkTest, DeclaringPositions) {
  TestChannel* parent = Loose();
  ChildCreation cc = MakeCreation({kTypeB, true}, 5);
  cc.createDefaultChild = 1;
  cc.flag = 9;
  cc.defaultChildType = kTypeX;
  std::memset(cc.linkName, 'n', sizeof(cc.linkName));  // not terminated: the copy keeps 98
  parent->SetChildCreateType(cc, 0);
  parent->SetChildCreateType(MakeCreation({kTypeA, false}, -1), 1);

  ChildCreation* stored = channelInternal->GetChildCreateType(parent, 0);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->requestLink, 5);
  EXPECT_EQ(stored->flag, 0);
  EXPECT_EQ(stored->createDefaultChild, 1);
  EXPECT_EQ(std::string(stored->linkName), std::string(98, 'n'));
  EXPECT_TRUE(VltGuidEqual(stored->defaultChildType, kTypeX));
  EXPECT_EQ(stored->positionIndex, 0);
  ASSERT_NE(stored->head, nullptr);
  EXPECT_EQ(stored->head, parent->GetChildInfo(0));
  EXPECT_EQ(stored->head->isHead, 1);
  EXPECT_EQ(stored->head->isVariable, 0);
  EXPECT_EQ(parent->GetChildInfo(1)->isVariable, 1);
  EXPECT_EQ(channelInternal->GetChildCreateType(parent, 2), nullptr);

  // A second position with the same request link is refused and the first one stays.
  parent->SetChildCreateType(MakeCreation({kTypeX, true}, 5), 2);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, VLT_MSG_ERROR);
  EXPECT_EQ(Messages()[0].text, "Can't add child creation with the same request link!");
  EXPECT_EQ(channelInternal->GetChildCreationCount(parent), 2);
  EXPECT_EQ(channelInternal->GetChildCreateType(parent, 0), stored);

  // Variable positions may share -1; a negative index declares nothing.
  parent->SetChildCreateType(MakeCreation({kTypeX, false}, -1), 2);
  parent->SetChildCreateType(MakeCreation({kTypeX, false}, -1), -1);
  EXPECT_EQ(channelInternal->GetChildCreationCount(parent), 3);
  EXPECT_EQ(Messages().size(), 1u);

  parent->SetChildCreationCount(0);
  EXPECT_EQ(channelInternal->GetChildCreationCount(parent), 0);
  EXPECT_EQ(parent->GetChildCount(), 0);
}

TEST_F(ChannelLinkTest, NamesAreCutAt500Characters) {
  TestChannel* c = Loose();
  c->SetChannelName(std::string(600, 'x').c_str());
  EXPECT_EQ(std::string(c->GetChannelName()), std::string(500, 'x'));
  c->SetChannelName(nullptr);
  EXPECT_EQ(std::string(c->GetChannelName()), std::string(500, 'x'));
  c->SetChannelName("short");
  EXPECT_STREQ(c->GetChannelName(), "short");
}

TEST_F(ChannelLinkTest, RemovingChildrenKeepsHeads) {
  TestChannel* parent = Loose(kSingleVariableSingle);
  TestChannel* a = Loose({}, kTypeB, kTypeB, "a");
  TestChannel* b = Loose({}, kTypeB, kTypeB, "b");
  parent->SetChild(a, -1, 0);
  parent->SetChild(a, -1, 1);
  parent->SetChild(b, -1, 1);
  parent->SetChild(b, -1, 2);

  parent->RemoveChild(2);
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"a", "a", "-", "H1", "b"}));
  parent->RemoveChild(99);

  parent->RemoveChildren();
  EXPECT_EQ(Layout(parent), (std::vector<std::string>{"H0", "H1", "H2"}));
  EXPECT_EQ(parent->GetChildLinkPositionCount(1), 0);
  // The positions still work afterwards.
  EXPECT_EQ(parent->SetChild(b, -1, 1), 1);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 0), b);
}

TEST_F(ChannelLinkTest, ChildrenByTypeGuidCountTypeAndBase) {
  TestChannel* parent = Loose({{VLT_WILDCARD_GUID, false}});
  TestChannel* x1 = Loose({}, kTypeX, kTypeY, "x1");
  TestChannel* b = Loose({}, kTypeB, kTypeB, "b");
  TestChannel* y = Loose({}, kTypeY, kTypeY, "y");
  TestChannel* x2 = Loose({}, kTypeX, kTypeY, "x2");
  for (TestChannel* c : {x1, b, y, x2}) parent->SetChild(c, -1, 0);

  struct Query {
    GUID type;
    int count;
    std::vector<Vlt_Channel*> nth;
  };
  const Query queries[] = {
      {kTypeX, 2, {x1, x2}}, {kTypeY, 3, {x1, y, x2}}, {kTypeB, 1, {b}}, {kTypeA, 0, {}}};
  for (const Query& q : queries) {
    EXPECT_EQ(parent->GetChildTypeCount(q.type), q.count);
    for (size_t n = 0; n < q.nth.size(); ++n)
      EXPECT_EQ(parent->GetChildFromLinkGuid(q.type, static_cast<int>(n)), q.nth[n]);
    EXPECT_EQ(parent->GetChildFromLinkGuid(q.type, q.count), nullptr);
  }
}

}  // namespace
}  // namespace graphtest
