// Groups carrying every block of the format, saved and loaded back.
#include "GroupFileFixture.h"

namespace grouptest {
namespace {

// Where a block's data starts in a saved file, searching from a position; npos when absent.
size_t FindBlock(const std::vector<uint8_t>& bytes, const char* tag, size_t from = 0) {
  for (size_t i = from; i + 8 <= bytes.size(); ++i)
    if (std::memcmp(bytes.data() + i, tag, 4) == 0) return i + 8;
  return std::string::npos;
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<uint32_t>(bytes[at + 3]) << 24;
}

std::vector<uint8_t> Minimal(Bytes& b, int index, const char* name) {
  BeginChannel(b, index, testplugins::kGoodType, name, 0);
  EndChannel(b);
  return b.data();
}

TEST_F(GroupFileTest, SlotIndicesDecideTheSlotsNotTheirOrder) {
  // "CHIX" values 0, 2 and 5 under a count of 3, and no version block at all.
  Bytes b;
  b.Marker("VLTG").Int("CHCO", 3);
  Minimal(b, 0, "zero");
  Minimal(b, 2, "two");
  Minimal(b, 5, "five");
  Vlt_ChannelGroup* group = LoadOk(b.data());
  ASSERT_EQ(group->GetChannelCount(), 6);
  const char* names[6] = {"zero", nullptr, "two", nullptr, nullptr, "five"};
  for (int i = 0; i < 6; ++i) {
    Vlt_Channel* channel = group->GetChannel(i);
    if (names[i] == nullptr) {
      EXPECT_EQ(channel, nullptr) << i;
      continue;
    }
    ASSERT_NE(channel, nullptr) << i;
    EXPECT_STREQ(channel->GetChannelName(), names[i]);
    EXPECT_EQ(channel->GetChannelIDIndexNr(), i);
  }
}

TEST_F(GroupFileTest, EmptySlotsStayEmpty) {
  Bytes b;
  b.Int("LVRS", 57).Marker("VLTG").Int("CHCO", 3).Int("CHIX", -1);
  Minimal(b, 1, "one");
  b.Int("CHIX", -1);
  Vlt_ChannelGroup* group = LoadOk(b.data());
  ASSERT_EQ(group->GetChannelCount(), 3);
  EXPECT_EQ(group->GetChannel(0), nullptr);
  EXPECT_NE(group->GetChannel(1), nullptr);
  EXPECT_EQ(group->GetChannel(2), nullptr);
}

TEST_F(GroupFileTest, PublicCallAndParameterChannelsKeepTheirRecords) {
  Vlt_ChannelGroup* group = NewGroup();
  Vlt_Channel* call = NewChannel(group, testplugins::kGoodType, "Call");
  Vlt_Channel* parameter = NewChannel(group, testplugins::kGoodType, "Param");
  Vlt_Channel* args[3] = {NewChannel(group, testplugins::kGoodType, "x"),
                          NewChannel(group, testplugins::kGoodType, "y"),
                          NewChannel(group, testplugins::kGoodType, "z")};
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info = channelInternal->GetPublicCallInfo(call);
  std::strcpy(info.channelName, "Door");
  std::strcpy(info.poolName, "House");
  std::strcpy(info.targetPath, "..\\groups\\house.cgr");
  info.poolNr = 2;
  info.autoLoadGroup = 0;
  info.dynamicAutoLoadGroup = 0;
  std::strcpy(info.unresolvedPosition.linkName, "Arguments");
  ASSERT_TRUE(channelInternal->SetPublicCallInfo(call, info));
  channelInternal->SetTreeCountMode(call, 2);
  // Linked while the target is unknown: they wait in the call's one variable position.
  call->SetChild(args[2], -1, -1);
  call->SetChild(args[0], -1, -1);
  call->SetChild(args[1], -1, -1);
  parameter->SetChannelInterfaceType(VCO_PARAMETER);
  channelInternal->SetParameterInfo(parameter, 3);

  const std::vector<uint8_t> saved = Save(group);
  // The call's record is announced by the marker that says only the engine block follows.
  const size_t marker = FindBlock(saved, "CHES") - 8;
  ASSERT_GE(marker, 24u);
  EXPECT_EQ(std::memcmp(&saved[marker - 24], "CHID", 4), 0);
  EXPECT_EQ(std::memcmp(&saved[marker + 4], "CHIC", 4), 0);
  // Then the record itself, field by field at its stored offsets.
  const size_t record = FindBlock(saved, "CHES", marker + 4);
  ASSERT_NE(record, std::string::npos);
  ASSERT_EQ(U32At(saved, record - 4), 696u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&saved[record]), "Door");
  EXPECT_STREQ(reinterpret_cast<const char*>(&saved[record + 80]), "House");
  EXPECT_STREQ(reinterpret_cast<const char*>(&saved[record + 160]), "..\\groups\\house.cgr");
  EXPECT_EQ(U32At(saved, record + 420), 2u);
  EXPECT_EQ(saved[record + 424], 0);
  EXPECT_EQ(U32At(saved, record + 428), 0u);
  EXPECT_EQ(U32At(saved, record + 432 + 80), 0x11111111u);   // wildcard accepted type
  EXPECT_EQ(U32At(saved, record + 432 + 132), 0xFFFFFFFFu);  // requestLink -1
  EXPECT_STREQ(reinterpret_cast<const char*>(&saved[record + 432 + 138]), "Arguments");
  EXPECT_EQ(U32At(saved, record + 432 + 256), 0u);  // no head reference
  EXPECT_EQ(U32At(saved, record + 432 + 260), 1u);  // positionIndex
  EXPECT_EQ(std::memcmp(&saved[record + 696], "CHTM", 4), 0);
  EXPECT_EQ(saved[record + 696 + 8], 2);
  // The parameter channel's marker and number.
  const size_t number = FindBlock(saved, "CEXI");
  ASSERT_NE(number, std::string::npos);
  EXPECT_EQ(U32At(saved, number), 3u);

