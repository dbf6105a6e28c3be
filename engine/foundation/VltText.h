// Bounded text helpers for the engine's fixed-size buffers (internal to the engine core).
#pragma once

#include <cstddef>

namespace vlt {

// Copies text into buffer[size], cutting silently at size - 1 characters. Null copies "".
inline void CopyText(char* buffer, size_t size, const char* text) {
  if (size == 0) return;
  size_t i = 0;
  if (text != nullptr)
    for (; i + 1 < size && text[i] != 0; ++i) buffer[i] = text[i];
  buffer[i] = 0;
}

// Appends text to the zero-terminated buffer[size], cutting silently at size - 1 characters.
inline void AppendText(char* buffer, size_t size, const char* text) {
  if (size == 0 || text == nullptr) return;
  size_t used = 0;
  while (used < size && buffer[used] != 0) ++used;
  if (used >= size) return;
  CopyText(buffer + used, size - used, text);
}

// ASCII comparison ignoring case, the same on every platform and locale.
inline bool EqualNoCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  for (;; ++a, ++b) {
    char ca = *a, cb = *b;
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

}  // namespace vlt
