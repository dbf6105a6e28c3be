// Files that must not load, each with the reports it gives; files on disk (missing, read-only,
// protected); and data that is short or lies about its sizes.
#include <filesystem>
#include <fstream>

#include "GroupFileFixture.h"

namespace grouptest {
namespace {

using testplugins::kGoodType;

const char* const kNotAGroup =
    "The selected file is not a channel group. Most channel group files have the \".cgr\" "
    "extension. It could also be that the file is corrupt.";
const char* const kBackwardCompatible =
    "Lumenar is backward compatible, this means that it can't load files that have been "
    "created with newer versions of Lumenar.";
const char* const kNotInstalled =
    "A channel (component) is used in this channel group that is not installed in your version. "
    "It could be created in a newer version of Lumenar or with a different set of components "
    "installed. Please contact the creator of the channel group and ask him about his Lumenar "
    "version.";

Bytes Header(int slots) {
  Bytes b;
  b.Int("LVRS", 57).Marker("VLTG").Int("CHCO", slots);
  return b;
}

Bytes Good(int index) { return Bytes().Int("CHIX", index).Guid("CHID", kGoodType); }

struct FailureCase {
  const char* name;
  Bytes file;
  std::vector<RecordedMessage> reports;  // in this order, among the messages of the load
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

std::vector<FailureCase> FailureCases() {
  const RecordedMessage couldNotLoad[] = {
      {VLT_MSG_USERINFO, kBackwardCompatible},
      {VLT_MSG_USERERROR, kNotInstalled},
      {VLT_MSG_ERROR, "Vlt_ChannelGroup::LoadChannelGroup: Couldn't load channel"},
      {VLT_MSG_ERROR, "A1B2C3D4-0001-4E00-8000-000000000001"}};
  auto withCouldNotLoad = [&](std::vector<RecordedMessage> first) {
    first.insert(first.end(), std::begin(couldNotLoad), std::end(couldNotLoad));
    return first;
  };
  const std::vector<RecordedMessage> noIndex = {
      {VLT_MSG_USERERROR, kNotAGroup},
      {VLT_MSG_ERROR, "Vlt_ChannelGroup::LoadChannelGroup: Couldn't find channel index header"},
      {VLT_MSG_ERROR, "00000000-0000-0000-0000-000000000000"},
      {VLT_MSG_ERROR, "Loader file : test.cgr"}};
  const RecordedMessage newer = {
      VLT_MSG_USERERROR,
      "The selected cgr file is newer then this engine version. It will not load"};
  Bytes named = Good(0);
  named.Byte("CHIC", 0).Text("CHNA", "N").Int("CHIT", 0);

  std::vector<FailureCase> cases;
  cases.push_back({"Version58", Bytes().Int("LVRS", 58).Marker("VLTG").Int("CHCO", 0), {newer}});
  cases.push_back(
      {"VersionComparedUnsigned", Bytes().Int("LVRS", -1).Marker("VLTG").Int("CHCO", 0), {newer}});
  cases.push_back({"NoGroupMarker",
                   Bytes().Int("LVRS", 57).Int("CHCO", 0),
                   {{VLT_MSG_USERERROR, kNotAGroup},
                    {VLT_MSG_ERROR, "Failed loading channel group, buffersize: 24"}}});
  cases.push_back({"Empty",
                   Bytes(),
                   {{VLT_MSG_USERERROR, kNotAGroup},
                    {VLT_MSG_ERROR, "Failed loading channel group, buffersize: 0"}}});
  cases.push_back({"NoItemCount",
                   Bytes().Int("LVRS", 57).Marker("VLTG"),
                   {{VLT_MSG_ERROR, "Vlt_ChannelGroup::LoadChannelGroup: No itemcount"}}});
  cases.push_back({"NoChannelIndex", Header(1), noIndex});
  cases.push_back({"IndexBelowMinusOne", Header(1).Int("CHIX", -2), noIndex});
  cases.push_back({"HugeIndex", Header(1).Int("CHIX", 0x7FFFFFFF), noIndex});
  cases.push_back({"HugeIndexUnderHugeCount", Header(0x7FFFFFFF).Int("CHIX", 0x7FFFFFF0), noIndex});
  // The count is not trusted either: the records end where the data does.
  cases.push_back({"HugeCount",
                   Header(0x7FFFFFFF).Append(named).Int("CHLC", 0),
                   {noIndex[0],
                    noIndex[1],
                    {VLT_MSG_ERROR, "A1B2C3D4-0001-4E00-8000-000000000001"},
                    noIndex[3]}});
  {
    Bytes twice = Header(2).Append(named).Int("CHLC", 0);
    twice.Int("CHIX", 0).Guid("CHID", kGoodType).Text("CHNA", "M").Int("CHLC", 0);
    cases.push_back({"SameIndexTwice",
                     twice,
                     {noIndex[0],
                      noIndex[1],
                      {VLT_MSG_ERROR, "A1B2C3D4-0001-4E00-8000-000000000001"},
                      noIndex[3]}});
  }
  cases.push_back(
      {"MissingPlugin",
       Header(1)
           .Int("CHIX", 0)
           .Guid("CHID", testplugins::kMissingType)
           .Text("CHNA", "N")
           .Int("CHLC", 0),
       {{VLT_MSG_USERINFO, kBackwardCompatible},
        {VLT_MSG_USERERROR, kNotInstalled},
        {VLT_MSG_ERROR, "Vlt_ChannelGroup::LoadChannelGroup: Couldn't find channel DLL!"},
        {VLT_MSG_ERROR, "A1B2C3D4-0001-4E00-8000-000000000099"}}});
  cases.push_back({"NoName",
                   Header(1).Append(Good(0)).Byte("CHIC", 0).Int("CHIT", 0).Int("CHLC", 0),
                   withCouldNotLoad({{VLT_MSG_ERROR, "Couldn't find channel name header"}})});
  cases.push_back({"NameLongerThanTheFile",
                   Header(1).Append(Good(0)).Raw("CHNA", 4).U32(0xFFFFFFF0u).Raw("N", 2),
                   withCouldNotLoad({{VLT_MSG_ERROR, "Couldn't find channel name header"}})});
  cases.push_back({"NoLinkCount", Header(1).Append(named),
                   withCouldNotLoad({{VLT_MSG_ERROR, "Couldn't find channel linkcount header"}})});
  cases.push_back({"MissingLink",
                   Header(1).Append(named).Int("CHLC", 2).Int("CHLI", -1).Int("CHUL", 0),
                   withCouldNotLoad({{VLT_MSG_ERROR, "Couldn't find channel links header"},
                                     {VLT_MSG_ERROR, "2."},
                                     {VLT_MSG_ERROR, "N"}})});
  cases.push_back({"HugeLinkCount", Header(1).Append(named).Int("CHLC", 0x7FFFFFFF),
                   withCouldNotLoad({{VLT_MSG_ERROR, "Couldn't find channel links header"},
                                     {VLT_MSG_ERROR, "2147483647."},
                                     {VLT_MSG_ERROR, "N"}})});
  {
    // A public call record of the wrong size would overrun the record.
    Bytes shortRecord = Header(1).Append(Good(0)).Marker("CHES").Text("CHNA", "C");
    shortRecord.Int("CHIT", VCO_PUBLICCALL).Block("CHES", "0123456789", 10).Int("CHLC", 0);
    cases.push_back({"PublicCallRecordOfWrongSize", shortRecord, withCouldNotLoad({})});
  }
  return cases;
}

class GroupFileFailureTest : public GroupFileTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(GroupFileFailureTest, LoadFailsWithTheReports) {
  bool ok = true;
  Load(GetParam().file.data(), &ok);
  EXPECT_FALSE(ok);
  // The expected reports appear in order (other reports may come between them).
  size_t next = 0;
  for (const RecordedMessage& m : messages_.messages) {
    if (next < GetParam().reports.size() && m.type == GetParam().reports[next].type &&
        m.text == GetParam().reports[next].text)
      ++next;
  }
  EXPECT_EQ(next, GetParam().reports.size()) << "missing: " << GetParam().reports[next].text;
  if (GetParam().reports.empty()) {
    EXPECT_FALSE(messages_.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Files, GroupFileFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GroupFileTest, VersionAtMostOursAndAbsentVersionBothLoad) {
  for (const int version : {0, 57}) {
    Bytes b;
    if (version != 0) b.Int("LVRS", version);
    b.Marker("VLTG").Int("CHCO", 0);
    bool ok = false;
    Load(b.data(), &ok);
    EXPECT_TRUE(ok) << version;
  }
}

TEST_F(GroupFileTest, ParameterCountBeyondTheRecordsTakesTheRecordsThatAreThere) {
  uint8_t record[56] = {'P'};
  Bytes b = Header(0);
  b.Int("CGIC", 1000000).Block("CGII", record, sizeof(record)).Text("CINA", "I");
  Vlt_ChannelGroup* group = LoadOk(b.data());
  ASSERT_EQ(group->GetParameterCount(), 1);
  EXPECT_STREQ(group->GetParameterInfo(0).name, "P");
}

TEST_F(GroupFileTest, LinksToChannelsNotInTheFileAreDropped) {
  Bytes b = Header(1).Append(Good(0)).Text("CHNA", "Lonely").Int("CHLC", 2);
  Link(b, 7, 0, 0);
  EmptyLink(b, 0);
  Vlt_ChannelGroup* group = LoadOk(b.data());
  EXPECT_EQ(group->GetChannel(0)->GetChildLinkPositionCount(0), 0);
  // Nothing waits any more: a channel that arrives at slot 7 later is not linked.
  Vlt_Channel* late = NewChannel(group, kGoodType, "Late");
  group->SetChannel(late, 7);
  group->CheckRequestListForIndex(7);
  EXPECT_EQ(group->GetChannel(0)->GetChildLinkPositionCount(0), 0);
  group->SetChannel(nullptr, 7);
  group->SetChannel(late, 1);
}

// Group files on disk, in a folder of their own.
class GroupFileOnDiskTest : public GroupFileTest {
 protected:
  void SetUp() override {
    GroupFileTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("vexilon-groupfiles-") + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      vplat::setReadOnly(entry.path().string().c_str(), false);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    GroupFileTest::TearDown();
  }
  std::string PathOf(const char* name) const { return (folder_ / name).string(); }
  static std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  Vlt_ChannelGroup* SmallGroup() {
    Vlt_ChannelGroup* group = NewGroup();
    Vlt_Channel* a = NewChannel(group, kGoodType, "A");
    a->SetChild(NewChannel(group, kGoodType, "B"), -1, 0);
    group->SetPoolName("Small");
    return group;
  }

  std::filesystem::path folder_;
};

TEST_F(GroupFileOnDiskTest, SavedFileLoadsBackWithItsName) {
  Vlt_ChannelGroup* group = SmallGroup();
  const std::string path = PathOf("small.cgr");
  ASSERT_TRUE(group->SaveChannelGroup(path.c_str()));
  EXPECT_STREQ(group->GetChannelGroupFileName(), path.c_str());
  EXPECT_EQ(ReadAll(path), Save(group));

  Vlt_ChannelGroup* loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), true));
  EXPECT_STREQ(loaded->GetChannelGroupFileName(), path.c_str());
  EXPECT_EQ(loaded->GetChannel(0)->GetChildFromLinkPosition(0, 0), loaded->GetChannel(1));
  EXPECT_FALSE(loaded->GetReadOnly());
  EXPECT_FALSE(loaded->GetGroupIsProtected());
}

TEST_F(GroupFileOnDiskTest, MissingFileAndUncreatableFileAreReported) {
  Vlt_ChannelGroup* group = SmallGroup();
  const std::string missing = PathOf("missing.cgr");
  EXPECT_FALSE(group->LoadChannelGroupFromFile(missing.c_str(), true));
  EXPECT_TRUE(HasMessage(VLT_MSG_USERERROR,
                         "The following channel group file could not be loaded: " + missing));
  EXPECT_FALSE(group->LoadChannelGroupFromFile(nullptr, true));
  EXPECT_FALSE(group->LoadChannelGroupFromBuffer(nullptr, 0, nullptr, true));

  const std::string nowhere = PathOf("no-such-folder/x.cgr");
  EXPECT_FALSE(group->SaveChannelGroup(nowhere.c_str()));
  EXPECT_TRUE(HasMessage(VLT_MSG_ERROR, "Couldn't create channel group file: " + nowhere));
}

TEST_F(GroupFileOnDiskTest, ReadOnlyFileMarksTheGroupAndSavingItWarns) {
  const std::string path = PathOf("locked.cgr");
  ASSERT_TRUE(SmallGroup()->SaveChannelGroup(path.c_str()));
  ASSERT_TRUE(vplat::setReadOnly(path.c_str(), true));
  Vlt_ChannelGroup* loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), true));
  EXPECT_TRUE(loaded->GetReadOnly());

  const std::string copy = PathOf("copy.cgr");
  EXPECT_TRUE(loaded->SaveChannelGroup(copy.c_str()));
  EXPECT_TRUE(HasMessage(VLT_MSG_USERWARNING,
                         "This channel group was loaded as a read-only file. The program will try "
                         "to save it, but this might fail: " +
                             copy));
}

