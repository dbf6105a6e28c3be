// Group file tests: a real engine with the test plug-ins and the base file plug-ins registered,
// groups saved to memory and loaded from buffers, and expected files written out block by
// block from the format's tables.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BaseChannelTypes.h"
#include "TestDataChannel.h"
#include "Vexilon.h"
#include "host/HostFixture.h"

namespace grouptest {

// A tagged block stream written by hand: little-endian sizes and integers, GUIDs in their
// stored layout, texts with their terminator.
class Bytes {
 public:
  Bytes& Marker(const char* tag) { return Raw(tag, 4); }
  Bytes& Block(const char* tag, const void* data, size_t size) {
    Raw(tag, 4);
    U32(static_cast<uint32_t>(size));
    return Raw(data, size);
  }
  Bytes& Int(const char* tag, int32_t value) {
    uint8_t b[4];
    Le(b, static_cast<uint32_t>(value));
    return Block(tag, b, 4);
  }
  Bytes& Byte(const char* tag, uint8_t value) { return Block(tag, &value, 1); }
  Bytes& Guid(const char* tag, const GUID& g) {
    const std::vector<uint8_t> b = GuidBytes(g);
    return Block(tag, b.data(), b.size());
  }
  Bytes& Text(const char* tag, const char* text) { return Block(tag, text, std::strlen(text) + 1); }
  Bytes& Raw(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    data_.insert(data_.end(), p, p + size);
    return *this;
  }
  Bytes& U32(uint32_t value) {
    uint8_t b[4];
    Le(b, value);
    return Raw(b, 4);
  }
  Bytes& Append(const Bytes& other) { return Raw(other.data_.data(), other.data_.size()); }

  static std::vector<uint8_t> GuidBytes(const GUID& g) {
    std::vector<uint8_t> b(16);
    Le(b.data(), g.Data1);
    b[4] = static_cast<uint8_t>(g.Data2);
    b[5] = static_cast<uint8_t>(g.Data2 >> 8);
    b[6] = static_cast<uint8_t>(g.Data3);
    b[7] = static_cast<uint8_t>(g.Data3 >> 8);
    std::memcpy(b.data() + 8, g.Data4, 8);
    return b;
  }

  const std::vector<uint8_t>& data() const { return data_; }
  size_t size() const { return data_.size(); }

 private:
  static void Le(uint8_t* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
  }
  std::vector<uint8_t> data_;
};

// The engine block of an ordinary channel with no interface records and no pools, up to its
// link count; the caller adds the link records and then EndChannel.
inline Bytes& BeginChannel(Bytes& b, int index, const GUID& type, const char* name, int links) {
  return b.Int("CHIX", index)
      .Guid("CHID", type)
      .Byte("CHIC", 0)
      .Text("CHNA", name)
      .Int("CHIT", 0)
      .Int("CHLC", links);
}
inline Bytes& Link(Bytes& b, int index, int position, int rank) {
  return b.Int("CHLI", index).Int("CHUL", position).Int("CHRP", rank);
}
inline Bytes& EmptyLink(Bytes& b, int position) { return b.Int("CHLI", -1).Int("CHUL", position); }
inline Bytes& EndChannel(Bytes& b) { return b.Byte("CHUP", 0); }

class GroupFileTest : public hosttest::HostTest {
 protected:
  static void SetUpTestSuite() {
    // The base plug-ins live in bin/channels and this folder's plug-in in bin/groupinstall:
    // both are found by bare name through the search path, as installed plug-ins are.
    const std::string bin = vplat::executableDir();
    const char sep = vplat::pathSeparator();
    std::string path;
    vplat::getEnv("PATH", path);
    const std::string extra = bin + sep + "channels" + vplat::pathListSeparator() + bin + sep +
                              "groupinstall" + sep + "channels";
    if (path.find(extra) == std::string::npos)
      vplat::setEnv("PATH", (extra + vplat::pathListSeparator() + path).c_str());
  }

  void SetUp() override {
    hosttest::HostTest::SetUp();
    hosttest::AddPlugin(engine_.get(), VLT_FILELOADER_GUID, "FileLoader.dll");
    hosttest::AddPlugin(engine_.get(), VLT_FILESAVER_GUID, "FileSaver.dll");
    hosttest::AddPlugin(engine_.get(), VLT_COMPRESSION_TRANSLATOR_GUID,
                        "51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4.dll");
    hosttest::AddPlugin(engine_.get(), kDataType, kDataFile);
    messages_.messages.clear();
  }

  void TearDown() override {
    // Channels come from plug-ins: they go before the engine frees the modules.
    groups_.clear();
    hosttest::HostTest::TearDown();
  }

  Vlt_ChannelGroup* NewGroup() {
    groups_.push_back(std::make_unique<Vlt_ChannelGroup>(engine_.get()));
    return groups_.back().get();
  }

  Vlt_Channel* NewChannel(Vlt_ChannelGroup* group, const GUID& type, const char* name) {
    Vlt_Channel* channel = engine_->InitChannelFromType(type, group, false);
    if (channel != nullptr && name != nullptr) channel->SetChannelName(name);
    return channel;
  }

  std::vector<uint8_t> Save(Vlt_ChannelGroup* group) {
    VltFileSaver saver(engine_.get());
    saver.OpenMemory();
    EXPECT_TRUE(group->SaveChannelGroup(&saver));
    std::vector<uint8_t> bytes(saver.GetBuffer(), saver.GetBuffer() + saver.GetBufferSize());
    saver.CloseMemory();
    return bytes;
  }

  // Loads into a fresh group; the result of the load goes to ok.
  Vlt_ChannelGroup* Load(const std::vector<uint8_t>& bytes, bool* ok) {
    Vlt_ChannelGroup* group = NewGroup();
    // The loader reads the caller's bytes in place, so it gets its own exact-size copy: any
    // read past the end is then seen by the sanitizer.
    buffers_.push_back(std::make_unique<uint8_t[]>(bytes.empty() ? 1 : bytes.size()));
    if (!bytes.empty()) std::memcpy(buffers_.back().get(), bytes.data(), bytes.size());
    *ok = group->LoadChannelGroupFromBuffer("test.cgr", static_cast<int>(bytes.size()),
                                            bytes.empty() ? nullptr : buffers_.back().get(), true);
    return group;
  }

  Vlt_ChannelGroup* LoadOk(const std::vector<uint8_t>& bytes) {
    bool ok = false;
    Vlt_ChannelGroup* group = Load(bytes, &ok);
    EXPECT_TRUE(ok);
    return group;
  }

  bool HasMessage(int type, const std::string& text) const {
    for (const auto& m : messages_.messages)
      if (m.type == type && m.text == text) return true;
    return false;
  }

  std::vector<std::unique_ptr<Vlt_ChannelGroup>> groups_;
  std::vector<std::unique_ptr<uint8_t[]>> buffers_;
};

}  // namespace grouptest
