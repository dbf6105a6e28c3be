// "VLTF" containers: written by the compression translator, undone by TranslateFile (both
// forms) level by level, and refused without a crash, an overrun or a huge allocation when
// they are truncated, hostile or of an unknown translator.
#include <cstring>

#include "FilesFixture.h"

namespace {

using filestest::BasePlugin;
using filestest::Bytes;
using filestest::FilesTest;
using filestest::GoldenStream;

std::string Le32(uint32_t value) {
  const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                         static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
  return std::string(bytes, 4);
}

// The container header of the compression translator, GUID bytes in their stored layout.
std::string CompressionHeader() {
  return "VLTF" + Le32(16) +
         std::string("\xA3\xE7\xD0\x51\xBC\x96\x2E\x4F\xB4\x78\x0A\x3C\x6E\x9D\x12\xF4", 16);
}

class ContainerTest : public FilesTest {
 protected:
  // data wrapped once by the compression translator plug-in.
  std::string Wrap(const std::string& data) {
    Vlt_Channel* channel =
        engine_->InitChannelFromType(VLT_COMPRESSION_TRANSLATOR_GUID, nullptr, false);
    EXPECT_NE(channel, nullptr);
    if (channel == nullptr) return std::string();
    VltFileSaver saver(engine_.get());
    saver.OpenMemory();
    EXPECT_TRUE(static_cast<Vco_TranslatorChannel*>(channel)->WrapData(
        data.data(), static_cast<uint32_t>(data.size()), &saver));
    delete channel;
    return Bytes(saver.GetBuffer(), saver.GetBufferSize());
  }

