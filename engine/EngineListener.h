// Lets an object hear that a channel is about to be released. Registers itself with globalEngine.
#pragma once

#include "VltExport.h"

class Vlt_Channel;

class VEXILON_API EngineListener {
 public:
  EngineListener();
  virtual ~EngineListener();
  virtual void OnAboutToReleaseChannel(Vlt_Channel* channel);
};
