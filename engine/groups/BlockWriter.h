// Writes tagged blocks for a file saver. Blocks are gathered in a fixed buffer and handed to the
// saver in pieces: the bytes are those of tag, size and data written one by one, at a fraction
// of the calls into the saver channel and without allocating.
#pragma once

#include <cstddef>
#include <cstdint>

#include "VltExport.h"

class VltFileSaver;

namespace vgroups {

class BlockWriter {
 public:
  explicit BlockWriter(VltFileSaver* saver);
  ~BlockWriter();
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  void Marker(const char* tag);
  void Block(const char* tag, const void* data, size_t size);
  void Int(const char* tag, int32_t value);
  void Byte(const char* tag, uint8_t value);
  void Guid(const char* tag, const GUID& value);
  // The text with its terminator.
  void Text(const char* tag, const char* text);
  // Hands everything gathered so far to the saver; the destructor does it too.
  void Flush();

 private:
  void Put(const void* data, size_t size);

  VltFileSaver* saver_;
  size_t used_;
  uint8_t bytes_[1024];
};

}  // namespace vgroups
