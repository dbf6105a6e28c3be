// The compression translator plug-in's channel: undoes a "ZIOS"/"ZINS"/"ZICB" container body
// (one zlib stream) and writes such containers.
#pragma once

#include "Vexilon.h"

class CompressionTranslator : public Vco_TranslatorChannel {
 public:
  CompressionTranslator();
  ~CompressionTranslator() override;

  bool WrapData(const void* data, uint32_t size, VltFileSaver* saver) override;
  bool Translate(Vco_FileLoaderChannel* loader) override;
};
