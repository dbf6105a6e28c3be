// Small text helpers of the channel graph: names compare ignoring ASCII case, and every copy
// into a fixed buffer is cut silently at the buffer size minus one.
#pragma once

#include <cstddef>
#include <cstring>

namespace vgraph {

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares at most n characters ignoring ASCII case; null texts never match.
inline bool NamesEqualN(const char* a, const char* b, size_t n) {
  if (a == nullptr || b == nullptr) return false;
  for (size_t i = 0; i < n; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    if (a[i] == '\0') return true;
  }
  return true;
}

inline bool NamesEqual(const char* a, const char* b) {
  return NamesEqualN(a, b, static_cast<size_t>(-1));
}

// Copies src into dst of size bytes, keeping at most size - 1 characters. Null src gives "".
inline void CopyBounded(char* dst, size_t size, const char* src) {
  if (size == 0) return;
  size_t n = 0;
  if (src != nullptr) {
    while (n + 1 < size && src[n] != '\0') ++n;
    std::memcpy(dst, src, n);
  }
  dst[n] = '\0';
}

}  // namespace vgraph
