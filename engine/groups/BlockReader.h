// Reads tagged blocks through a file loader, refusing every size that does not fit the data: a
// short or hostile file makes a read fail instead of overrunning a buffer or allocating more
// than the file holds. A failed read is remembered, so a caller can check once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "VltExport.h"

class VltFileLoader;

namespace vgroups {

class BlockReader {
 public:
  explicit BlockReader(VltFileLoader* loader);
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // Consumes the tag when the next four bytes are it (optional blocks and markers).
  bool Has(const char* tag);
  // Moves past everything up to the next occurrence of the tag and consumes it.
  bool SkipTo(const char* tag);

  // Just after a consumed tag: reads the block. A block of another size than expected gives its
  // first bytes, zero-filled when shorter; a block that runs past the data fails.
  bool ReadInt(int32_t* value);
  bool ReadByte(uint8_t* value);
  bool ReadGuid(GUID* value);
  // Exactly size bytes of record; false for any other block size.
  bool ReadRecord(uint8_t* record, size_t size);
  // The whole block, for arrays of records.
  bool ReadData(std::vector<uint8_t>* data);
  // A text block: the bytes up to the first zero (or all of them), valid until the next read.
  // size is its stored size.
  bool ReadText(const char** text, uint32_t* size = nullptr);
  bool ReadText(std::string* text, uint32_t* size = nullptr);

  bool Failed() const { return failed_; }
  VltFileLoader* GetLoader() const { return loader_; }

 private:
  // Reads a block of unknown size into scratch_ (small blocks into a fixed buffer, so that the
  // names of a file's channels cost no allocation); false when it cannot be read.
  bool ReadScratch(uint32_t* size);
  bool ReadSmall(uint8_t* out, size_t size);
  bool Fail() {
    failed_ = true;
    return false;
  }

  VltFileLoader* loader_;
  uint32_t dataSize_;  // no block can be larger than all the data
  bool failed_;
  uint8_t* scratch_;
  uint8_t small_[128];
  std::vector<uint8_t> large_;
};

}  // namespace vgroups
