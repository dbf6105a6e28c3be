#include <windows.h>

#include <atomic>

#include "platform/Platform.h"

namespace vplat {
namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> watching{false};

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      interrupted.store(true);
      // Closing the console ends the process once this returns: give the loop time to stop.
      if (event == CTRL_CLOSE_EVENT) ::Sleep(2000);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void watchInterrupt() {
  if (watching.exchange(true)) return;
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool interruptRequested() { return interrupted.load(); }

void setInterruptRequested(bool requested) { interrupted.store(requested); }

bool isTerminal(int stream) {
  if (stream != 1 && stream != 2) return false;
  HANDLE handle = ::GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  // Only a real console has a console mode; files and pipes do not.
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode);
}

}  // namespace vplat
