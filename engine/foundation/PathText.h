// Character-level helpers for paths in fixed buffers, for 8-bit and 16-bit text alike
// (internal to the engine core). Paths are stored the Windows way ("C:\a\b", "..\x"), and
// POSIX paths ("/a/b") are read too; "/" and "\" are both accepted where a path is parsed.
#pragma once

#include <cstddef>
#include <string>

namespace vlt {
namespace path {

// Longest path, terminator included.
constexpr size_t kMax = 259;

template <class C>
size_t Length(const C* text) {
  size_t n = 0;
  if (text != nullptr)
    while (text[n] != 0) ++n;
  return n;
}

template <class C>
bool IsSep(C c) {
  return c == C('\\') || c == C('/');
}

template <class C>
C Lower(C c) {
  return (c >= C('A') && c <= C('Z')) ? C(c - C('A') + C('a')) : c;
}

// Copies into out[size], cutting silently at size - 1 characters; null copies "".
// The source may overlap the destination when it lies at or after it.
template <class C>
void Copy(C* out, size_t size, const C* text) {
  if (out == nullptr || size == 0) return;
  size_t i = 0;
  if (text != nullptr)
    for (; i + 1 < size && text[i] != 0; ++i) out[i] = text[i];
  out[i] = 0;
}

template <class C>
void Append(C* out, size_t size, const C* text) {
  const size_t used = Length(out);
  if (used + 1 >= size) return;
  Copy(out + used, size - used, text);
}

template <class C>
void AppendChar(C* out, size_t size, C c) {
  const size_t used = Length(out);
  if (used + 1 >= size) return;
  out[used] = c;
  out[used + 1] = 0;
}

// Appends ASCII text to a buffer of either character width.
template <class C>
void AppendAscii(C* out, size_t size, const char* text) {
  for (; text != nullptr && *text != 0; ++text) AppendChar(out, size, C(*text));
}

template <class C>
void CopyAscii(C* out, size_t size, const char* text) {
  if (out == nullptr || size == 0) return;
  out[0] = 0;
  AppendAscii(out, size, text);
}

template <class C>
bool StartsWithAscii(const C* text, const char* prefix) {
  for (; *prefix != 0; ++text, ++prefix)
    if (*text != C(*prefix)) return false;
  return true;
}

// Whether text contains the ASCII needle, exactly or ignoring case.
template <class C>
bool ContainsAscii(const C* text, const char* needle, bool ignoreCase) {
  if (text == nullptr) return false;
  for (; *text != 0; ++text) {
    size_t i = 0;
    for (; needle[i] != 0 && text[i] != 0; ++i) {
      const C a = ignoreCase ? Lower(text[i]) : text[i];
      const C b = ignoreCase ? Lower(C(needle[i])) : C(needle[i]);
      if (a != b) break;
    }
    if (needle[i] == 0) return true;
  }
  return false;
}

template <class C>
bool Contains(const C* text, C c) {
  for (; text != nullptr && *text != 0; ++text)
    if (*text == c) return true;
  return false;
}

template <class C>
bool EqualNoCase(const C* a, const C* b) {
  for (;; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
    if (*a == 0) return true;
  }
}

// A POSIX root: one "/" not followed by another separator.
template <class C>
bool IsPosixRooted(const C* p) {
  return p != nullptr && p[0] == C('/') && !IsSep(p[1]);
}

template <class C>
bool IsNetworkRooted(const C* p) {
  return p != nullptr && IsSep(p[0]) && IsSep(p[1]);
}

// Length of the root of an absolute path: "C:\" (3), "\\server\" (through the separator after
// the server name) or "/" (1); 0 for anything else.
template <class C>
size_t RootLength(const C* p) {
  if (p == nullptr || p[0] == 0) return 0;
  const C d = Lower(p[0]);
  if (d >= C('a') && d <= C('z') && p[1] == C(':') && IsSep(p[2])) return 3;
  if (IsNetworkRooted(p)) {
    size_t i = 2;
    while (p[i] != 0 && !IsSep(p[i])) ++i;
    return p[i] != 0 ? i + 1 : i;
  }
  return IsPosixRooted(p) ? 1 : 0;
}

// The separator a path's results are written with: "/" under a POSIX root, "\" otherwise.
template <class C>
C SeparatorOf(const C* p) {
  return IsPosixRooted(p) ? C('/') : C('\\');
}

// Where the counting operations start: after the root, or after the first three characters
// of any other path (a relative path's back-steps are blanked out before counting).
template <class C>
size_t CountStart(const C* p) {
  const size_t root = RootLength(p);
  return root != 0 ? root : 3;
}

// Folder separators for counting: "\" only, and "/" as well under a POSIX root.
template <class C>
bool IsCountSep(const C* p, C c) {
  return c == C('\\') || (c == C('/') && IsPosixRooted(p));
}

// Separators written the one way of the path, and doubled ones dropped. The first character is
// left as it is, so a network path keeps its two leading separators (written "\\").
template <class C>
void Normalise(C* p) {
  if (p == nullptr || p[0] == 0) return;
  const C sep = SeparatorOf(p);
  size_t w = 1;
  if (IsNetworkRooted(p)) {
    p[0] = p[1] = C('\\');
    w = 2;
  }
  for (size_t r = w; p[r] != 0; ++r) {
    C c = p[r];
    if (IsSep(c)) {
      c = sep;
      if (w >= 2 && p[w - 1] == sep) continue;
    }
    p[w++] = c;
  }
  p[w] = 0;
}

// Removes "." and ".." segments (as the system's path canonicalisation does): ".." takes away
// the segment before it, never the root; a relative path keeps the ".." it cannot resolve.
template <class C>
void Canonicalise(C* out, size_t size, const C* in) {
  if (out == nullptr || size == 0) return;
  C text[kMax];
  Copy(text, kMax, in);
  out[0] = 0;
  size_t root = RootLength(text);
  if (root == 0 && IsSep(text[0])) root = 1;  // the root of the current drive
  const C sep = SeparatorOf(text);
  for (size_t i = 0; i < root; ++i) AppendChar(out, size, IsSep(text[i]) ? sep : text[i]);
  if (root > 0 && !IsSep(text[root - 1])) AppendChar(out, size, sep);

  struct Segment {
    size_t start, length;
  };
  Segment segments[kMax];
  size_t count = 0;
  const size_t n = Length(text);
  for (size_t i = root; i < n;) {
    size_t j = i;
    while (j < n && !IsSep(text[j])) ++j;
    const size_t length = j - i;
    const bool dot = length == 1 && text[i] == C('.');
    const bool dotDot = length == 2 && text[i] == C('.') && text[i + 1] == C('.');
    if (length == 0 || dot) {
    } else if (dotDot) {
      const bool topIsDotDot = count > 0 && segments[count - 1].length == 2 &&
                               text[segments[count - 1].start] == C('.') &&
                               text[segments[count - 1].start + 1] == C('.');
      if (count > 0 && !topIsDotDot)
        --count;
      else if (root == 0)
        segments[count++] = {i, length};
    } else {
      segments[count++] = {i, length};
    }
    i = j + 1;
  }
  for (size_t s = 0; s < count; ++s) {
    if (s > 0) AppendChar(out, size, sep);
    for (size_t k = 0; k < segments[s].length; ++k)
      AppendChar(out, size, text[segments[s].start + k]);
  }
  if (count > 0 && n > root && IsSep(text[n - 1])) AppendChar(out, size, sep);
}

// The process's current folder in a path buffer.
template <class C>
void CurrentFolder(C* out, size_t size, const std::string& folder) {
  if (out == nullptr || size == 0) return;
  out[0] = 0;
  for (unsigned char c : folder) AppendChar(out, size, C(c));
}

}  // namespace path
}  // namespace vlt
