// Small text helpers of the engine host: bounded copies and the two name comparisons.
#pragma once

#include <cstddef>

namespace hosttext {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Copies at most maxChars characters of src and a terminator; the destination must hold
// maxChars + 1. A null src leaves an empty text.
inline void CopyText(char* dst, const char* src, size_t maxChars) {
  size_t i = 0;
  if (src != nullptr)
    for (; i < maxChars && src[i] != '\0'; ++i) dst[i] = src[i];
  dst[i] = '\0';
}

// Appends src to dst so that dst keeps at most maxChars characters.
inline void AppendText(char* dst, const char* src, size_t maxChars) {
  size_t n = 0;
  while (n < maxChars && dst[n] != '\0') ++n;
  CopyText(dst + n, src, maxChars - n);
}

inline void AppendChar(char* dst, char c, size_t maxChars) {
  const char text[2] = {c, '\0'};
  AppendText(dst, text, maxChars);
}

// Whole names equal ignoring ASCII case; null never matches.
inline bool EqualsIgnoreCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  for (;; ++a, ++b) {
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
    if (*a == '\0') return true;
  }
}

// Pool names: the first characters identical (case counts), the whole names equal ignoring case.
inline bool PoolNameEquals(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  return a[0] == b[0] && EqualsIgnoreCase(a, b);
}

}  // namespace hosttext
