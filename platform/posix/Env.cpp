#include <stdlib.h>

#include "platform/Platform.h"

namespace vplat {

bool getEnv(const char* name, std::string& value) {
  const char* v = ::getenv(name);
  if (!v) return false;
  value = v;
  return true;
}

bool setEnv(const char* name, const char* value) {
  if (!value) return ::unsetenv(name) == 0;
  return ::setenv(name, value, 1) == 0;
}

}  // namespace vplat
