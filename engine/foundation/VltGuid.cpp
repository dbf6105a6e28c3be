#include "VltGuid.h"

#include <cstdio>
#include <cstring>

const GUID VLT_WILDCARD_GUID = {
    0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};
const GUID VLT_NULL_GUID = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

bool VltGuidEqual(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof(a.Data4)) == 0;
}

bool VltGuidIsNull(const GUID& g) { return VltGuidEqual(g, VLT_NULL_GUID); }

void VltGuidToText(const GUID& g, char out[37]) {
  // Data1 is 32-bit everywhere, while long is 64-bit on Linux: widen explicitly for %lX.
  std::snprintf(out, 37, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned long>(g.Data1), static_cast<unsigned>(g.Data2),
                static_cast<unsigned>(g.Data3), static_cast<unsigned>(g.Data4[0]),
                static_cast<unsigned>(g.Data4[1]), static_cast<unsigned>(g.Data4[2]),
                static_cast<unsigned>(g.Data4[3]), static_cast<unsigned>(g.Data4[4]),
                static_cast<unsigned>(g.Data4[5]), static_cast<unsigned>(g.Data4[6]),
                static_cast<unsigned>(g.Data4[7]));
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads exactly `digits` hex digits.
bool ReadHex(const char*& p, int digits, uint32_t* value) {
  uint32_t v = 0;
  for (int i = 0; i < digits; ++i) {
    const int h = HexValue(p[i]);
    if (h < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(h);
  }
  p += digits;
  *value = v;
  return true;
}

bool Expect(const char*& p, char c) {
  if (*p != c) return false;
  ++p;
  return true;
}

}  // namespace

bool VltGuidFromText(const char* text, GUID* out) {
  if (text == nullptr || out == nullptr) return false;
  const char* p = text;
  const bool braced = *p == '{';
  if (braced) ++p;
  GUID g;
  uint32_t v = 0;
  if (!ReadHex(p, 8, &v) || !Expect(p, '-')) return false;
  g.Data1 = v;
  if (!ReadHex(p, 4, &v) || !Expect(p, '-')) return false;
  g.Data2 = static_cast<uint16_t>(v);
  if (!ReadHex(p, 4, &v) || !Expect(p, '-')) return false;
  g.Data3 = static_cast<uint16_t>(v);
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(p, '-')) return false;
    if (!ReadHex(p, 2, &v)) return false;
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  if (braced && !Expect(p, '}')) return false;
  if (*p != 0) return false;
  *out = g;
  return true;
}
