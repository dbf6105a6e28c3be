#include "Vco_DirectoryChannel.h"

// The base lister lists nothing.
Vco_DirectoryChannel::Vco_DirectoryChannel() = default;
Vco_DirectoryChannel::~Vco_DirectoryChannel() = default;

void Vco_DirectoryChannel::SetAcceptedExtention(const char*) {}
bool Vco_DirectoryChannel::ReadDir(const char*) { return false; }
int Vco_DirectoryChannel::GetTotalFiles() { return 0; }
const char* Vco_DirectoryChannel::GetFileName(int) { return nullptr; }