TEST_F(GroupFileOnDiskTest, ProtectedGroupIsScrambledAndLoadsLikeThePlainOne) {
  Vlt_ChannelGroup* group = SmallGroup();
  const std::vector<uint8_t> plain = Save(group);
  group->SetGroupIsProtected(true);
  const std::string path = PathOf("protected.cgr");
  ASSERT_TRUE(group->SaveChannelGroup(path.c_str()));

  const std::vector<uint8_t> stored = ReadAll(path);
  const Bytes head = Bytes()
                         .Marker("__3_")
                         .Int("OPRT", static_cast<int>(plain.size()))
                         .Raw("WWRT", 4)
                         .U32(static_cast<uint32_t>(plain.size()));
  ASSERT_EQ(stored.size(), head.size() + plain.size());
  EXPECT_TRUE(std::equal(head.data().begin(), head.data().end(), stored.begin()));
  EXPECT_FALSE(std::equal(plain.begin(), plain.end(), stored.begin() + head.size()));

  Vlt_ChannelGroup* loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), true));
  EXPECT_TRUE(loaded->GetGroupIsProtected());
  EXPECT_EQ(Save(loaded), plain);
  EXPECT_TRUE(messages_.messages.empty());

  // Every cut of the protected file fails before anything is loaded.
  for (size_t n = 0; n < stored.size(); ++n) {
    messages_.messages.clear();
    bool ok = true;
    Vlt_ChannelGroup* cut = Load(
        std::vector<uint8_t>(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(n)), &ok);
    EXPECT_FALSE(ok) << n;
    EXPECT_TRUE(HasMessage(VLT_MSG_USERERROR, kNotAGroup)) << n;
    EXPECT_EQ(cut->GetChannelCount(), 0) << n;
  }
}

