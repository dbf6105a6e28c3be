// One message in transit from a message class to the process-wide sink.
#pragma once

#include "Vlt_String.h"

// Message types, as stored in a DebugMessage.
enum {
  VLT_MSG_DEBUG = 0,
  VLT_MSG_ERROR = 1,
  VLT_MSG_INFO = 2,
  VLT_MSG_MESSAGEBOX = 3,
  VLT_MSG_USERINFO = 4,
  VLT_MSG_USERWARNING = 5,
  VLT_MSG_USERERROR = 6
};

class VEXILON_API DebugMessage {
 public:
  DebugMessage();
  virtual ~DebugMessage();
  virtual const char* GetDebugMessage();
  virtual int GetMessageType();
  virtual void SetDebugMessage(const char* text);
  virtual void SetMessageType(int type);

 private:
  Vlt_String text_;
  int32_t type_;
};
