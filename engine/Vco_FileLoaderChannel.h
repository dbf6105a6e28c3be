// The file loader channel: reads a whole file (or a buffer) and walks its tagged blocks. The
// engine reaches it through VltFileLoader; the implementation lives in a plug-in that derives
// from this class. The base versions answer the defaults (false, zero, none). The order of the
// virtual operations continues Vlt_Channel's and is part of the binary interface.
#pragma once

#include "Vlt_Channel.h"

class VEXILON_API Vco_FileLoaderChannel : public Vlt_Channel {
 public:
  Vco_FileLoaderChannel();
  ~Vco_FileLoaderChannel() override;

  // Reads the whole file and puts the position at its start; false when it cannot be read.
  virtual bool LoadFile(const char* fileName);  // 15
  virtual void SetBlockSize(uint32_t size);     // 16
  // Reads the given bytes instead of a file, position at the start. With copy true the loader
  // keeps its own copy; otherwise the caller keeps the bytes alive while they are read.
  virtual void SetBuffer(const void* buffer, uint32_t size, bool copy);  // 17
  virtual void* GetTagData();                                            // 18
  // Just after a tag: reads the 32-bit size, copies that many bytes and moves past them. False
  // (nothing copied, position unchanged) when the size points past the end of the data.
  virtual bool CopyTagDataToPointer(void* destination);  // 19
  // Whether the data at the position starts with the 4-character tag; consume moves past it.
  virtual bool CheckHeader(const char* tag, bool consume);  // 20
  // Moves forward to the next occurrence of the tag and consumes it; false when there is none.
  virtual bool GotoTag(const char* tag, int mode);  // 21
  // Consumes the tag if the next four bytes are it; otherwise the position stays.
  virtual bool GetInfoIfTag(const char* tag);  // 22
  // The 32-bit size at the position; advance moves past the size field.
  virtual uint32_t GetSizeDataBlock(bool advance);  // 23
  virtual void ResetPosition();                     // 24
  // The data at the current position.
  virtual uint8_t* GetBuffer();  // 25
  // The size of all the data in the buffer.
  virtual int GetBufferSize();                                    // 26
  virtual void AddBufferPos(uint32_t count);                      // 27
  virtual bool GetIfEndOfFile();                                  // 28
  virtual bool SkipCurrentTag();                                  // 29
  virtual void SetURL(const char* url);                           // 30
  virtual bool CheckULRCache(const char* url);                    // 31
  virtual const char* GetChacheFileNameFromURL(const char* url);  // 32
  virtual void SaveURLToCache(const char* url);                   // 33
  // Writes one byte of the buffer in place.
  virtual void SetBufferChar(uint32_t index, uint8_t value);  // 34
  virtual void StopLoading();                                 // 35
  // CRC-32 of the loaded data.
  virtual int GetCRC();  // 36
  // File system attributes of the loaded file; bit 0 is read-only.
  virtual uint32_t GetAttributes();           // 37
  virtual void RunThreaded(uint32_t* state);  // 38
};

// Bit 0 of GetAttributes: the loaded file is read-only.
constexpr uint32_t VLT_FILE_ATTRIBUTE_READONLY = 1;
