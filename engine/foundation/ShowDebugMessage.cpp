#include "ShowDebugMessage.h"

#include <cstdio>
#include <string>

#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "GFormat.h"
#include "VltGuid.h"
#include "VltText.h"
#include "platform/Platform.h"

namespace {

// Digits of the stand-alone numbers and of the number after a text.
constexpr int kNumberDigits = 50;
constexpr int kTextNumberDigits = 5;
// Buffer sizes including the terminator: the first part and its blank, and the whole text.
constexpr size_t kFirstPart = 499;
constexpr size_t kWhole = 599;

}  // namespace

ShowDebugMessage::~ShowDebugMessage() = default;

void ShowDebugMessage::Deliver(const char* text, int type, const char* caption) {
  DebugMessage message;
  message.SetDebugMessage(text);
  message.SetMessageType(type);
  if (debugOutPut != nullptr)
    debugOutPut->ShowDebugMessage(&message);
  else
    vplat::messageBox(nullptr, text != nullptr ? text : "", caption, vplat::Buttons::Ok,
                      vplat::Icon::None);
}

void ShowDebugMessage::ShowMessage(const char* text) { Deliver(text, VLT_MSG_DEBUG, "Debug"); }
void ShowErrorMessage::ShowMessage(const char* text) { Deliver(text, VLT_MSG_ERROR, "Error"); }
void ShowInfoMessage::ShowMessage(const char* text) { Deliver(text, VLT_MSG_INFO, "Info"); }
void ShowMessageBox::ShowMessage(const char* text) { Deliver(text, VLT_MSG_MESSAGEBOX, "Message"); }
void ShowUserInfoMessage::ShowMessage(const char* text) {
  Deliver(text, VLT_MSG_USERINFO, "Error");
}
void ShowUserWarningMessage::ShowMessage(const char* text) {
  Deliver(text, VLT_MSG_USERWARNING, "Error");
}
void ShowUserErrorMessage::ShowMessage(const char* text) {
  Deliver(text, VLT_MSG_USERERROR, "Error");
}

// The operators drop their text while no sink is installed: before the engine runs, only a
// direct ShowMessage reaches the user.

void ShowDebugMessage::operator()(const char* text) {
  if (debugOutPut == nullptr) return;
  ShowMessage(text);
}

void ShowDebugMessage::operator()(float value) {
  if (debugOutPut == nullptr) return;
  ShowMessage(GFormat(static_cast<double>(value), kNumberDigits).c_str());
}

void ShowDebugMessage::operator()(int value) {
  if (debugOutPut == nullptr) return;
  ShowMessage(GFormat(static_cast<double>(value), kNumberDigits).c_str());
}

void ShowDebugMessage::operator()(unsigned long value) {
  if (debugOutPut == nullptr) return;
  ShowMessage(GFormat(static_cast<double>(value), kNumberDigits).c_str());
}

void ShowDebugMessage::operator()(unsigned int value) {
  (*this)(static_cast<unsigned long>(value));
}

void ShowDebugMessage::operator()(double value) {
  if (debugOutPut == nullptr) return;
  ShowMessage(GFormat(value, kNumberDigits).c_str());
}

void ShowDebugMessage::operator()(const GUID& guid) {
  if (debugOutPut == nullptr) return;
  char text[37];
  VltGuidToText(guid, text);
  ShowMessage(text);
}

void ShowDebugMessage::operator()(const char* a, const char* b) {
  if (debugOutPut == nullptr || a == nullptr) return;
  char text[kWhole];
  vlt::CopyText(text, kFirstPart, a);
  vlt::AppendText(text, kFirstPart, " ");
  vlt::AppendText(text, kWhole, b);
  ShowMessage(text);
}

void ShowDebugMessage::operator()(const char* text, int value) {
  if (debugOutPut == nullptr || text == nullptr) return;
  char out[kFirstPart];
  vlt::CopyText(out, kFirstPart, text);
  vlt::AppendText(out, kFirstPart, " ");
  vlt::AppendText(out, kFirstPart, std::to_string(value).c_str());
  ShowMessage(out);
}

void ShowDebugMessage::operator()(const char* text, float value) {
  if (debugOutPut == nullptr || text == nullptr) return;
  char out[kFirstPart];
  vlt::CopyText(out, kFirstPart, text);
  vlt::AppendText(out, kFirstPart, " ");
  vlt::AppendText(out, kFirstPart, GFormat(static_cast<double>(value), kTextNumberDigits).c_str());
  ShowMessage(out);
}
