#include <windows.h>

#include <string>

#include "platform/Platform.h"
#include "platform/common/Headless.h"

namespace vplat {
namespace detail {

bool SystemMessageBox(WindowHandle owner, const char* text, const char* caption, Buttons buttons,
                      Icon icon, Answer& answer) {
  std::string headless;
  if (getEnv("VEXILON_HEADLESS", headless) && headless == "1") return false;
  UINT type = MB_OK;
  switch (buttons) {
    case Buttons::Ok:
      type = MB_OK;
      break;
    case Buttons::OkCancel:
      type = MB_OKCANCEL;
      break;
    case Buttons::YesNo:
      type = MB_YESNO;
      break;
    case Buttons::YesNoCancel:
      type = MB_YESNOCANCEL;
      break;
    case Buttons::RetryCancel:
      type = MB_RETRYCANCEL;
      break;
  }
  switch (icon) {
    case Icon::None:
      break;
    case Icon::Error:
      type |= MB_ICONERROR;
      break;
    case Icon::Warning:
      type |= MB_ICONWARNING;
      break;
    case Icon::Information:
      type |= MB_ICONINFORMATION;
      break;
    case Icon::Question:
      type |= MB_ICONQUESTION;
      break;
  }
  // 0 is a failure; without a display (Wine with no X server) the call returns -1 at once.
  int r = ::MessageBoxA(static_cast<HWND>(owner), text, caption, type);
  switch (r) {
    case IDOK:
      answer = Answer::Ok;
      return true;
    case IDCANCEL:
      answer = Answer::Cancel;
      return true;
    case IDYES:
      answer = Answer::Yes;
      return true;
    case IDNO:
      answer = Answer::No;
      return true;
    case IDRETRY:
      answer = Answer::Retry;
      return true;
    default:
      return false;
  }
}

}  // namespace detail
}  // namespace vplat
