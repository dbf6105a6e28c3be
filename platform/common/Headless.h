// Message boxes where no user is present: written to standard error, answered from the
// VEXILON_ANSWERS queue or by the safe default. Shared by both implementations, because a
// Windows run without a display takes the same path.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace vplat {
namespace detail {

// The answer a box gets when nobody can give one: Ok for Ok, No for YesNo, Cancel otherwise.
Answer SafeDefault(Buttons buttons);

// Whether the box offers that answer.
bool Fits(Answer answer, Buttons buttons);

// Parses "ok", "cancel", "yes", "no" or "retry" (any case, blanks ignored).
bool ParseAnswer(const std::string& word, Answer& answer);

// Takes the next word off VEXILON_ANSWERS (the variable keeps the rest, so a child process
// started later continues the queue) and answers with it when it fits the buttons; otherwise,
// or with an empty queue, the safe default.
Answer NextAnswer(Buttons buttons);

// Writes the box to standard error as one block and answers it as NextAnswer does.
Answer HeadlessMessageBox(const char* text, const char* caption, Buttons buttons);

// Shows the box to a real user. False when no user can be reached; the box then goes to the
// headless path. Implemented per platform.
bool SystemMessageBox(WindowHandle owner, const char* text, const char* caption, Buttons buttons,
                      Icon icon, Answer& answer);

const char* AnswerName(Answer answer);

}  // namespace detail
}  // namespace vplat
