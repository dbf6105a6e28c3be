// A container translator channel: undoes the body of a "VLTF" container whose header names its
// type, and writes such containers. The engine creates one by the GUID in the container header.
// The base versions do nothing. The order of the virtual operations continues Vlt_Channel's and
// is part of the binary interface.
#pragma once

#include "Vlt_Channel.h"

class Vco_FileLoaderChannel;

class VEXILON_API Vco_TranslatorChannel : public Vlt_Channel {
 public:
  Vco_TranslatorChannel();
  ~Vco_TranslatorChannel() override;

  // Writes a complete container ("VLTF", 16, this translator's GUID, then its body) holding
  // the bytes.
  virtual bool WrapData(const void* data, uint32_t size, VltFileSaver* saver);  // 15
  // Reads the body at the loader's position (just after the container header) and replaces the
  // loader's data with the translated bytes. False, data unchanged, when the body is malformed.
  virtual bool Translate(Vco_FileLoaderChannel* loader);  // 16
};
