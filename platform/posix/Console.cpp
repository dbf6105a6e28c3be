#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "platform/Platform.h"

namespace vplat {
namespace {

// Written by the signal handler: a lock-free atomic is safe there.
std::atomic<bool> interrupted{false};
std::atomic<bool> watching{false};

void OnInterrupt(int) { interrupted.store(true); }

}  // namespace

void watchInterrupt() {
  if (watching.exchange(true)) return;
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Blocking calls resume instead of failing with EINTR; the loop notices the flag on its own.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool interruptRequested() { return interrupted.load(); }

void setInterruptRequested(bool requested) { interrupted.store(requested); }

bool isTerminal(int stream) { return (stream == 1 || stream == 2) && ::isatty(stream) == 1; }

}  // namespace vplat
