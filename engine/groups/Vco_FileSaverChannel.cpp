#include "Vco_FileSaverChannel.h"

// The base saver writes nothing: every operation answers the default of the facade.
Vco_FileSaverChannel::Vco_FileSaverChannel() = default;
Vco_FileSaverChannel::~Vco_FileSaverChannel() = default;

bool Vco_FileSaverChannel::OpenSaveFile(const char*, bool) { return false; }
int Vco_FileSaverChannel::SaveTag(const char*) { return 0; }
int Vco_FileSaverChannel::SaveBlockSize(uint32_t) { return 0; }
int Vco_FileSaverChannel::SaveDataToFile(const void*, uint32_t) { return 0; }
bool Vco_FileSaverChannel::CloseSaveFile() { return false; }
const char* Vco_FileSaverChannel::GetSaveingFileName() { return nullptr; }
void Vco_FileSaverChannel::OpenMemory() {}
void Vco_FileSaverChannel::CloseMemory() {}
uint8_t* Vco_FileSaverChannel::GetBuffer() { return nullptr; }
uint32_t Vco_FileSaverChannel::GetBufferSize() { return 0; }
