// The engine's writing facade: forwards every operation to a file saver channel created by
// type. Without that channel (plug-in missing) each operation answers its default.
#pragma once

#include "VltExport.h"

class EngineInterface;
class Vco_FileSaverChannel;

class VEXILON_API VltFileSaver {
 public:
  // Uses globalEngine.
  VltFileSaver();
  explicit VltFileSaver(EngineInterface* engine);
  VltFileSaver(const VltFileSaver&) = delete;
  VltFileSaver& operator=(const VltFileSaver&) = delete;

  virtual ~VltFileSaver();           // 0
  virtual void OpenMemory();         // 1
  virtual void CloseMemory();        // 2
  virtual uint8_t* GetBuffer();      // 3
  virtual uint32_t GetBufferSize();  // 4

  bool OpenSaveFile(const char* fileName, bool flag);
  int SaveTag(const char* tag);
  int SaveBlockSize(uint32_t size);
  int SaveDataToFile(const void* data, uint32_t count);
  bool CloseSaveFile();
  const char* GetSaveingFileName();

  // The saver channel (owned), or null when none could be created.
  Vco_FileSaverChannel* GetSaverChannel() const { return saver_; }
  EngineInterface* GetEngine() const { return engine_; }

 private:
  void Create(const char* failureText);

  Vco_FileSaverChannel* saver_;
  EngineInterface* engine_;
};
