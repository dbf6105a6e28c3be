// The tagged block stream through VltFileLoader and VltFileSaver and the base file plug-ins:
// the exact bytes, the reading rules callers rely on, and reads that never pass the end.
#include <cstring>

#include "FilesFixture.h"

namespace {

using filestest::Bytes;
using filestest::FilesTest;
using filestest::GoldenStream;

void WriteGolden(VltFileSaver& saver) {
  const uint8_t one = 1;
  saver.SaveTag("CHIC");
  saver.SaveBlockSize(1);
  saver.SaveDataToFile(&one, 1);
  saver.SaveTag("CHNA");
  saver.SaveBlockSize(8);
  saver.SaveDataToFile("Channel", 8);
}

// Reads the golden stream the way the group loader does; false at the first step that fails.
bool ReadGolden(VltFileLoader& loader) {
  uint8_t flag = 0;
  if (!loader.GetInfoIfTag("CHIC") || loader.GetSizeDataBlock(false) != 1 ||
      !loader.CopyTagDataToPointer(&flag) || flag != 1)
    return false;
  if (!loader.GetInfoIfTag("CHNA")) return false;
  const uint32_t size = loader.GetSizeDataBlock(false);
  std::string name(size + 1, '\0');
  if (size != 8 || !loader.CopyTagDataToPointer(&name[0])) return false;
  return std::strcmp(name.c_str(), "Channel") == 0 && loader.GetIfEndOfFile();
}

TEST_F(FilesTest, GoldenStreamIsWrittenByteForByteAndReadsBack) {
  VltFileSaver saver(engine_.get());
  saver.OpenMemory();
  WriteGolden(saver);
  saver.CloseMemory();
  ASSERT_EQ(saver.GetBufferSize(), 25u);
  EXPECT_EQ(Bytes(saver.GetBuffer(), saver.GetBufferSize()), GoldenStream());

  const std::string path = PathOf("golden.bin");
  ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
  WriteGolden(saver);
  ASSERT_TRUE(saver.CloseSaveFile());
  EXPECT_EQ(filestest::ReadAll(path), GoldenStream());

  VltFileLoader loader(engine_.get());
  ASSERT_TRUE(loader.LoadFile(path.c_str()));
  EXPECT_EQ(loader.GetBufferSize(), 25);
  EXPECT_TRUE(ReadGolden(loader));
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(FilesTest, AbsentOptionalTagLeavesThePosition) {
  const std::string golden = GoldenStream();
  VltFileLoader loader(engine_.get());
  loader.SetBuffer(golden.data(), 25, false);
  const uint8_t* start = loader.GetBuffer();
  EXPECT_FALSE(loader.GetInfoIfTag("CHNA"));
  EXPECT_FALSE(loader.GetInfoIfTag("CHIX"));
  EXPECT_EQ(loader.GetBuffer(), start);
  EXPECT_TRUE(loader.CheckHeader("CHIC", false));
  EXPECT_EQ(loader.GetBuffer(), start);
  EXPECT_TRUE(ReadGolden(loader));
}

TEST_F(FilesTest, MarkerThenSizedBlock) {
  const std::string stream = std::string("LFKRLDDC\x04\x00\x00\x00\x02\x00\x00\x00", 16);
  VltFileLoader loader(engine_.get());
  loader.SetBuffer(stream.data(), static_cast<uint32_t>(stream.size()), false);
  ASSERT_TRUE(loader.GetInfoIfTag("LFKR"));
  ASSERT_TRUE(loader.GetInfoIfTag("LDDC"));
  int32_t count = 0;
  ASSERT_EQ(loader.GetSizeDataBlock(false), 4u);
  ASSERT_TRUE(loader.CopyTagDataToPointer(&count));
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(loader.GetIfEndOfFile());
}

TEST_F(FilesTest, GotoTagSkipsUnknownDataAndStaysWhenTheTagIsAbsent) {
  const std::string stream =
      std::string("PLUG\x03\x00\x00\x00xyzCHIX\x04\x00\x00\x00\x05\x00\x00\x00", 23);
  VltFileLoader loader(engine_.get());
  loader.SetBuffer(stream.data(), static_cast<uint32_t>(stream.size()), false);
  const uint8_t* start = loader.GetBuffer();
  EXPECT_FALSE(loader.GotoTag("CHCO", 0));
  EXPECT_EQ(loader.GetBuffer(), start);
  ASSERT_TRUE(loader.GotoTag("CHIX", 0));
  int32_t index = 0;
  ASSERT_TRUE(loader.CopyTagDataToPointer(&index));
  EXPECT_EQ(index, 5);
  EXPECT_FALSE(loader.GotoTag("CHIX", 0));  // only forward
}

TEST_F(FilesTest, ArrayBlockIsReadInPlace) {
  const std::string stream = std::string(
      "CHPN\x06\x00\x00\x00"
      "abcdefNEXT",
      18);
  VltFileLoader loader(engine_.get());
  loader.SetBuffer(stream.data(), static_cast<uint32_t>(stream.size()), false);
  ASSERT_TRUE(loader.GetInfoIfTag("CHPN"));
  ASSERT_EQ(loader.GetSizeDataBlock(true), 6u);
  std::string records;
  for (int i = 0; i < 3; ++i) {
    records += Bytes(loader.GetBuffer(), 2) + "|";
    loader.AddBufferPos(2);
  }
  EXPECT_EQ(records, "ab|cd|ef|");
  EXPECT_TRUE(loader.GetInfoIfTag("NEXT"));
  loader.AddBufferPos(100);  // clamped at the end
  EXPECT_TRUE(loader.GetIfEndOfFile());
  loader.ResetPosition();
  EXPECT_TRUE(loader.CheckHeader("CHPN", false));
}

TEST_F(FilesTest, SetBufferWithCopyOutlivesTheCallersBytes) {
  std::string callers = GoldenStream();
  VltFileLoader copied(engine_.get());
  copied.SetBuffer(callers.data(), 25, true);
  VltFileLoader borrowed(engine_.get());
  borrowed.SetBuffer(callers.data(), 25, false);
  callers[0] = 'X';
  EXPECT_TRUE(ReadGolden(copied));
  EXPECT_FALSE(borrowed.CheckHeader("CHIC", false));

  // Writing in place changes what is read next, never the caller's bytes.
  callers = GoldenStream();
  borrowed.SetBuffer(callers.data(), 25, false);
  borrowed.SetBufferChar(3, 'X');
  borrowed.SetBufferChar(1000, 'X');
  EXPECT_TRUE(borrowed.CheckHeader("CHIX", false));
  EXPECT_EQ(callers, GoldenStream());
}

TEST_F(FilesTest, CrcAndAttributesOfTheLoadedFile) {
  const std::string path = PathOf("check.txt");
  filestest::WriteAll(path, "123456789");
  VltFileLoader loader(engine_.get());
  ASSERT_TRUE(loader.LoadFile(path.c_str()));
  EXPECT_EQ(static_cast<uint32_t>(loader.GetCRC()), 0xCBF43926u);  // the CRC-32 check value
  EXPECT_EQ(loader.GetAttributes() & VLT_FILE_ATTRIBUTE_READONLY, 0u);

  ASSERT_TRUE(vplat::setReadOnly(path.c_str(), true));
  ASSERT_TRUE(loader.LoadFile(path.c_str()));
  EXPECT_EQ(loader.GetAttributes() & VLT_FILE_ATTRIBUTE_READONLY, VLT_FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(vplat::setReadOnly(path.c_str(), false));
}

TEST_F(FilesTest, LoadFileFailsCleanly) {
  const std::string golden = GoldenStream();
  const std::string missing = PathOf("missing.cgr");
  for (const char* name : {missing.c_str(), "http://example.invalid/group.cgr",
                           "HTTP://example.invalid/x", "", static_cast<const char*>(nullptr)}) {
    VltFileLoader loader(engine_.get());
    loader.SetBuffer(golden.data(), 25, true);
    EXPECT_FALSE(loader.LoadFile(name)) << (name ? name : "(null)");
    // A failed load leaves nothing to read.
    EXPECT_EQ(loader.GetBufferSize(), 0);
    EXPECT_FALSE(loader.GetInfoIfTag("CHIC"));
  }
}

// Every prefix of the golden stream: the reader fails somewhere and never reads past the end.
TEST_F(FilesTest, EveryTruncationOfTheGoldenStreamFailsCleanly) {
  const std::string golden = GoldenStream();
  for (size_t length = 0; length < golden.size(); ++length) {
    // Its own heap block, so that the sanitizer sees any read past the prefix.
    std::vector<uint8_t> prefix(golden.data(), golden.data() + length);
    VltFileLoader loader(engine_.get());
    loader.SetBuffer(prefix.data(), static_cast<uint32_t>(length), false);
    EXPECT_FALSE(ReadGolden(loader)) << length;
    loader.ResetPosition();
    EXPECT_FALSE(loader.GotoTag("NONE", 0)) << length;
    loader.ResetPosition();
    while (loader.SkipCurrentTag()) {
    }
  }
}

TEST_F(FilesTest, SizesPointingPastTheEndReadNothing) {
  struct Case {
    const char* what;
    std::string stream;
  };
  const Case cases[] = {
      {"size one past the data", std::string("CHNA\x05\x00\x00\x00"
                                             "abcd",
                                             12)},
      {"huge size", std::string("CHNA\xFF\xFF\xFF\xFF"
                                "abcd",
                                12)},
      {"size field cut", std::string("CHNA\x04\x00", 6)},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes(c.stream.begin(), c.stream.end());
    VltFileLoader loader(engine_.get());
    loader.SetBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    ASSERT_TRUE(loader.GetInfoIfTag("CHNA")) << c.what;
    const uint8_t* at = loader.GetBuffer();
    char target[8] = "";
    EXPECT_EQ(loader.GetSizeDataBlock(false), 0u) << c.what;
    EXPECT_EQ(loader.GetSizeDataBlock(true), 0u) << c.what;
    EXPECT_FALSE(loader.CopyTagDataToPointer(target)) << c.what;
    EXPECT_EQ(loader.GetTagData(), nullptr) << c.what;
    EXPECT_EQ(loader.GetBuffer(), at) << c.what;
    loader.ResetPosition();
    EXPECT_FALSE(loader.SkipCurrentTag()) << c.what;
  }
}

}  // namespace
