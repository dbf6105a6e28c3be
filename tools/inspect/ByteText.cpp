#include "ByteText.h"

#include <cstdio>

namespace vinspect {

uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t LoadI32(const uint8_t* p) {
  const uint32_t u = LoadU32(p);
  return u <= 0x7fffffffu ? static_cast<int32_t>(u)
                          : static_cast<int32_t>(static_cast<int64_t>(u) - 0x100000000LL);
}

std::string GuidText(const uint8_t* b) {
  const unsigned long data1 = LoadU32(b);
  const unsigned data2 = static_cast<unsigned>(b[4] | (b[5] << 8));
  const unsigned data3 = static_cast<unsigned>(b[6] | (b[7] << 8));
  char text[40];
  std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", data1,
                data2, data3, b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return text;
}

std::string HexText(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

std::string FieldText(const uint8_t* bytes, size_t capacity, bool* terminated) {
  size_t n = 0;
  while (n < capacity && bytes[n] != 0) ++n;
  if (terminated) *terminated = n < capacity;
  return std::string(reinterpret_cast<const char*>(bytes), n);
}

std::string EscapeForTerminal(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02X", c);
      out += esc;
    }
  }
  return out;
}

bool IsTagLike(const uint8_t* p) {
  for (int i = 0; i < 4; ++i) {
    if (p[i] < 0x20 || p[i] >= 0x7f) return false;
  }
  return true;
}

std::string TagText(const uint8_t* p) {
  return EscapeForTerminal(std::string(reinterpret_cast<const char*>(p), 4));
}

}  // namespace vinspect
