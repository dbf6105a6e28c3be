// The plug-in registry's items and lookups.
#include "HostFixture.h"

namespace hosttest {
namespace {

using namespace testplugins;

class ChannelListTest : public ::testing::Test {
 protected:
  ChannelList* List() { return engine_.GetExt()->GetChannelList(); }
  MessageRecorder messages_;
  EngineInterface engine_;
};

TEST_F(ChannelListTest, ItemsByIndexAndByType) {
  EXPECT_EQ(List()->GetItemCount(), 0);
  AddPlugin(&engine_, kGoodType, "first.dll");
  AddPlugin(&engine_, kNestType, "nest.dll");
  AddPlugin(&engine_, kGoodType, "second.dll");  // same type twice: both listed
  EXPECT_EQ(List()->GetItemCount(), 3);
  EXPECT_STREQ(List()->GetItem(1)->fileName, "nest.dll");
  EXPECT_EQ(List()->GetItem(-1), nullptr);
  EXPECT_EQ(List()->GetItem(3), nullptr);
  EXPECT_STREQ(List()->GetItem(kGoodType)->fileName, "first.dll");  // the first added wins
  EXPECT_EQ(List()->GetItem(kMissingType), nullptr);

  List()->SortChannelList();  // keeps the order of addition
  EXPECT_STREQ(List()->GetItem(0)->fileName, "first.dll");

  List()->Release();
  EXPECT_EQ(List()->GetItemCount(), 0);
}

TEST_F(ChannelListTest, NewItemCarriesTheDefaultRecord) {
  ChannelListItem item;
  EXPECT_TRUE(VltGuidIsNull(item.type.typeGuid));
  EXPECT_TRUE(VltGuidIsNull(item.type.baseGuid));
  EXPECT_EQ(item.type.version[0], 1);
  EXPECT_EQ(item.type.version[1], 57);
  EXPECT_EQ(item.type.version[2], 1);
  EXPECT_STREQ(item.fileName, "");
  EXPECT_FALSE(item.failed);
  EXPECT_EQ(item.dllInstance, nullptr);
}

TEST_F(ChannelListTest, UnknownTypeGivesTheUnknownRecord) {
  AddPlugin(&engine_, kGoodType, "good.dll");
  ChannelType known = List()->GetChannelType(kGoodType);
  EXPECT_TRUE(VltGuidEqual(known.typeGuid, kGoodType));

  ChannelType unknown = List()->GetChannelType(kMissingType);
  EXPECT_STREQ(unknown.name, "Unknown type");
  EXPECT_TRUE(VltGuidIsNull(unknown.typeGuid));
  EXPECT_TRUE(VltGuidIsNull(unknown.baseGuid));
  EXPECT_EQ(unknown.version[0], 1);
  EXPECT_EQ(unknown.version[1], 57);
  EXPECT_EQ(unknown.version[2], 1);
  EXPECT_EQ(unknown.reserved[0], 0);
  EXPECT_EQ(unknown.reserved[1], 0);
}

TEST_F(ChannelListTest, VersionInfoGoesToTheFirstItemOfTheType) {
  AddPlugin(&engine_, kGoodType, "first.dll");
  AddPlugin(&engine_, kGoodType, "second.dll");
  int versions[3] = {3, 57, 9};
  List()->SetVersionInfo(kGoodType, versions);
  EXPECT_EQ(List()->GetItem(0)->type.version[0], 3);
  EXPECT_EQ(List()->GetItem(0)->type.version[2], 9);
  EXPECT_EQ(List()->GetItem(1)->type.version[2], 1);
  List()->SetVersionInfo(kMissingType, versions);  // nobody to change
  EXPECT_EQ(List()->GetItemCount(), 2);
}

TEST_F(ChannelListTest, ChannelWithoutAModuleLeavesTheRecordAlone) {
  AddPlugin(&engine_, kGoodType, "good.dll");
  List()->CheckChannelUpdate(nullptr);
  globalEngine = &engine_;
  globalDllInstance = nullptr;
  Vlt_Channel plain;  // no module: its record has a null type GUID
  List()->CheckChannelUpdate(&plain);
  EXPECT_EQ(List()->GetItem(0)->type.version[2], 1);
}

TEST_F(ChannelListTest, WithoutFilePluginsNothingIsCachedScannedOrWritten) {
  // An install folder of its own, without a file loader, lister or saver: the shared test
  // install folder may get a cache from tests that register the file plug-ins there.
  unsigned char id[16];
  vplat::newGuid(id);
  char name[64];
  std::snprintf(name, sizeof(name), "vexilon-nofiles-%02x%02x%02x%02x%02x%02x", id[0], id[1], id[2],
                id[3], id[4], id[5]);
  const std::filesystem::path install = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(install / "channels");
  engine_.GetExt()->SetInstallDir(install.string().c_str());
  EXPECT_FALSE(List()->LoadChannelList());
  EXPECT_TRUE(List()->CreateChannelList());
  EXPECT_EQ(List()->GetItemCount(), 0);
  EXPECT_FALSE(List()->SaveChannelList());
  EXPECT_FALSE(std::filesystem::exists(install / "channels.lst"));
  std::error_code ignored;
  std::filesystem::remove_all(install, ignored);
}

}  // namespace
}  // namespace hosttest
