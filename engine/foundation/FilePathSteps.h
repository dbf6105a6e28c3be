// The operations of FilePathFind and FilePathFindW, written once for both character widths
// (internal to the engine core). The composite operations call the simple ones through the
// finder's virtual slots, so that a derived finder may change any step.
#pragma once

#include "PathText.h"
#include "platform/Platform.h"

namespace vlt {
namespace path {

template <class C>
void CurrentFolder(C* out, size_t size) {
  CurrentFolder(out, size, vplat::currentFolder());
}

// ---------------------------------------------------------------- simple operations

template <class C>
int BackDirCount(const C* p) {
  if (p == nullptr) return 0;
  const size_t n = Length(p);
  int count = 0;
  for (size_t i = 0; i + 2 < n && StartsWithAscii(p + i, "..\\"); i += 3) ++count;
  return -count;
}

template <class C>
int DirCount(const C* p) {
  if (p == nullptr) return 0;
  const size_t n = Length(p);
  const size_t start = CountStart(p);
  if (n < 4 || n <= start) return 0;
  int count = 0;
  for (size_t i = start; i < n; ++i)
    if (IsCountSep(p, p[i])) ++count;
  return count;
}

// Copies p[begin, end) into out, cut to kMax - 1 characters.
template <class C>
C* CopyComponent(C* out, const C* p, size_t begin, size_t end) {
  const size_t length = end - begin < kMax - 1 ? end - begin : kMax - 1;
  for (size_t j = 0; j < length; ++j) out[j] = p[begin + j];
  out[length] = 0;
  return out;
}

// The folder with the index after the root; the last component is the file name, never
// returned.
template <class C>
C* DirName(C* out, const C* p, int index) {
  if (out == nullptr) return nullptr;
  out[0] = 0;
  if (p == nullptr || index < 0) return nullptr;
  const size_t n = Length(p);
  const size_t start = CountStart(p);
  if (n < 4 || n <= start) return nullptr;
  int k = 0;
  size_t begin = start;
  for (size_t i = start; i < n; ++i) {
    if (!IsCountSep(p, p[i])) continue;
    if (k++ == index) return CopyComponent(out, p, begin, i);
    begin = i + 1;
  }
  return nullptr;
}

// The component with the index after the leading back-steps; the file name counts too.
template <class C>
C* DirNameFromBackDir(C* out, const C* p, int index) {
  if (out == nullptr) return nullptr;
  out[0] = 0;
  if (p == nullptr || index < 0) return nullptr;
  const size_t n = Length(p);
  size_t begin = static_cast<size_t>(-BackDirCount(p)) * 3;
  int k = 0;
  for (size_t i = begin; i <= n; ++i) {
    if (i < n && p[i] != C('\\')) continue;
    if (k++ == index) {
      if (i == begin) return nullptr;  // an empty component is no component
      return CopyComponent(out, p, begin, i);
    }
    begin = i + 1;
  }
  return nullptr;
}

template <class C>
C* FilePathOf(C* p) {
  if (p == nullptr) return nullptr;
  size_t last = 0;
  for (size_t i = 1; p[i] != 0; ++i)
    if (IsSep(p[i])) last = i;
  if (last > 0) p[last] = 0;
  return p;
}

template <class C>
C* FileNameOf(C* p) {
  if (p == nullptr) return nullptr;
  size_t last = 0;
  for (size_t i = 1; p[i] != 0; ++i)
    if (IsSep(p[i])) last = i;
  if (last > 0) Copy(p, kMax, p + last + 1);
  return p;
}

// Same root: drive letters compared exactly (so "c" and "C" differ), server names ignoring
// case. A relative path (beginning with ".") is on no drive.
template <class C>
bool ValidDrive(const C* a, const C* b) {
  if (a == nullptr || b == nullptr || a[0] == C('.') || a[0] != b[0]) return false;
  if (IsNetworkRooted(a) != IsNetworkRooted(b)) return false;
  if (!IsNetworkRooted(a)) return true;
  const size_t ra = RootLength(a), rb = RootLength(b);
  if (ra != rb) return false;
  for (size_t i = 2; i < ra; ++i)
    if (!IsSep(a[i]) && Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

template <class C>
void CreateValid(C* p, const C* base) {
  if (p == nullptr) return;
  Normalise(p);
  if (p[0] != C('.')) return;
  C joined[kMax];
  Copy(joined, kMax, base);
  Append(joined, kMax, p + 1);
  Copy(p, kMax, joined);
  // The base brings its own separators; write the joined path one way.
  Normalise(p);
}

// ---------------------------------------------------------------- composite operations

// A path that does not begin with "." or a separator and has no root is taken as relative to
// the current folder, so that a bare file name still has a folder and a drive.
template <class Finder, class C>
void MakeAbsolute(Finder& finder, C* p) {
  C folder[kMax];
  CurrentFolder(folder, kMax);
  if (p[0] != 0 && p[0] != C('.') && !IsSep(p[0]) && !Contains(p, C(':')) && RootLength(p) == 0) {
    C relative[kMax];
    CopyAscii(relative, kMax, ".\\");
    Append(relative, kMax, p);
    Copy(p, kMax, relative);
  }
  finder.CreateValidFilePath(p, folder);
}

template <class Finder, class C>
void SetSource(Finder& finder, C* source, const C* p) {
  if (p == nullptr) return;
  Copy(source, kMax, p);
  if (!ContainsAscii(source, "http://", false)) MakeAbsolute(finder, source);
}

// Appends each folder of p from index first (inclusive) to last (exclusive), each followed by
// sep.
template <class Finder, class C>
void AppendFolders(Finder& finder, C* result, const C* p, int first, int last, C sep,
                   bool afterBackSteps) {
  C name[kMax];
  for (int i = first < 0 ? 0 : first; i < last; ++i) {
    const C* found =
        afterBackSteps ? finder.GetDirNameFromBackDir(name, p, i) : finder.GetDirName(name, p, i);
    if (found == nullptr) continue;
    Append(result, kMax, name);
    AppendChar(result, kMax, sep);
  }
}

// Appends the file name of path (reduced in place) to result. A name directly below a root keeps
// the root's separator: the result has one already.
template <class Finder, class C>
void AppendFileName(Finder& finder, C* result, C* path) {
  finder.GetFileName(path);
  size_t skip = 0;
  while (IsSep(path[skip])) ++skip;
  Append(result, kMax, path + skip);
}

template <class Finder, class C>
const C* CompletePath(Finder& finder, const C* source, C* result, const C* p) {
  if (p == nullptr) return nullptr;
  result[0] = 0;

  // A source on the web: the path is joined to the source's folder as it is.
  if (ContainsAscii(source, "http://", true)) {
    Copy(result, 256, source);
    size_t cut = Length(result);
    for (size_t i = 0; result[i] != 0; ++i)
      if (IsSep(result[i])) cut = i + 1;
    result[cut] = 0;
    Append(result, kMax, p);
    return result;
  }

  // A drive or network path is complete already.
  const size_t pathRoot = RootLength(p);
  if (pathRoot != 0 && !IsPosixRooted(p)) {
    Copy(result, kMax, p);
    Normalise(result);
    return result;
  }

  // The relative form: separators read either way, a leading separator means the root of the
  // source, anything that is not already ".\" or "..\" is below the source's folder.
  C r[kMax];
  Copy(r, kMax, p);
  for (size_t i = 0; r[i] != 0; ++i)
    if (r[i] == C('/')) r[i] = C('\\');
  const bool fromRoot = r[0] == C('\\');
  if (!fromRoot) {
    if (r[0] == C('.') && r[1] == 0) {
      CopyAscii(r, kMax, ".\\");
    } else if (r[0] == C('.') && r[1] == C('.') && r[2] == 0) {
      CopyAscii(r, kMax, "..\\");
    } else if (!StartsWithAscii(r, ".\\") && !StartsWithAscii(r, "..\\")) {
      C prefixed[kMax];
      CopyAscii(prefixed, kMax, ".\\");
      Append(prefixed, kMax, r);
      Copy(r, kMax, prefixed);
    }
  }

  C src[kMax];
  Copy(src, kMax, source);
  MakeAbsolute(finder, src);
  size_t root = RootLength(src);
  if (root == 0) root = Length(src) < 3 ? Length(src) : 3;
  const C sep = SeparatorOf(src);
  Copy(result, root + 1, src);
  if (root > 0 && !IsSep(result[root - 1])) AppendChar(result, kMax, sep);

  C name[kMax];
  const int backSteps = -finder.GetBackDirCount(r);
  if (backSteps > 0) {
    AppendFolders(finder, result, src, 0, finder.GetDirCount(src) - backSteps, sep, false);
    AppendFolders(finder, result, r, 0, finder.GetDirCountFromBackDir(r), sep, true);
    Copy(name, kMax, r);
  } else {
    C joined[kMax];
    if (fromRoot) {
      Copy(joined, root + 1, src);
      if (root > 0 && !IsSep(joined[root - 1])) AppendChar(joined, kMax, sep);
      Append(joined, kMax, r + 1);
      Normalise(joined);
    } else {
      C folder[kMax];
      Copy(folder, kMax, src);
      finder.GetFilePath(folder);
      Copy(joined, kMax, r);
      finder.CreateValidFilePath(joined, folder);
    }
    AppendFolders(finder, result, joined, 0, finder.GetDirCount(joined), sep, false);
    Copy(name, kMax, joined);
  }
  AppendFileName(finder, result, name);
  return result;
}

// Returns null when the path is on another drive than the source (the caller then answers the
// input); otherwise the relative path, always written with "\" so that files stay portable.
template <class Finder, class C>
const C* RelativePath(Finder& finder, const C* source, C* result, const C* p, C* normalised) {
  Copy(normalised, kMax, p);
  MakeAbsolute(finder, normalised);
  if (!finder.CheckValidDrive(normalised, source)) return nullptr;
  const int share = finder.GetDirShareCount(normalised, source);
  const int relative = finder.GetRelativeDirCount(normalised, source);
  result[0] = 0;
  if (relative < 0) {
    for (int i = 0; i < -relative; ++i) AppendAscii(result, kMax, "..\\");
    AppendFolders(finder, result, normalised, share, finder.GetDirCount(normalised), C('\\'),
                  false);
  } else {
    AppendAscii(result, kMax, ".\\");
    AppendFolders(finder, result, normalised, share, share + relative, C('\\'), false);
  }
  C name[kMax];
  Copy(name, kMax, normalised);
  AppendFileName(finder, result, name);
  return result;
}

template <class Finder, class C>
int ShareCount(Finder& finder, const C* a, const C* b) {
  if (a == nullptr || b == nullptr) return 0;
  C nameA[kMax], nameB[kMax];
  const int count = finder.GetDirCount(a);
  int share = 0;
  for (; share < count; ++share) {
    if (finder.GetDirName(nameB, b, share) == nullptr) break;
    if (finder.GetDirName(nameA, a, share) == nullptr) break;
    if (!EqualNoCase(nameA, nameB)) break;
  }
  return share;
}

template <class Finder, class C>
int RelativeCount(Finder& finder, const C* a, const C* b) {
  if (a == nullptr || b == nullptr) return 0;
  const int countA = finder.GetDirCount(a);
  const int countB = finder.GetDirCount(b);
  const int share = finder.GetDirShareCount(a, b);
  return share < countB ? share - countB : countA - countB;
}

template <class Finder, class C>
int DirCountFromBackDir(Finder& finder, const C* p) {
  if (p == nullptr) return 0;
  C blanked[kMax];
  Copy(blanked, kMax, p);
  const size_t steps = static_cast<size_t>(-BackDirCount(blanked));
  for (size_t i = 0; i < steps * 3; ++i) blanked[i] = C(' ');
  return finder.GetDirCount(blanked);
}

template <class Finder, class C>
const C* CorrectPath(Finder& finder, const C* p) {
  if (p == nullptr) return nullptr;
  if (Contains(p, C(':')) || ContainsAscii(p, "\\\\", false) || IsPosixRooted(p)) return p;
  return finder.GetCompleteFilePath(p);
}

// Joins path to folder and canonicalises: in place, within kMax characters.
template <class C>
void GroupRelative(C* p, const C* groupFile) {
  if (p[0] != 0 && p[0] != C('.') && (Contains(p, C(':')) || IsSep(p[0]))) return;
  C folder[256];
  Copy(folder, 256, groupFile);
  // A group file name without a folder lies in no folder: the path stays relative.
  size_t last = 0;
  for (size_t i = 1; folder[i] != 0; ++i)
    if (IsSep(folder[i])) last = i;
  if (last > 0)
    folder[last + 1] = 0;
  else
    folder[0] = 0;
  C text[kMax];
  Copy(text, kMax, folder);
  if (p[0] != 0 && p[0] != C('.')) AppendAscii(text, kMax, ".\\");
  Append(text, kMax, p);
  Canonicalise(p, kMax, text);
}

}  // namespace path
}  // namespace vlt
