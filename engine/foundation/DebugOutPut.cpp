#include "DebugOutPut.h"

#include "DebugMessage.h"

DebugOutPut* debugOutPut = nullptr;

DebugOutPut::DebugOutPut() : useDebug_(true) {}

DebugOutPut::~DebugOutPut() = default;

void DebugOutPut::ShowDebugMessage(DebugMessage*) {}

void DebugOutPut::SetUseDebug(bool useDebug) { useDebug_ = useDebug; }
