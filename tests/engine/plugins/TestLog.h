// Appending to the test log from inside a plug-in.
#pragma once

#include <string>

#include "TestPluginTypes.h"
#include "platform/Platform.h"

namespace testplugins {

inline void AppendLog(const std::string& entry) {
  std::string log;
  vplat::getEnv(kLogVariable, log);
  log += entry;
  log += ';';
  vplat::setEnv(kLogVariable, log.c_str());
}

}  // namespace testplugins
