#include "Vco_BackgroundLoaderChannel.h"

// The base loader loads nothing.
Vco_BackgroundLoaderChannel::Vco_BackgroundLoaderChannel() = default;
Vco_BackgroundLoaderChannel::~Vco_BackgroundLoaderChannel() = default;

bool Vco_BackgroundLoaderChannel::LoadGroupInBackground(const char*, const char*) { return false; }
int Vco_BackgroundLoaderChannel::GetPendingLoadCount() { return 0; }
void Vco_BackgroundLoaderChannel::StopPendingLoads() {}
void Vco_BackgroundLoaderChannel::SetAutoLoadPoolName(const char*) {}
