// The engine's reading facade: forwards every operation to a file loader channel created by
// type. Without that channel (plug-in missing) each operation answers its default, so callers
// only see a file that cannot be read. Only the destructor is virtual.
#pragma once

#include "VltExport.h"

class EngineInterface;
class Vco_FileLoaderChannel;

class VEXILON_API VltFileLoader {
 public:
  // Uses globalEngine.
  VltFileLoader();
  explicit VltFileLoader(EngineInterface* engine);
  VltFileLoader(const VltFileLoader&) = delete;
  VltFileLoader& operator=(const VltFileLoader&) = delete;
  virtual ~VltFileLoader();

  bool LoadFile(const char* fileName);
  void SetBlockSize(uint32_t size);
  void SetBuffer(const void* buffer, uint32_t size, bool copy);
  void* GetTagData();
  bool CopyTagDataToPointer(void* destination);
  bool CheckHeader(const char* tag, bool consume);
  bool GotoTag(const char* tag, int mode);
  bool GetInfoIfTag(const char* tag);
  uint32_t GetSizeDataBlock(bool advance);
  void ResetPosition();
  uint8_t* GetBuffer();
  int GetBufferSize();
  void AddBufferPos(uint32_t count);
  bool GetIfEndOfFile();
  bool SkipCurrentTag();
  void SetURL(const char* url);
  bool CheckULRCache(const char* url);
  const char* GetChacheFileNameFromURL(const char* url);
  void SaveURLToCache(const char* url);
  void SetBufferChar(uint32_t index, uint8_t value);
  void StopLoading();
  int GetCRC();
  uint32_t GetAttributes();
  void RunThreaded(uint32_t* state);

  // The loader channel (owned), or null when none could be created.
  Vco_FileLoaderChannel* GetLoaderChannel() const { return loader_; }
  EngineInterface* GetEngine() const { return engine_; }

 private:
  void Create(const char* failureText);

  Vco_FileLoaderChannel* loader_;
  EngineInterface* engine_;
};
