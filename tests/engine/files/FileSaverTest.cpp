// Saving never leaves a truncated file where the previous one stood: the new file is written
// beside it and takes its place only when it is complete.
#include "FilesFixture.h"

namespace {

using filestest::Bytes;
using filestest::FilesTest;
using filestest::ReadAll;
using filestest::WriteAll;

TEST_F(FilesTest, CompletedSaveReplacesTheOldFileAndLeavesNoTemporary) {
  const std::string path = PathOf("group.cgr");
  WriteAll(path, "old contents that are longer than the new ones");
  VltFileSaver saver(engine_.get());
  ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
  EXPECT_STREQ(saver.GetSaveingFileName(), path.c_str());
  saver.SaveTag("LVRS");
  saver.SaveBlockSize(4);
  saver.SaveDataToFile("\x39\x00\x00\x00", 4);
  // Until the save is closed the old file stands unchanged.
  EXPECT_EQ(ReadAll(path), "old contents that are longer than the new ones");
  ASSERT_TRUE(saver.CloseSaveFile());
  EXPECT_EQ(ReadAll(path), std::string("LVRS\x04\x00\x00\x00\x39\x00\x00\x00", 12));
  EXPECT_EQ(LooseFiles(), std::vector<std::string>{"group.cgr"});
  EXPECT_FALSE(saver.CloseSaveFile());  // nothing open any more
}

TEST_F(FilesTest, InterruptedSaveKeepsTheOldFileAndRemovesItsTemporary) {
  const std::string path = PathOf("group.cgr");
  WriteAll(path, "old");
  {
    VltFileSaver saver(engine_.get());
    ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
    saver.SaveTag("LVRS");
    EXPECT_EQ(LooseFiles().size(), 2u);  // the old file and the one being written
  }
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(LooseFiles(), std::vector<std::string>{"group.cgr"});

  // A second OpenSaveFile abandons the first save the same way.
  VltFileSaver saver(engine_.get());
  ASSERT_TRUE(saver.OpenSaveFile(PathOf("other.cgr").c_str(), false));
  saver.SaveTag("XXXX");
  ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
  saver.SaveTag("NEW!");
  ASSERT_TRUE(saver.CloseSaveFile());
  EXPECT_EQ(ReadAll(path), "NEW!");
  EXPECT_EQ(LooseFiles(), std::vector<std::string>{"group.cgr"});
}

TEST_F(FilesTest, SaveThatCannotStartChangesNothing) {
  const std::string locked = PathOf("locked.cgr");
  WriteAll(locked, "keep");
  ASSERT_TRUE(vplat::setReadOnly(locked.c_str(), true));
  VltFileSaver saver(engine_.get());
  EXPECT_FALSE(saver.OpenSaveFile(locked.c_str(), false));
  EXPECT_EQ(saver.SaveTag("LVRS"), 0);
  EXPECT_FALSE(saver.CloseSaveFile());
  EXPECT_EQ(ReadAll(locked), "keep");
  ASSERT_TRUE(vplat::setReadOnly(locked.c_str(), false));

  const std::string nowhere = (folder_ / "no-such-folder" / "group.cgr").string();
  EXPECT_FALSE(saver.OpenSaveFile(nowhere.c_str(), false));
  EXPECT_FALSE(saver.OpenSaveFile(folder_.string().c_str(), false));  // a folder
  EXPECT_FALSE(saver.OpenSaveFile("", false));
  EXPECT_EQ(LooseFiles(), std::vector<std::string>{"locked.cgr"});
}

TEST_F(FilesTest, MemoryWritingCollectsTheBytes) {
  VltFileSaver saver(engine_.get());
  EXPECT_EQ(saver.SaveTag("NONE"), 0);  // no target yet
  saver.OpenMemory();
  EXPECT_EQ(saver.SaveTag("CHEV"), 4);
  EXPECT_EQ(saver.SaveBlockSize(0x01020304), 4);
  EXPECT_EQ(saver.SaveDataToFile("ab", 2), 2);
  EXPECT_EQ(saver.SaveDataToFile(nullptr, 2), 0);
  saver.CloseMemory();
  EXPECT_EQ(saver.SaveTag("MORE"), 0);  // closed: nothing more is collected
  ASSERT_EQ(saver.GetBufferSize(), 10u);
  EXPECT_EQ(Bytes(saver.GetBuffer(), 10), std::string("CHEV\x04\x03\x02\x01"
                                                      "ab",
                                                      10));
  saver.OpenMemory();  // starts afresh
  EXPECT_EQ(saver.GetBufferSize(), 0u);
}

}  // namespace
