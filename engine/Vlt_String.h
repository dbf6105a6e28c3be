// A small owned string with independent narrow and wide (16-bit) sides.
#pragma once

#include "VltExport.h"

class VEXILON_API Vlt_String {
 public:
  Vlt_String();
  virtual ~Vlt_String();
  // Copies share the storage, as with Vlt_List.
  Vlt_String(const Vlt_String&) = default;
  Vlt_String& operator=(const Vlt_String&) = default;

  void SetString(const char* text);
  void SetWString(const char16_t* text);
  void AddString(const char* text);
  void AddString(const char16_t* text);
  const char* GetString() const { return narrow_; }
  const char16_t* GetWString() const { return wide_; }
  void SetMaxCars(int n);
  void StrLwr();
  void StrUpr();
  // Reduces a caller's 260-character path buffer to its last component in place.
  char* MakeFULLName(char* path);

 private:
  char* narrow_;
  char16_t* wide_;
};
