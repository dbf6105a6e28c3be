// The protected form of a group file: the plain file, scrambled, behind a marker and its
// length. The scrambling keeps the length, so one length serves the plain and the stored body.
#pragma once

#include <cstddef>
#include <cstdint>

class EngineInterface;
class VltFileLoader;

class GroupProtection {
 public:
  // Rewrites a saved plain group file in protected form.
  static bool Protect(EngineInterface* engine, const char* fileName);
  // At a protected body (its marker consumed or not): hands the plain file to the loader.
  static bool Unprotect(VltFileLoader* loader);
  // Scrambles or unscrambles in place: the transform is its own inverse.
  static void Scramble(uint8_t* bytes, size_t size);
};
