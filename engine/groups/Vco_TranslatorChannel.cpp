#include "Vco_TranslatorChannel.h"

// The base translator knows no format.
Vco_TranslatorChannel::Vco_TranslatorChannel() = default;
Vco_TranslatorChannel::~Vco_TranslatorChannel() = default;

bool Vco_TranslatorChannel::WrapData(const void*, uint32_t, VltFileSaver*) { return false; }
bool Vco_TranslatorChannel::Translate(Vco_FileLoaderChannel*) { return false; }
