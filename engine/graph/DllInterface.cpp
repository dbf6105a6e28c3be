#include "DllInterface.h"

EngineInterface* globalEngine = nullptr;
VltInstance globalDllInstance = nullptr;

DllInterface::DllInterface() : dllInstance(globalDllInstance), engine(globalEngine) {}

DllInterface::~DllInterface() = default;
