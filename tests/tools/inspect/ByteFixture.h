#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace vinspect_test {

// Builds stored files block by block, and remembers the lengths at which a reader may find
// the file complete (every block after them is optional).
class ByteFixture {
 public:
  ByteFixture& Tag(const char* tag) {
    bytes_.insert(bytes_.end(), tag, tag + 4);
    return *this;
  }
  ByteFixture& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  ByteFixture& Raw(const std::vector<uint8_t>& data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
  }
  ByteFixture& Block(const char* tag, const std::vector<uint8_t>& data) {
    return Tag(tag).U32(static_cast<uint32_t>(data.size())).Raw(data);
  }
  ByteFixture& Int(const char* tag, int32_t v) {
    return Tag(tag).U32(4).U32(static_cast<uint32_t>(v));
  }
  ByteFixture& Byte(const char* tag, uint8_t v) { return Block(tag, {v}); }
  ByteFixture& Text(const char* tag, const std::string& text) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return Block(tag, data);
  }
  ByteFixture& Guid(const char* tag, const char* text) { return Block(tag, GuidBytes(text)); }
  ByteFixture& Marker(const char* tag) { return Tag(tag); }
  // The file may end here.
  ByteFixture& EndOk() {
    validEnds_.insert(bytes_.size());
    return *this;
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }
  bool MayEndAt(size_t length) const { return validEnds_.count(length) != 0; }

  // The 16 stored bytes of "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
  static std::vector<uint8_t> GuidBytes(const char* text) {
    unsigned v[11] = {};
    std::sscanf(text, "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &v[0], &v[1], &v[2], &v[3], &v[4],
                &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]);
    std::vector<uint8_t> b;
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v[0] >> (8 * i)));
    for (int k = 1; k <= 2; ++k) {
      b.push_back(static_cast<uint8_t>(v[k]));
      b.push_back(static_cast<uint8_t>(v[k] >> 8));
    }
    for (int k = 3; k <= 10; ++k) b.push_back(static_cast<uint8_t>(v[k]));
    return b;
  }

  // A fixed text field of `capacity` bytes, zero-filled.
  static std::vector<uint8_t> Field(const std::string& text, size_t capacity) {
    std::vector<uint8_t> b(capacity, 0);
    std::memcpy(b.data(), text.data(), text.size() < capacity ? text.size() : capacity);
    return b;
  }

  static void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
  }

  // A compression translator container around `plain`.
  static std::vector<uint8_t> Compressed(const std::vector<uint8_t>& plain) {
    uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, plain.data(), static_cast<uLong>(plain.size()), 9);
    packed.resize(packedSize);
    ByteFixture c;
    c.Guid("VLTF", "51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4")
        .Int("ZIOS", static_cast<int32_t>(plain.size()))
        .Int("ZINS", static_cast<int32_t>(packed.size()))
        .Block("ZICB", packed);
    return c.Bytes();
  }

 private:
  std::vector<uint8_t> bytes_;
  std::set<size_t> validEnds_;
};

}  // namespace vinspect_test