TEST_F(GroupFileOnDiskTest, CallThatLoadsItsTargetStoresTheTargetPathRelativeToItsGroup) {
  Vlt_ChannelGroup* house = engine_->CreateNewGroup("House", false, 0);
  Vlt_ChannelGroup* main = engine_->CreateNewGroup("Main", false, 0);
  ASSERT_TRUE(house && main);
  house->SetChannelGroupFileName(PathOf("groups/house.cgr").c_str());
  NewChannel(house, kGoodType, "Door")->SetChannelInterfaceType(VCO_PUBLIC);
  Vlt_Channel* call = NewChannel(main, kGoodType, "Call");
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info = channelInternal->GetPublicCallInfo(call);
  std::strcpy(info.channelName, "Door");
  std::strcpy(info.poolName, "House");
  std::strcpy(info.targetPath, "old\\place.cgr");
  ASSERT_TRUE(channelInternal->SetPublicCallInfo(call, info));
  ASSERT_TRUE(channelInternal->GetAutoLoadGroup(call));

  const std::string path = PathOf("main.cgr");
  ASSERT_TRUE(main->SaveChannelGroup(path.c_str()));
  EXPECT_STREQ(channelInternal->GetPublicCallInfo(call).targetPath, ".\\groups\\house.cgr");
  Vlt_ChannelGroup* loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), false));
  EXPECT_STREQ(channelInternal->GetPublicCallInfo(loaded->GetChannel(0)).targetPath,
               ".\\groups\\house.cgr");
}

