// Base of every object a plug-in creates: the module it lives in and the engine it belongs to.
#pragma once

#include "VltExport.h"

class EngineInterface;

class VEXILON_API DllInterface {
 public:
  // Takes globalDllInstance and globalEngine, which the engine sets around a plug-in's InitDLL.
  DllInterface();
  virtual ~DllInterface();

  VltInstance dllInstance;
  EngineInterface* engine;
};

// The engine that most recently called a plug-in's InitDLL, and that call's module.
VEXILON_API extern EngineInterface* globalEngine;
VEXILON_API extern VltInstance globalDllInstance;
