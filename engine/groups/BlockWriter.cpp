// Gathered block writes over the file saver facade.
#include "groups/BlockWriter.h"

#include <cstring>

#include "VltFileSaver.h"
#include "groups/StoredRecords.h"

namespace vgroups {

BlockWriter::BlockWriter(VltFileSaver* saver) : saver_(saver), used_(0) {}

BlockWriter::~BlockWriter() { Flush(); }

void BlockWriter::Put(const void* data, size_t size) {
  if (size == 0) return;
  if (used_ + size > sizeof(bytes_)) {
    Flush();
    // Larger than the whole buffer: straight through.
    if (size > sizeof(bytes_)) {
      if (saver_ != nullptr) saver_->SaveDataToFile(data, static_cast<uint32_t>(size));
      return;
    }
  }
  std::memcpy(bytes_ + used_, data, size);
  used_ += size;
}

void BlockWriter::Marker(const char* tag) { Put(tag, 4); }

void BlockWriter::Block(const char* tag, const void* data, size_t size) {
  uint8_t length[4];
  PutU32(length, static_cast<uint32_t>(size));
  Put(tag, 4);
  Put(length, 4);
  Put(data, size);
}

void BlockWriter::Int(const char* tag, int32_t value) {
  uint8_t bytes[4];
  PutU32(bytes, static_cast<uint32_t>(value));
  Block(tag, bytes, sizeof(bytes));
}

void BlockWriter::Byte(const char* tag, uint8_t value) { Block(tag, &value, 1); }

void BlockWriter::Guid(const char* tag, const GUID& value) {
  uint8_t bytes[kGuidBytes];
  PutGuid(bytes, value);
  Block(tag, bytes, sizeof(bytes));
}

void BlockWriter::Text(const char* tag, const char* text) {
  Block(tag, text, std::strlen(text) + 1);
}

void BlockWriter::Flush() {
  if (used_ == 0) return;
  if (saver_ != nullptr) saver_->SaveDataToFile(bytes_, static_cast<uint32_t>(used_));
  used_ = 0;
}

}  // namespace vgroups
