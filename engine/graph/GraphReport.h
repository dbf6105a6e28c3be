// Routes the graph's reports to the sinks of the engine a channel or group belongs to. Objects
// made before any engine exists report nothing.
#pragma once

#include "EngineInterface.h"

namespace vgraph {

inline void ReportError(EngineInterface* engine, const char* text) {
  if (engine != nullptr) engine->showErrorMessage_(text);
}

inline void ReportUserInfo(EngineInterface* engine, const char* text) {
  if (engine != nullptr) engine->showUserInfoMessage_(text);
}

}  // namespace vgraph
