// The message classes every component reports through. The call operators format a value into
// text and hand it to ShowMessage, but only while a sink (debugOutPut) is installed.
#pragma once

#include "VltExport.h"

class VEXILON_API ShowDebugMessage {
 public:
  ShowDebugMessage() = default;
  virtual ~ShowDebugMessage();
  virtual void ShowMessage(const char* text);

  void operator()(const char* text);
  void operator()(float value);
  void operator()(int value);
  void operator()(unsigned long value);
  // Same as the unsigned long form; keeps 32-bit unsigned arguments unambiguous on every platform.
  void operator()(unsigned int value);
  void operator()(double value);
  void operator()(const GUID& guid);
  void operator()(const char* a, const char* b);
  void operator()(const char* text, int value);
  void operator()(const char* text, float value);

 protected:
  // Routes a message of the given type to the sink, or shows a box with the caption when none
  // is installed.
  static void Deliver(const char* text, int type, const char* caption);
};

class VEXILON_API ShowErrorMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};

class VEXILON_API ShowInfoMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};

class VEXILON_API ShowMessageBox : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};

class VEXILON_API ShowUserInfoMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};

class VEXILON_API ShowUserWarningMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};

class VEXILON_API ShowUserErrorMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override;
};