  Vlt_ChannelGroup* loaded = LoadOk(saved);
  Vlt_Channel* loadedCall = loaded->GetChannel(0);
  Vlt_Channel* loadedParameter = loaded->GetChannel(1);
  ASSERT_TRUE(loadedCall && loadedParameter);
  EXPECT_EQ(loadedCall->GetChannelInterfaceType(), VCO_PUBLICCALL);
  const PublicCallInfo back = channelInternal->GetPublicCallInfo(loadedCall);
  EXPECT_STREQ(back.channelName, "Door");
  EXPECT_STREQ(back.poolName, "House");
  EXPECT_STREQ(back.targetPath, "..\\groups\\house.cgr");
  EXPECT_EQ(back.poolNr, 2);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(loadedCall));
  EXPECT_EQ(channelInternal->GetTreeCountMode(loadedCall), 2);
  const char* ranks[3] = {"z", "x", "y"};
  for (int k = 0; k < 3; ++k) {
    Vlt_Channel* argument = channelInternal->GetInternalChild(loadedCall, k);
    ASSERT_NE(argument, nullptr) << k;
    EXPECT_STREQ(argument->GetChannelName(), ranks[k]);
  }
  EXPECT_EQ(loadedParameter->GetChannelInterfaceType(), VCO_PARAMETER);
  ASSERT_NE(channelInternal->GetParameterInfo(loadedParameter), nullptr);
  EXPECT_EQ(channelInternal->GetParameterInfo(loadedParameter)->parameterNr, 3);

  EXPECT_EQ(Save(loaded), saved);
}

TEST_F(GroupFileTest, PublicCallWithoutTreeCountModeBlockGetsModeOne) {
  Bytes b;
  b.Marker("VLTG").Int("CHCO", 1).Int("CHIX", 0).Guid("CHID", testplugins::kGoodType);
  b.Marker("CHES").Text("CHNA", "Call").Int("CHIT", VCO_PUBLICCALL).Int("CHLC", 0);
  Vlt_ChannelGroup* group = LoadOk(b.data());
  ASSERT_NE(group->GetChannel(0), nullptr);
  EXPECT_EQ(channelInternal->GetTreeCountMode(group->GetChannel(0)), 1);
  EXPECT_STREQ(channelInternal->GetPublicCallInfo(group->GetChannel(0)).channelName, "No Name");
}

// A public channel's interface, declared in the group that loads it or in another one.
struct InterfaceCase {
  const char* name;
  bool sameGroup;
};

class PublicInterfaceTest : public GroupFileTest,
                            public ::testing::WithParamInterface<InterfaceCase> {};

