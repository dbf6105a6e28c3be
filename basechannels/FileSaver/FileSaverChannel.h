// The file saver plug-in's channel: writes to a growing memory buffer, or to a file that takes
// the place of the old one only when it is complete.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Vexilon.h"

class FileSaverChannel : public Vco_FileSaverChannel {
 public:
  FileSaverChannel();
  ~FileSaverChannel() override;

  bool OpenSaveFile(const char* fileName, bool flag) override;
  int SaveTag(const char* tag) override;
  int SaveBlockSize(uint32_t size) override;
  int SaveDataToFile(const void* data, uint32_t count) override;
  bool CloseSaveFile() override;
  const char* GetSaveingFileName() override;
  void OpenMemory() override;
  void CloseMemory() override;
  uint8_t* GetBuffer() override;
  uint32_t GetBufferSize() override;

 private:
  enum class Target { None, File, Memory };

  int Write(const void* data, uint32_t count);
  // Closes the temporary file and removes it; the old file stays as it was.
  void AbandonFile();

  Target target_;
  std::FILE* file_;
  bool failed_;           // a write to the file went wrong: the save must not replace the old one
  std::string fileName_;  // as given to OpenSaveFile
  std::string tempName_;  // written beside it, then renamed over it
  std::vector<uint8_t> memory_;
};
