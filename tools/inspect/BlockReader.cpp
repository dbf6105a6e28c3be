#include "BlockReader.h"

#include <cstring>

#include "ByteText.h"
#include "DecodeError.h"

namespace vinspect {

bool BlockReader::PeekTag(const char* tag) const {
  return Remaining() >= 4 && std::memcmp(data_ + pos_, tag, 4) == 0;
}

std::string BlockReader::PeekTagText() const {
  if (Remaining() < 4) return std::string();
  return TagText(data_ + pos_);
}

void BlockReader::Fail(size_t offset, const std::string& message) const {
  throw DecodeError(offset, message);
}

InspectNode BlockReader::ReadMarker(const char* tag, const std::string& label) {
  if (!PeekTag(tag)) {
    if (Remaining() < 4)
      Fail(pos_,
           std::string("expected the marker \"") + tag + "\" (" + label + ") but the data ends");
    Fail(pos_, std::string("expected the marker \"") + tag + "\" (" + label + "), found \"" +
                   PeekTagText() + "\"");
  }
  InspectNode node("marker", pos_, tag);
  node.label_ = label;
  pos_ += 4;
  return node;
}

uint32_t BlockReader::CheckedSize(size_t tagOffset, const std::string& tag,
                                  const std::string& what) {
  if (Remaining() < 4) {
    Fail(pos_, "\"" + tag + "\" (" + what + "): the data ends inside the size field");
  }
  const uint32_t size = LoadU32(data_ + pos_);
  pos_ += 4;
  if (size > Remaining()) {
    Fail(tagOffset, "\"" + tag + "\" (" + what + "): size " + std::to_string(size) +
                        " runs past the end of the data (" + std::to_string(Remaining()) +
                        " bytes left)");
  }
  return size;
}

BlockView BlockReader::ReadBlock(const char* tag, const std::string& what) {
  if (!PeekTag(tag)) {
    if (Remaining() < 4) {
      Fail(pos_,
           std::string("expected the block \"") + tag + "\" (" + what + ") but the data ends");
    }
    Fail(pos_, std::string("expected the block \"") + tag + "\" (" + what + "), found \"" +
                   PeekTagText() + "\"");
  }
  BlockView block;
  block.offset = pos_;
  block.tag = tag;
  pos_ += 4;
  block.size = CheckedSize(block.offset, block.tag, what);
  block.data = data_ + pos_;
  pos_ += block.size;
  return block;
}

BlockView BlockReader::ReadBlockExact(const char* tag, uint32_t size, const std::string& what) {
  const size_t start = pos_;
  BlockView block = ReadBlock(tag, what);
  if (block.size != size) {
    Fail(start, std::string("\"") + tag + "\" (" + what + "): size " + std::to_string(block.size) +
                    ", expected " + std::to_string(size));
  }
  return block;
}

BlockView BlockReader::ReadAnyBlock(const std::string& what) {
  if (Remaining() < 4) Fail(pos_, "expected a block (" + what + ") but the data ends");
  BlockView block;
  block.offset = pos_;
  block.tag = TagText(data_ + pos_);
  pos_ += 4;
  block.size = CheckedSize(block.offset, block.tag, what);
  block.data = data_ + pos_;
  pos_ += block.size;
  return block;
}

BlockView BlockReader::ReadUntagged(uint32_t size, const std::string& what) {
  BlockView block;
  block.offset = pos_;
  if (Remaining() < 4) Fail(pos_, what + ": the data ends inside the size field");
  block.size = LoadU32(data_ + pos_);
  if (block.size != size) {
    Fail(pos_,
         what + ": size " + std::to_string(block.size) + ", expected " + std::to_string(size));
  }
  pos_ += 4;
  if (block.size > Remaining()) {
    Fail(block.offset,
         what + ": size " + std::to_string(block.size) + " runs past the end of the data");
  }
  block.data = data_ + pos_;
  pos_ += block.size;
  return block;
}

bool BlockReader::SeekTag(const char* tag) {
  for (size_t p = pos_; p + 4 <= size_; ++p) {
    if (std::memcmp(data_ + p, tag, 4) == 0) {
      pos_ = p;
      return true;
    }
  }
  pos_ = size_;
  return false;
}

InspectNode BlockNode(const BlockView& block, const std::string& label) {
  InspectNode node("block", block.offset, block.tag, block.size);
  node.label_ = label;
  return node;
}

}  // namespace vinspect