TEST_P(PublicInterfaceTest, InterfaceIsKeptOnlyInTheGroupThatDeclaredIt) {
  const GUID group = {0x600D0001, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const GUID other = {0x0BAD0002, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  auto file = [&](bool withInterface) {
    Bytes b;
    b.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", group).Int("CHCO", 1);
    b.Int("CHIX", 0).Guid("CHID", testplugins::kGoodType).Byte("CHIC", 0).Text("CHNA", "Light");
    b.Int("CHIT", VCO_PUBLIC);
    if (withInterface)
      b.Guid("CEPG", GetParam().sameGroup ? group : other)
          .Int("CHPC", 2)
          .Int("CHPT", 2)
          .Int("CHPT", 0);
    b.Int("CHLC", 1);
    EmptyLink(b, 0);
    EndChannel(b);
    b.Int("CHSC", 0).Int("CGIC", 0).Block("CGII", nullptr, 0).Text("CINA", "No Name Instance");
    return b.data();
  };
  Vlt_ChannelGroup* loaded = LoadOk(file(true));
  const bool discarded =
      HasMessage(VLT_MSG_USERERROR,
                 "Public channel with interface loaded in different group. Discarding interface "
                 "information.");
  EXPECT_EQ(discarded, !GetParam().sameGroup);
  EXPECT_EQ(Save(loaded), file(GetParam().sameGroup));
}

INSTANTIATE_TEST_SUITE_P(Groups, PublicInterfaceTest,
                         ::testing::Values(InterfaceCase{"Same", true},
                                           InterfaceCase{"Other", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GroupFileTest, PoolNamesAreKept) {
  auto file = [](bool withEmptyNames) {
    Bytes b;
    b.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", GUID{7, 7, 7, {7}}).Int("CHCO", 2);
    // A pool user: the pools it draws from.
    BeginChannel(b, 0, testplugins::kGoodType, "User", 1);
    EmptyLink(b, 0);
    b.Byte("CHUP", 1).Int("CHNC", withEmptyNames ? 3 : 2).Text("CHPN", "Scene@Lights");
    if (withEmptyNames) b.Marker("CHEN");
    b.Text("CHPN", "Props");
    // A member: the pools it entered.
    BeginChannel(b, 1, testplugins::kGoodType, "Lamp", 1);
    EmptyLink(b, 0);
    b.Byte("CHUP", 0).Int("CPNC", withEmptyNames ? 2 : 1);
    if (withEmptyNames) b.Marker("CPEN");
    b.Text("CPNP", "Scene@Lights");
    b.Int("CHSC", 0).Int("CGIC", 0).Block("CGII", nullptr, 0).Text("CINA", "No Name Instance");
    return b.data();
  };
  Vlt_ChannelGroup* loaded = LoadOk(file(false));
  EXPECT_TRUE(loaded->GetChannel(0)->GetIfUsePoolChannel());
  EXPECT_EQ(Save(loaded), file(false));
  // Empty names are markers in the file and are not kept.
  EXPECT_EQ(Save(LoadOk(file(true))), file(false));
}

// A loaded member rejoins its pools when the engine holds its group; a group loaded on its own
// keeps the names for saving, without joining and without a complaint.
TEST_F(GroupFileTest, LoadedMemberRejoinsItsPoolsInGroupsTheEngineHolds) {
  Bytes b;
  b.Int("LVRS", 57).Marker("VLTG").Guid("CGGG", GUID{9, 9, 9, {9}}).Int("CHCO", 1);
  BeginChannel(b, 0, testplugins::kGoodType, "Lamp", 1);
  EmptyLink(b, 0);
  b.Byte("CHUP", 0).Int("CPNC", 3).Text("CPNP", "Scene@Lights").Text("CPNP", "Props");
  b.Text("CPNP", "props");  // the same pool again: one membership
  b.Int("CHSC", 0).Int("CGIC", 0).Block("CGII", nullptr, 0).Text("CINA", "No Name Instance");
  std::vector<uint8_t> bytes = b.data();
  ChannelPoolManagement* pools = ext_->GetChannelPoolManagement();

  for (const bool held : {true, false}) {
    SCOPED_TRACE(held ? "group held by the engine" : "group on its own");
    messages_.messages.clear();
    Vlt_ChannelGroup* group = held ? engine_->CreateNewGroup("Holder", false, 0) : NewGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->LoadChannelGroupFromBuffer("lamp.cgr", static_cast<int>(bytes.size()),
                                                  bytes.data(), false));
    Vlt_Channel* lamp = group->GetChannel(0);
    ASSERT_NE(lamp, nullptr);
    for (const char* path : {"Scene@Lights", "Props"}) {
      PoolItem* pool = pools->GetPoolItem(path);
      if (!held) {
        EXPECT_EQ(pool, nullptr) << path;
        continue;
      }
      ASSERT_NE(pool, nullptr) << path;
      ASSERT_EQ(pool->channels.GetItemCount(), 1) << path;
      EXPECT_EQ(pool->channels.GetItem(0), lamp) << path;
    }
    EXPECT_TRUE(messages_.messages.empty());

    // Saving writes each membership once, in the order it was stored.
    const std::vector<uint8_t> saved = Save(group);
    const size_t count = FindBlock(saved, "CPNC");
    ASSERT_NE(count, std::string::npos);
    EXPECT_EQ(U32At(saved, count), 2u);
    EXPECT_NE(FindBlock(saved, "CPNP"), std::string::npos);

    if (held) {
      engine_->DeleteChannelGroup(group->GetGroupIndex());
      EXPECT_EQ(pools->GetPoolItem("Scene@Lights"), nullptr);
      EXPECT_EQ(pools->GetMainGroupPoolItemCount(), 0);
    }
  }
}

TEST_F(GroupFileTest, OwnBlocksOfATypeFollowItsEngineBlockAndUnknownOnesAreSkipped) {
  Vlt_ChannelGroup* group = NewGroup();
  auto* data = static_cast<TestDataChannel*>(NewChannel(group, kDataType, "Data"));
  Vlt_Channel* single = NewChannel(group, testplugins::kGoodType, "Single");
  Vlt_Channel* listed = NewChannel(group, testplugins::kGoodType, "Listed");
  ASSERT_TRUE(data && single && listed);
  data->value = -123456;
  data->writeExtra = true;
  EXPECT_EQ(data->SetChild(single, -1, 0), 0);
  data->SetChild(listed, -1, 1);
  data->SetChild(single, -1, 1);

  const std::vector<uint8_t> saved = Save(group);
  ASSERT_NE(FindBlock(saved, "TXTR"), std::string::npos);
  Vlt_ChannelGroup* loaded = LoadOk(saved);
  auto* back = static_cast<TestDataChannel*>(loaded->GetChannel(0));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->value, -123456);
  EXPECT_STREQ(loaded->GetChannel(1)->GetChannelName(), "Single");
  EXPECT_STREQ(loaded->GetChannel(2)->GetChannelName(), "Listed");
  EXPECT_EQ(back->GetChildFromLinkPosition(0, 0), loaded->GetChannel(1));
  EXPECT_EQ(back->GetChildFromLinkPosition(1, 0), loaded->GetChannel(2));
  EXPECT_EQ(back->GetChildFromLinkPosition(1, 1), loaded->GetChannel(1));
}

TEST_F(GroupFileTest, ChannelWithoutANameIsStoredAsASpace) {
  Vlt_ChannelGroup* group = NewGroup();
  Vlt_Channel* channel = NewChannel(group, testplugins::kGoodType, "");
  ASSERT_NE(channel, nullptr);
  const std::vector<uint8_t> saved = Save(group);
  const size_t name = FindBlock(saved, "CHNA");
  ASSERT_NE(name, std::string::npos);
  EXPECT_EQ(U32At(saved, name - 4), 2u);
  EXPECT_EQ(saved[name], ' ');
  EXPECT_EQ(saved[name + 1], 0);
  EXPECT_STREQ(LoadOk(saved)->GetChannel(0)->GetChannelName(), " ");
}

TEST_F(GroupFileTest, ChangeSaveWritesAFreshChannelOfTheNewType) {
  Vlt_ChannelGroup* group = NewGroup();
  NewChannel(group, testplugins::kGoodType, "Kept");
  Vlt_Channel* replaced = NewChannel(group, testplugins::kGoodType, "Replaced");
  Vlt_Channel* child = NewChannel(group, testplugins::kGoodType, "Child");
  replaced->SetChild(child, -1, 0);
  group->SetChannelTypeChangeSave(1, kDataType);
  EXPECT_TRUE(HasMessage(VLT_MSG_MESSAGEBOX, "SetChannelTypeChangeSave 1"));
  GUID type;
  EXPECT_EQ(group->GetChannelTypeChangeSave(&type), 1);

  Vlt_ChannelGroup* loaded = LoadOk(Save(group));
  Vlt_Channel* fresh = loaded->GetChannel(1);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(VltGuidEqual(fresh->GetChannelType().typeGuid, kDataType));
  EXPECT_STREQ(fresh->GetChannelName(), "Test Data");
  EXPECT_EQ(fresh->GetChildFromLinkPosition(1, 0), nullptr);
  EXPECT_EQ(fresh->GetChannelIDIndexNr(), 1);
  // The real channel is untouched.
  EXPECT_STREQ(group->GetChannel(1)->GetChannelName(), "Replaced");
}

TEST_F(GroupFileTest, ChangeSaveToAnUnknownTypeWritesTheRealChannel) {
  Vlt_ChannelGroup* group = NewGroup();
  NewChannel(group, testplugins::kGoodType, "Real");
  group->SetChannelTypeChangeSave(0, testplugins::kMissingType);
  Vlt_ChannelGroup* loaded = LoadOk(Save(group));
  EXPECT_TRUE(HasMessage(VLT_MSG_MESSAGEBOX, "Error change channel can't be initialized"));
  EXPECT_STREQ(loaded->GetChannel(0)->GetChannelName(), "Real");
}

}  // namespace
}  // namespace grouptest
