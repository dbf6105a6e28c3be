#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace vplat {

// The process environment of Windows itself, not the C runtime's copy: LoadLibrary and child
// processes read this one.
bool getEnv(const char* name, std::string& value) {
  DWORD n = ::GetEnvironmentVariableA(name, nullptr, 0);
  if (n == 0) {
    if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value.clear();
    return true;
  }
  std::string buf(n, '\0');
  DWORD got = ::GetEnvironmentVariableA(name, &buf[0], n);
  if (got >= n) return false;  // changed between the two calls
  buf.resize(got);
  value = buf;
  return true;
}

bool setEnv(const char* name, const char* value) {
  return ::SetEnvironmentVariableA(name, value) != 0;
}

}  // namespace vplat