TEST_F(GroupFileOnDiskTest, CompressedGroupLoadsLikeThePlainOne) {
  Vlt_ChannelGroup* group = SmallGroup();
  const std::vector<uint8_t> plain = Save(group);
  Vlt_Channel* translator =
      engine_->InitChannelFromType(VLT_COMPRESSION_TRANSLATOR_GUID, nullptr, false);
  ASSERT_NE(translator, nullptr);
  std::vector<uint8_t> packed;
  {
    VltFileSaver saver(engine_.get());
    saver.OpenMemory();
    // Two containers, one inside the other.
    ASSERT_TRUE(static_cast<Vco_TranslatorChannel*>(translator)
                    ->WrapData(plain.data(), static_cast<uint32_t>(plain.size()), &saver));
    std::vector<uint8_t> once(saver.GetBuffer(), saver.GetBuffer() + saver.GetBufferSize());
    saver.OpenMemory();
    ASSERT_TRUE(static_cast<Vco_TranslatorChannel*>(translator)
                    ->WrapData(once.data(), static_cast<uint32_t>(once.size()), &saver));
    packed.assign(saver.GetBuffer(), saver.GetBuffer() + saver.GetBufferSize());
    saver.CloseMemory();
  }
  delete translator;
  ASSERT_EQ(std::memcmp(packed.data(), "VLTF", 4), 0);
  Vlt_ChannelGroup* loaded = LoadOk(packed);
  EXPECT_EQ(Save(loaded), plain);
}

}  // namespace
}  // namespace grouptest
