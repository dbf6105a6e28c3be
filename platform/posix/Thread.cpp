#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <new>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

namespace {

// Thread ids are handed out by the process (a Linux tid is known only once the thread runs,
// and pthread_t is not a number): the creator knows the id before the thread starts.
std::atomic<uint32_t> nextThreadId{1};
thread_local uint32_t ownThreadId = 0;

struct StartInfo {
  ThreadFunction function;
  void* argument;
  uint32_t id;
};

void* Trampoline(void* raw) {
  StartInfo* start = static_cast<StartInfo*>(raw);
  ownThreadId = start->id;
  ThreadFunction function = start->function;
  void* argument = start->argument;
  delete start;
  function(argument);
  return nullptr;
}

}  // namespace

ThreadHandle createThread(ThreadFunction function, void* argument, uint32_t* threadId,
                          uint32_t* errorCode) {
  if (errorCode != nullptr) *errorCode = 0;
  if (function == nullptr) {
    if (errorCode != nullptr) *errorCode = 22;  // EINVAL
    return nullptr;
  }
  StartInfo* start = new (std::nothrow) StartInfo{function, argument, nextThreadId++};
  pthread_t* thread = new (std::nothrow) pthread_t;
  if (start == nullptr || thread == nullptr) {
    delete start;
    delete thread;
    if (errorCode != nullptr) *errorCode = 12;  // ENOMEM
    return nullptr;
  }
  const uint32_t id = start->id;
  const int rc = ::pthread_create(thread, nullptr, Trampoline, start);
  if (rc != 0) {
    delete start;
    delete thread;
    if (errorCode != nullptr) *errorCode = static_cast<uint32_t>(rc);
    return nullptr;
  }
  if (threadId != nullptr) *threadId = id;
  return thread;
}

void closeThreadHandle(ThreadHandle thread) {
  if (thread == nullptr) return;
  pthread_t* handle = static_cast<pthread_t*>(thread);
  ::pthread_detach(*handle);
  delete handle;
}

bool terminateThread(ThreadHandle, uint32_t) { return false; }

uint32_t currentThreadId() {
  if (ownThreadId == 0) ownThreadId = nextThreadId++;
  return ownThreadId;
}

std::string currentFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) break;
    if (buffer.size() >= (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  std::string folder(buffer.data());
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace vplat
