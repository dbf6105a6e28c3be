// Whole-file reads, attributes, atomic replacement and folder listings: what the file loader,
// file saver and directory plug-ins build on, the same on Linux and Windows.
#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using vplat_test::ReadText;
using vplat_test::ScratchDir;
using vplat_test::WriteText;

TEST(ReadFile, ReadsEveryByteAndRefusesWhatIsNoFile) {
  ScratchDir dir;
  std::string binary("\x00\x01\xFF\r\n\x1A", 6);
  binary += std::string(70000, 'x');  // more than one read chunk
  WriteText(dir.path() / "data.bin", binary);
  WriteText(dir.path() / "empty.bin", "");

  std::vector<uint8_t> data;
  ASSERT_TRUE(vplat::readFile((dir.path() / "data.bin").string().c_str(), data));
  EXPECT_EQ(std::string(data.begin(), data.end()), binary);

  ASSERT_TRUE(vplat::readFile((dir.path() / "empty.bin").string().c_str(), data));
  EXPECT_TRUE(data.empty());

  data.assign(3, 7);
  EXPECT_FALSE(vplat::readFile((dir.path() / "missing.bin").string().c_str(), data));
  EXPECT_TRUE(data.empty());
  EXPECT_FALSE(vplat::readFile(dir.str().c_str(), data));
  EXPECT_FALSE(vplat::readFile(nullptr, data));
}

TEST(FileAttributes, ReadOnlyBitFollowsTheFileOnBothPlatforms) {
  ScratchDir dir;
  const std::string file = (dir.path() / "locked.cgr").string();
  WriteText(file, "x");
  uint32_t attributes = 0xFFFF;
  ASSERT_TRUE(vplat::fileAttributes(file.c_str(), attributes));
  EXPECT_EQ(attributes & (vplat::kAttributeReadOnly | vplat::kAttributeDirectory), 0u);

  ASSERT_TRUE(vplat::setReadOnly(file.c_str(), true));
  ASSERT_TRUE(vplat::fileAttributes(file.c_str(), attributes));
  EXPECT_EQ(attributes & vplat::kAttributeReadOnly, vplat::kAttributeReadOnly);

  ASSERT_TRUE(vplat::setReadOnly(file.c_str(), false));
  ASSERT_TRUE(vplat::fileAttributes(file.c_str(), attributes));
  EXPECT_EQ(attributes & vplat::kAttributeReadOnly, 0u);

  ASSERT_TRUE(vplat::fileAttributes(dir.str().c_str(), attributes));
  EXPECT_EQ(attributes & vplat::kAttributeDirectory, vplat::kAttributeDirectory);
  EXPECT_FALSE(vplat::fileAttributes((dir.path() / "missing").string().c_str(), attributes));
  EXPECT_EQ(attributes, 0u);
  EXPECT_FALSE(vplat::setReadOnly((dir.path() / "missing").string().c_str(), true));
}

TEST(ReplaceFile, PutsTheNewFileInPlaceOfTheOld) {
  ScratchDir dir;
  const std::string target = (dir.path() / "group.cgr").string();
  const std::string fresh = (dir.path() / "group.cgr.tmp").string();
  WriteText(fresh, "first");
  ASSERT_TRUE(vplat::replaceFile(fresh.c_str(), target.c_str()));  // no old file yet
  EXPECT_EQ(ReadText(target), "first");
  EXPECT_FALSE(vplat::fileExists(fresh.c_str()));

  WriteText(fresh, "second");
  ASSERT_TRUE(vplat::replaceFile(fresh.c_str(), target.c_str()));
  EXPECT_EQ(ReadText(target), "second");
  EXPECT_FALSE(vplat::fileExists(fresh.c_str()));

  EXPECT_FALSE(vplat::replaceFile(fresh.c_str(), target.c_str()));  // nothing to move
  EXPECT_EQ(ReadText(target), "second");

  EXPECT_TRUE(vplat::deleteFile(target.c_str()));
  EXPECT_FALSE(vplat::fileExists(target.c_str()));
  EXPECT_FALSE(vplat::deleteFile(target.c_str()));
}

TEST(ListFolder, ListsFilesOnlySortedBytewise) {
  ScratchDir dir;
  for (const char* name : {"b.dll", "A.DLL", "c.txt"}) WriteText(dir.path() / name, "x");
  std::filesystem::create_directories(dir.path() / "sub.dll");

  std::vector<std::string> names;
  ASSERT_TRUE(vplat::listFolder(dir.str().c_str(), names));
  EXPECT_EQ(names, (std::vector<std::string>{"A.DLL", "b.dll", "c.txt"}));

  std::filesystem::create_directories(dir.path() / "empty");
  ASSERT_TRUE(vplat::listFolder((dir.path() / "empty").string().c_str(), names));
  EXPECT_TRUE(names.empty());

  EXPECT_FALSE(vplat::listFolder((dir.path() / "missing").string().c_str(), names));
  EXPECT_TRUE(names.empty());
}

}  // namespace
