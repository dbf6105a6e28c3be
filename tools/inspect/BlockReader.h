#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "InspectNode.h"

namespace vinspect {

// A sized block found in the data: where its tag starts, its data size and its data.
struct BlockView {
  size_t offset = 0;  // of the tag
  std::string tag;
  uint32_t size = 0;
  const uint8_t* data = nullptr;

  size_t DataOffset() const { return offset + 8; }
};

// Walks a tagged block stream. Every size is checked against the bytes that remain before
// anything is read, and every failure raises DecodeError naming the offset.
class BlockReader {
 public:
  BlockReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }
  const uint8_t* Data() const { return data_; }

  // Whether the next four bytes are the tag (false when fewer than four remain).
  bool PeekTag(const char* tag) const;
  // The next four bytes as a printable text, or "" when fewer than four remain.
  std::string PeekTagText() const;

  // A marker with that tag must be next; it is consumed.
  InspectNode ReadMarker(const char* tag, const std::string& label);
  // A sized block with that tag must be next; it is consumed with its data.
  BlockView ReadBlock(const char* tag, const std::string& what);
  // As ReadBlock, and the data size must be exactly `size`.
  BlockView ReadBlockExact(const char* tag, uint32_t size, const std::string& what);
  // A sized block with any tag.
  BlockView ReadAnyBlock(const std::string& what);
  // The 32-bit size and data without a tag (the untagged blocks of project files).
  BlockView ReadUntagged(uint32_t size, const std::string& what);

  // Searches forward for the tag as the engine's loader does (byte by byte); the position
  // moves to the tag, or to the end when there is none. Answers whether it was found.
  bool SeekTag(const char* tag);
  void MoveTo(size_t position) { pos_ = position < size_ ? position : size_; }

  [[noreturn]] void Fail(size_t offset, const std::string& message) const;

 private:
  uint32_t CheckedSize(size_t tagOffset, const std::string& tag, const std::string& what);

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// A node for a block, with tag, offset and size filled in.
InspectNode BlockNode(const BlockView& block, const std::string& label);

}  // namespace vinspect
