#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "platform/Platform.h"

namespace vplat {

uint32_t tickCount() { return ::GetTickCount(); }

void sleepMs(uint32_t ms) { ::Sleep(ms); }

LocalTime localTime() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

void newGuid(unsigned char out16[16]) {
  GUID g;
  if (::CoCreateGuid(&g) != S_OK) std::memset(&g, 0, sizeof g);
  // GUID's memory layout is the stored layout (little-endian fields on every Windows target).
  static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
  std::memcpy(out16, &g, 16);
}

}  // namespace vplat
