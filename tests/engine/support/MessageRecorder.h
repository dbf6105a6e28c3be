// Test support: installs itself as the process-wide message sink and keeps every message, and
// replaces the user with a recorder of message boxes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "platform/Platform.h"

struct RecordedMessage {
  int type;
  std::string text;
};

class MessageRecorder : public DebugOutPut {
 public:
  MessageRecorder() : previous_(debugOutPut) { debugOutPut = this; }
  ~MessageRecorder() override { debugOutPut = previous_; }

  void ShowDebugMessage(DebugMessage* message) override {
    if (message == nullptr) return;
    const char* text = message->GetDebugMessage();
    messages.push_back({message->GetMessageType(), text ? text : ""});
  }

  // Texts of all recorded messages, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }
  bool Contains(const std::string& text) const {
    for (const auto& m : messages)
      if (m.text == text) return true;
    return false;
  }

  std::vector<RecordedMessage> messages;

 private:
  DebugOutPut* previous_;
};

struct RecordedBox {
  std::string text;
  std::string caption;
  vplat::Buttons buttons;
  vplat::Icon icon;
};

class BoxRecorder : public vplat::UserSink {
 public:
  BoxRecorder() { vplat::setUserSink(this); }
  ~BoxRecorder() override { vplat::setUserSink(nullptr); }

  vplat::Answer OnMessageBox(vplat::WindowHandle, const char* text, const char* caption,
                             vplat::Buttons buttons, vplat::Icon icon) override {
    boxes.push_back({text ? text : "", caption ? caption : "", buttons, icon});
    if (!answers.empty()) {
      vplat::Answer a = answers.front();
      answers.erase(answers.begin());
      return a;
    }
    return vplat::Answer::Ok;
  }

  std::vector<RecordedBox> boxes;
  std::vector<vplat::Answer> answers;  // scripted answers, consumed in order
};
