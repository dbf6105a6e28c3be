#include "Vco_FileLoaderChannel.h"

// The base loader has no data: every operation answers the default of the facade.
Vco_FileLoaderChannel::Vco_FileLoaderChannel() = default;
Vco_FileLoaderChannel::~Vco_FileLoaderChannel() = default;

bool Vco_FileLoaderChannel::LoadFile(const char*) { return false; }
void Vco_FileLoaderChannel::SetBlockSize(uint32_t) {}
void Vco_FileLoaderChannel::SetBuffer(const void*, uint32_t, bool) {}
void* Vco_FileLoaderChannel::GetTagData() { return nullptr; }
bool Vco_FileLoaderChannel::CopyTagDataToPointer(void*) { return false; }
bool Vco_FileLoaderChannel::CheckHeader(const char*, bool) { return false; }
bool Vco_FileLoaderChannel::GotoTag(const char*, int) { return false; }
bool Vco_FileLoaderChannel::GetInfoIfTag(const char*) { return false; }
uint32_t Vco_FileLoaderChannel::GetSizeDataBlock(bool) { return 0; }
void Vco_FileLoaderChannel::ResetPosition() {}
uint8_t* Vco_FileLoaderChannel::GetBuffer() { return nullptr; }
int Vco_FileLoaderChannel::GetBufferSize() { return 0; }
void Vco_FileLoaderChannel::AddBufferPos(uint32_t) {}
bool Vco_FileLoaderChannel::GetIfEndOfFile() { return false; }
bool Vco_FileLoaderChannel::SkipCurrentTag() { return false; }
void Vco_FileLoaderChannel::SetURL(const char*) {}
bool Vco_FileLoaderChannel::CheckULRCache(const char*) { return false; }
const char* Vco_FileLoaderChannel::GetChacheFileNameFromURL(const char*) { return nullptr; }
void Vco_FileLoaderChannel::SaveURLToCache(const char*) {}
void Vco_FileLoaderChannel::SetBufferChar(uint32_t, uint8_t) {}
void Vco_FileLoaderChannel::StopLoading() {}
int Vco_FileLoaderChannel::GetCRC() { return 0; }
uint32_t Vco_FileLoaderChannel::GetAttributes() { return 0; }
void Vco_FileLoaderChannel::RunThreaded(uint32_t*) {}
