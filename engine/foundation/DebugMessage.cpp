#include "DebugMessage.h"

DebugMessage::DebugMessage() : type_(VLT_MSG_DEBUG) {}

DebugMessage::~DebugMessage() = default;

const char* DebugMessage::GetDebugMessage() { return text_.GetString(); }

int DebugMessage::GetMessageType() { return type_; }

void DebugMessage::SetDebugMessage(const char* text) { text_.SetString(text); }

void DebugMessage::SetMessageType(int type) { type_ = type; }
