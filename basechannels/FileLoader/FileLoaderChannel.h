// The file loader plug-in's channel: the whole file (or a given buffer) in memory, read block by
// block from a position that never passes the end of the data.
#pragma once

#include <cstdint>
#include <vector>

#include "Vexilon.h"

class FileLoaderChannel : public Vco_FileLoaderChannel {
 public:
  FileLoaderChannel();
  ~FileLoaderChannel() override;

  bool LoadFile(const char* fileName) override;
  void SetBlockSize(uint32_t size) override;
  void SetBuffer(const void* buffer, uint32_t size, bool copy) override;
  void* GetTagData() override;
  bool CopyTagDataToPointer(void* destination) override;
  bool CheckHeader(const char* tag, bool consume) override;
  bool GotoTag(const char* tag, int mode) override;
  bool GetInfoIfTag(const char* tag) override;
  uint32_t GetSizeDataBlock(bool advance) override;
  void ResetPosition() override;
  uint8_t* GetBuffer() override;
  int GetBufferSize() override;
  void AddBufferPos(uint32_t count) override;
  bool GetIfEndOfFile() override;
  bool SkipCurrentTag() override;
  void SetBufferChar(uint32_t index, uint8_t value) override;
  int GetCRC() override;
  uint32_t GetAttributes() override;

 private:
  uint32_t Remaining() const { return size_ - position_; }
  // The 32-bit little-endian value at the position, when four bytes remain.
  bool PeekSize(uint32_t& value) const;
  void Clear();

  std::vector<uint8_t> own_;  // the data when the loader keeps its own copy
  const uint8_t* data_;       // own_ or the caller's bytes
  uint32_t size_;
  uint32_t position_;
  uint32_t attributes_;
  uint32_t blockSize_;
};
