// The file saver channel: writes tagged blocks to a file or to a growing memory buffer. The
// engine reaches it through VltFileSaver; the implementation lives in a plug-in that derives
// from this class. The base versions answer the defaults. The order of the virtual operations
// continues Vlt_Channel's and is part of the binary interface.
#pragma once

#include "Vlt_Channel.h"

class VEXILON_API Vco_FileSaverChannel : public Vlt_Channel {
 public:
  Vco_FileSaverChannel();
  ~Vco_FileSaverChannel() override;

  // Starts writing the file; what stood there before stays until CloseSaveFile succeeds.
  virtual bool OpenSaveFile(const char* fileName, bool flag);  // 15
  // Writes the 4 tag bytes and nothing else.
  virtual int SaveTag(const char* tag);  // 16
  // Writes the value as 4 little-endian bytes.
  virtual int SaveBlockSize(uint32_t size);                      // 17
  virtual int SaveDataToFile(const void* data, uint32_t count);  // 18
  // Flushes and closes; true when the file now holds everything written.
  virtual bool CloseSaveFile();              // 19
  virtual const char* GetSaveingFileName();  // 20
  virtual void OpenMemory();                 // 21
  virtual void CloseMemory();                // 22
  virtual uint8_t* GetBuffer();              // 23
  virtual uint32_t GetBufferSize();          // 24
};
