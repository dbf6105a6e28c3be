// The reference group file: three channels and an empty slot, a variable position holding
// three ranked children, one declared parameter and an instance name. The expected bytes are
// written out from the format's tables, block by block.
#include "GroupFileFixture.h"

namespace grouptest {
namespace {

constexpr GUID kGoldenGroup = {0x0BADCAFE, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};

std::vector<uint8_t> GoldenFile(const GUID& groupGuid) {
  using testplugins::kGoodType;
  Bytes b;
  b.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", groupGuid).Int("CHCO", 4);
  // Slot 0: Root, whose variable position 0 holds A, B, A (ranks 0, 1, 2) before its head.
  BeginChannel(b, 0, kGoodType, "Root", 4);
  Link(b, 2, 0, 0);
  Link(b, 3, 0, 1);
  Link(b, 2, 0, 2);
  EmptyLink(b, 0);
  EndChannel(b);
  b.Int("CHIX", -1);
  BeginChannel(b, 2, kGoodType, "A", 1);
  EmptyLink(b, 0);
  EndChannel(b);
  BeginChannel(b, 3, kGoodType, "B", 1);
  EmptyLink(b, 0);
  EndChannel(b);
  b.Int("CHSC", 0).Int("CGIC", 1);
  uint8_t parameter[56] = {'S', 'p', 'e', 'e', 'd'};
  const std::vector<uint8_t> type = Bytes::GuidBytes(kGoodType);
  std::memcpy(parameter + 40, type.data(), 16);
  b.Block("CGII", parameter, sizeof(parameter));
  b.Text("CINA", "Walker");
  return b.data();
}

TEST_F(GroupFileTest, GroupBuiltInMemorySavesTheReferenceBytes) {
  Vlt_ChannelGroup* group = NewGroup();
  Vlt_Channel* root = NewChannel(group, testplugins::kGoodType, "Root");
  Vlt_Channel* gone = NewChannel(group, testplugins::kGoodType, "Gone");
  Vlt_Channel* a = NewChannel(group, testplugins::kGoodType, "A");
  Vlt_Channel* b = NewChannel(group, testplugins::kGoodType, "B");
  ASSERT_TRUE(root && gone && a && b);
  ASSERT_TRUE(group->RemoveChannel(gone));
  root->SetChild(a, -1, 0);
  root->SetChild(b, -1, 0);
  root->SetChild(a, -1, 0);
  ParameterInterfaceInfo speed;
  std::strcpy(speed.name, "Speed");
  speed.type = testplugins::kGoodType;
  group->AddParameterInfo(speed);
  group->SetPoolName("Walker");

  EXPECT_EQ(Save(group), GoldenFile(group->GetUniqueGroupGuid()));
}

TEST_F(GroupFileTest, ReferenceFileLoadsToTheSameGroupAndSavesUnchanged) {
  const std::vector<uint8_t> golden = GoldenFile(kGoldenGroup);
  Vlt_ChannelGroup* group = LoadOk(golden);

  EXPECT_TRUE(VltGuidEqual(group->GetUniqueGroupGuid(), kGoldenGroup));
  ASSERT_EQ(group->GetChannelCount(), 4);
  EXPECT_EQ(group->GetChannel(1), nullptr);
  Vlt_Channel* root = group->GetChannel(0);
  Vlt_Channel* a = group->GetChannel(2);
  Vlt_Channel* b = group->GetChannel(3);
  ASSERT_TRUE(root && a && b);
  EXPECT_STREQ(root->GetChannelName(), "Root");
  EXPECT_STREQ(a->GetChannelName(), "A");
  EXPECT_EQ(a->GetChannelIDIndexNr(), 2);
  EXPECT_EQ(a->GetChannelGroup(), group);
  // A's two links resolve before B's, yet every child ends at its saved rank.
  EXPECT_EQ(root->GetChildLinkPositionCount(0), 3);
  EXPECT_EQ(root->GetChildFromLinkPosition(0, 0), a);
  EXPECT_EQ(root->GetChildFromLinkPosition(0, 1), b);
  EXPECT_EQ(root->GetChildFromLinkPosition(0, 2), a);
  ASSERT_EQ(group->GetParameterCount(), 1);
  EXPECT_STREQ(group->GetParameterInfo(0).name, "Speed");
  EXPECT_TRUE(VltGuidEqual(group->GetParameterInfo(0).type, testplugins::kGoodType));
  EXPECT_STREQ(group->GetPoolName(), "Walker");
  EXPECT_EQ(group->GetPoolNr(), 0);
  EXPECT_EQ(group->GetStartChannel(), 0);
  EXPECT_FALSE(group->GetReadOnly());
  EXPECT_TRUE(messages_.messages.empty());

  EXPECT_EQ(Save(group), golden);
}

TEST_F(GroupFileTest, InstanceNameIsKeptOnlyWhenAsked) {
  Vlt_ChannelGroup* group = NewGroup();
  group->SetPoolName("Before");
  const std::vector<uint8_t> golden = GoldenFile(kGoldenGroup);
  ASSERT_TRUE(group->LoadChannelGroupFromBuffer("x.cgr", static_cast<int>(golden.size()),
                                                const_cast<uint8_t*>(golden.data()), false));
  EXPECT_STREQ(group->GetPoolName(), "Before");
  EXPECT_STREQ(group->GetChannelGroupFileName(), "x.cgr");
}

// Every prefix of the reference file is a truncated file: it loads or fails as the format says,
// and never reads past its end. Cut anywhere before the last required block of the last
// channel, it fails with a report.
TEST_F(GroupFileTest, EveryPrefixOfTheReferenceFileLoadsOrFailsCleanly) {
  const std::vector<uint8_t> golden = GoldenFile(kGoldenGroup);
  Bytes head;
  head.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", kGoldenGroup).Int("CHCO", 4);
  // After B's link record: its CHUL and CHUP, then the trailer ("CHSC", "CGIC", "CGII" with one
  // record, "CINA" with "Walker"). The last required block is that record's "CHLI".
  const size_t trailer = golden.size() - (12 + 12 + 8 + 56 + 8 + 7);
  const size_t lastRequired = trailer - 9 - 12;  // before "CHUP" and "CHUL"
  for (size_t n = 0; n < golden.size(); ++n) {
    messages_.messages.clear();
    bool ok = true;
    Load(std::vector<uint8_t>(golden.begin(), golden.begin() + static_cast<std::ptrdiff_t>(n)),
         &ok);
    if (n < lastRequired) {
      EXPECT_FALSE(ok) << "prefix " << n;
      EXPECT_FALSE(messages_.messages.empty()) << "prefix " << n;
    }
    if (!ok) {
      EXPECT_FALSE(messages_.messages.empty()) << "prefix " << n;
    }
  }
  EXPECT_GT(lastRequired, head.size());
}

}  // namespace
}  // namespace grouptest
