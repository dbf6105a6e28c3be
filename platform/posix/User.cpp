#include "platform/Platform.h"
#include "platform/common/Headless.h"

namespace vplat {
namespace detail {

// Linux has no message box of its own here: the hosts run headless, so every box takes the
// standard-error path with its scripted or safe answer.
bool SystemMessageBox(WindowHandle, const char*, const char*, Buttons, Icon, Answer&) {
  return false;
}

}  // namespace detail
}  // namespace vplat
