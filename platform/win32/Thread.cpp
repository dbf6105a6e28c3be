#include <windows.h>

#include <new>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

namespace {

struct StartInfo {
  ThreadFunction function;
  void* argument;
};

// The system calls thread routines with its own calling convention; the caller's routine is
// plain C++.
DWORD WINAPI Trampoline(LPVOID raw) {
  StartInfo* start = static_cast<StartInfo*>(raw);
  ThreadFunction function = start->function;
  void* argument = start->argument;
  delete start;
  return function(argument);
}

}  // namespace

ThreadHandle createThread(ThreadFunction function, void* argument, uint32_t* threadId,
                          uint32_t* errorCode) {
  if (errorCode != nullptr) *errorCode = 0;
  if (function == nullptr) {
    if (errorCode != nullptr) *errorCode = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  StartInfo* start = new (std::nothrow) StartInfo{function, argument};
  if (start == nullptr) {
    if (errorCode != nullptr) *errorCode = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, Trampoline, start, 0, &id);
  if (thread == nullptr) {
    if (errorCode != nullptr) *errorCode = ::GetLastError();
    delete start;
    return nullptr;
  }
  if (threadId != nullptr) *threadId = id;
  return thread;
}

void closeThreadHandle(ThreadHandle thread) {
  if (thread != nullptr) ::CloseHandle(static_cast<HANDLE>(thread));
}

bool terminateThread(ThreadHandle thread, uint32_t exitCode) {
  if (thread == nullptr) return false;
  if (!::TerminateThread(static_cast<HANDLE>(thread), exitCode)) return false;
  // TerminateThread only starts the termination; wait until the thread is really gone.
  return ::WaitForSingleObject(static_cast<HANDLE>(thread), 5000) == WAIT_OBJECT_0;
}

uint32_t currentThreadId() { return ::GetCurrentThreadId(); }

std::string currentFolder() {
  DWORD size = ::GetCurrentDirectoryA(0, nullptr);
  if (size == 0) return std::string();
  std::vector<char> buffer(size + 1);
  DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return std::string();
  std::string folder(buffer.data(), length);
  // "C:\" keeps its separator: it is the root, not a folder with a trailing one.
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

}  // namespace vplat
