#include "EngineListener.h"

#include "DllInterface.h"
#include "EngineInterface.h"

EngineListener::EngineListener() {
  if (globalEngine != nullptr) globalEngine->AddListener(this);
}

EngineListener::~EngineListener() {
  if (globalEngine != nullptr) globalEngine->RemoveListener(this);
}

void EngineListener::OnAboutToReleaseChannel(Vlt_Channel*) {}
