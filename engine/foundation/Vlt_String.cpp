#include "Vlt_String.h"

#include <cstring>
#include <new>

namespace {

size_t TextLength(const char* text) { return std::strlen(text); }

size_t TextLength(const char16_t* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// A fresh copy of text: empty text takes exactly one character, other texts length + 2 (the
// layout plug-ins have always seen). Null when the allocation fails.
template <typename Char>
Char* Duplicate(const Char* text) {
  const size_t length = TextLength(text);
  Char* copy = new (std::nothrow) Char[length == 0 ? 1 : length + 2];
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text, length * sizeof(Char));
  copy[length] = 0;
  return copy;
}

// The new side is built before the old one is released, so a text that points into the
// string's own storage is read while it is still alive.
template <typename Char>
void SetSide(Char*& side, const Char* text) {
  Char* copy = text != nullptr ? Duplicate(text) : nullptr;
  delete[] side;
  side = copy;
}

template <typename Char>
void AddSide(Char*& side, const Char* text) {
  if (text == nullptr) return;
  if (side == nullptr) {
    SetSide(side, text);
    return;
  }
  const size_t added = TextLength(text);
  if (added == 0) return;
  const size_t old = TextLength(side);
  Char* joined = new (std::nothrow) Char[old + added + 2];
  if (joined == nullptr) return;
  std::memcpy(joined, side, old * sizeof(Char));
  std::memcpy(joined + old, text, added * sizeof(Char));
  joined[old + added] = 0;
  delete[] side;
  side = joined;
}

template <typename Char>
void CutSide(Char* side, int n) {
  if (side == nullptr) return;
  if (TextLength(side) > static_cast<size_t>(n)) side[n] = 0;
}

// The C locale's rules, applied the same way on both sides: only A-Z and a-z change.
template <typename Char>
void LowerSide(Char* side) {
  if (side == nullptr) return;
  for (; *side != 0; ++side)
    if (*side >= 'A' && *side <= 'Z') *side = static_cast<Char>(*side - 'A' + 'a');
}

template <typename Char>
void UpperSide(Char* side) {
  if (side == nullptr) return;
  for (; *side != 0; ++side)
    if (*side >= 'a' && *side <= 'z') *side = static_cast<Char>(*side - 'a' + 'A');
}

}  // namespace

Vlt_String::Vlt_String() : narrow_(nullptr), wide_(nullptr) {}

Vlt_String::~Vlt_String() {
  delete[] narrow_;
  delete[] wide_;
}

void Vlt_String::SetString(const char* text) { SetSide(narrow_, text); }

void Vlt_String::SetWString(const char16_t* text) { SetSide(wide_, text); }

void Vlt_String::AddString(const char* text) { AddSide(narrow_, text); }

void Vlt_String::AddString(const char16_t* text) { AddSide(wide_, text); }

void Vlt_String::SetMaxCars(int n) {
  if (n <= 0) return;
  CutSide(narrow_, n);
  CutSide(wide_, n);
}

void Vlt_String::StrLwr() {
  LowerSide(narrow_);
  LowerSide(wide_);
}

void Vlt_String::StrUpr() {
  UpperSide(narrow_);
  UpperSide(wide_);
}

char* Vlt_String::MakeFULLName(char* path) {
  if (path == nullptr) return nullptr;
  constexpr size_t kBuffer = 260;
  constexpr size_t kKept = 258;
  char work[kBuffer];
  size_t length = std::strlen(path);
  if (length > kKept) length = kKept;
  std::memcpy(work, path, length);
  work[length] = 0;

  // Position 0 is never examined, so a leading separator alone does not count.
  for (size_t i = length; i-- > 1;) {
    if (work[i] == '\\' || work[i] == '/') {
      const size_t tail = length - (i + 1);
      std::memcpy(path, work + i + 1, tail);
      path[tail] = 0;
      return path;
    }
  }
  return path;
}