  // What a loader holds after TranslateFile on the given bytes, from the start.
  std::string Translated(const std::string& bytes) {
    std::vector<uint8_t> heap(bytes.begin(), bytes.end());  // exact size for the sanitizer
    VltFileLoader loader(engine_.get());
    loader.SetBuffer(heap.data(), static_cast<uint32_t>(heap.size()), false);
    ext_->TranslateFile(&loader);
    loader.ResetPosition();
    return Bytes(loader.GetBuffer(), static_cast<size_t>(loader.GetBufferSize()));
  }
};

TEST_F(ContainerTest, WrappedDataHasTheContainerLayout) {
  const std::string wrapped = Wrap(GoldenStream());
  ASSERT_GT(wrapped.size(), 24u + 12 + 12 + 8);
  EXPECT_EQ(wrapped.substr(0, 24), CompressionHeader());
  EXPECT_EQ(wrapped.substr(24, 12), "ZIOS" + Le32(4) + Le32(25));
  const uint32_t packed = static_cast<uint32_t>(wrapped.size() - 24 - 12 - 12 - 8);
  EXPECT_EQ(wrapped.substr(36, 12), "ZINS" + Le32(4) + Le32(packed));
  EXPECT_EQ(wrapped.substr(48, 8), "ZICB" + Le32(packed));
  EXPECT_EQ(static_cast<uint8_t>(wrapped[56]) & 0x0F, 8);  // a zlib header: deflate
}

TEST_F(ContainerTest, NestedContainersAreUndoneBeforeTheFirstBlock) {
  const std::string twice = Wrap(Wrap(GoldenStream()));
  EXPECT_EQ(Translated(twice), GoldenStream());

  VltFileLoader loader(engine_.get());
  loader.SetBuffer(twice.data(), static_cast<uint32_t>(twice.size()), false);
  ext_->TranslateFile(&loader);
  EXPECT_TRUE(loader.GetInfoIfTag("CHIC"));

  // The channel form, as the launcher uses it: the channel ends up holding the plain stream.
  Vco_FileLoaderChannel* channel = loader.GetLoaderChannel();
  ASSERT_NE(channel, nullptr);
  channel->SetBuffer(twice.data(), static_cast<uint32_t>(twice.size()), true);
  ext_->TranslateFile(channel);
  EXPECT_EQ(Bytes(channel->GetBuffer(), static_cast<size_t>(channel->GetBufferSize())),
            GoldenStream());
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(ContainerTest, PlainDataAndEmptyDataStayAsTheyAre) {
  EXPECT_EQ(Translated(GoldenStream()), GoldenStream());
  EXPECT_EQ(Translated(""), "");
  EXPECT_EQ(Translated(Wrap("")), "");
  ext_->TranslateFile(static_cast<VltFileLoader*>(nullptr));
  ext_->TranslateFile(static_cast<Vco_FileLoaderChannel*>(nullptr));
}

TEST_F(ContainerTest, UnknownTranslatorLeavesTheData) {
  std::string foreign = Wrap(GoldenStream());
  foreign[8] = '\x01';  // another translator GUID
  EXPECT_EQ(Translated(foreign), foreign);

  // The reader then fails on its first expected tag.
  VltFileLoader loader(engine_.get());
  loader.SetBuffer(foreign.data(), static_cast<uint32_t>(foreign.size()), false);
  ext_->TranslateFile(&loader);
  EXPECT_FALSE(loader.GetInfoIfTag("CHIC"));
}

class NoTranslatorTest : public ContainerTest {
 protected:
  std::vector<BasePlugin> Plugins() const override {
    return {filestest::kFileLoader, filestest::kFileSaver};
  }
};

TEST_F(NoTranslatorTest, MissingTranslatorPluginLeavesTheData) {
  // Written by hand: without the plug-in nothing can wrap either.
  const std::string container = CompressionHeader() + "ZIOS" + Le32(4) + Le32(25) + "ZINS" +
                                Le32(4) + Le32(3) + "ZICB" + Le32(3) + "abc";
  EXPECT_EQ(Translated(container), container);

  VltFileLoader loader(engine_.get());
  Vco_FileLoaderChannel* channel = loader.GetLoaderChannel();
  ASSERT_NE(channel, nullptr);
  channel->SetBuffer(container.data(), static_cast<uint32_t>(container.size()), true);
  ext_->TranslateFile(channel);
  EXPECT_EQ(channel->GetBufferSize(), static_cast<int>(container.size()));
  EXPECT_TRUE(channel->CheckHeader("VLTF", false));
}

TEST_F(ContainerTest, EveryTruncationOfAContainerIsRefused) {
  const std::string wrapped = Wrap(GoldenStream());
  for (size_t length = 0; length < wrapped.size(); ++length) {
    const std::string prefix = wrapped.substr(0, length);
    EXPECT_EQ(Translated(prefix), prefix) << length;
  }
  EXPECT_EQ(Translated(wrapped), GoldenStream());
}

TEST_F(ContainerTest, HostileHeadersAreRefused) {
  const std::string wrapped = Wrap(GoldenStream());
  const uint32_t packed = static_cast<uint32_t>(wrapped.size() - 56);
  const std::string stream = wrapped.substr(56);
  auto body = [&](uint32_t original, uint32_t count, uint32_t blockSize) {
    return CompressionHeader() + "ZIOS" + Le32(4) + Le32(original) + "ZINS" + Le32(4) +
           Le32(count) + "ZICB" + Le32(blockSize) + stream;
  };
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"bomb: 4 GiB from a few bytes", body(0xFFFFFFFFu, packed, packed)},
      {"bomb: beyond the deflate ratio", body(1032 * packed + 1, packed, packed)},
      {"original size larger than the stream gives", body(26, packed, packed)},
      {"original size smaller than the stream gives", body(24, packed, packed)},
      {"stream count past the end", body(25, packed + 1, packed + 1)},
      {"stream count and block size differ", body(25, packed - 1, packed)},
      {"huge stream count", body(25, 0xFFFFFFF0u, 0xFFFFFFF0u)},
      {"header block larger than a GUID",
       "VLTF" + Le32(17) + CompressionHeader().substr(8) + "x" + wrapped.substr(24)},
      {"header block smaller than a GUID", "VLTF" + Le32(4) + wrapped.substr(8)},
      {"size field of a value block wrong",
       CompressionHeader() + "ZIOS" + Le32(8) + Le32(25) + Le32(0) + wrapped.substr(36)},
      {"corrupt stream",
       CompressionHeader() + wrapped.substr(24, 32) + std::string(packed, '\x55')},
  };
  for (const Case& c : cases) EXPECT_EQ(Translated(c.bytes), c.bytes) << c.what;
}

}  // namespace
