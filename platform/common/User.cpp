#include <atomic>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "platform/common/Headless.h"

namespace vplat {

namespace {

std::atomic<UserSink*> g_sink{nullptr};

// Serialises the queue and the output, so that two threads asking at once neither take the
// same answer nor interleave their blocks.
Lock& QueueLock() {
  static Lock lock;
  return lock;
}

}  // namespace

namespace detail {

Answer SafeDefault(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel:
      return Answer::Cancel;
  }
  return Answer::Cancel;
}

bool Fits(Answer answer, Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return answer == Answer::Ok;
    case Buttons::OkCancel:
      return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
      return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
      return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    case Buttons::RetryCancel:
      return answer == Answer::Retry || answer == Answer::Cancel;
  }
  return false;
}

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "ok";
    case Answer::Cancel:
      return "cancel";
    case Answer::Yes:
      return "yes";
    case Answer::No:
      return "no";
    case Answer::Retry:
      return "retry";
  }
  return "?";
}

bool ParseAnswer(const std::string& word, Answer& answer) {
  std::string w;
  for (char c : word)
    if (!std::isspace(static_cast<unsigned char>(c)))
      w += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const Answer kAll[] = {Answer::Ok, Answer::Cancel, Answer::Yes, Answer::No, Answer::Retry};
  for (Answer a : kAll) {
    if (w == AnswerName(a)) {
      answer = a;
      return true;
    }
  }
  return false;
}

Answer NextAnswer(Buttons buttons) {
  LockGuard guard(QueueLock());
  std::string queue;
  if (!getEnv("VEXILON_ANSWERS", queue) || queue.empty()) return SafeDefault(buttons);
  size_t comma = queue.find(',');
  std::string word = queue.substr(0, comma);
  setEnv("VEXILON_ANSWERS", comma == std::string::npos ? "" : queue.substr(comma + 1).c_str());
  Answer answer;
  if (ParseAnswer(word, answer) && Fits(answer, buttons)) return answer;
  return SafeDefault(buttons);
}

Answer HeadlessMessageBox(const char* text, const char* caption, Buttons buttons) {
  LockGuard guard(QueueLock());
  Answer answer = NextAnswer(buttons);
  std::string block = "[";
  block += caption ? caption : "";
  block += "]\n";
  block += text ? text : "";
  if (block.empty() || block.back() != '\n') block += '\n';
  block += "-> ";
  block += AnswerName(answer);
  block += "\n";
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
  return answer;
}

}  // namespace detail

Answer messageBox(WindowHandle owner, const char* text, const char* caption, Buttons buttons,
                  Icon icon) {
  if (UserSink* sink = g_sink.load())
    return sink->OnMessageBox(owner, text, caption, buttons, icon);
  Answer answer;
  if (detail::SystemMessageBox(owner, text, caption, buttons, icon, answer)) return answer;
  return detail::HeadlessMessageBox(text, caption, buttons);
}

void setUserSink(UserSink* sink) { g_sink.store(sink); }

}  // namespace vplat
