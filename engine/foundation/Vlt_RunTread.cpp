#include "Vlt_RunTread.h"

#include <mutex>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "Vlt_Tread.h"
#include "platform/Platform.h"

namespace {

// Guards the link from a run to its handle: the worker follows it on every poll while the
// owning thread may detach the run and delete the handle.
std::mutex& LinkLock() {
  static std::mutex lock;
  return lock;
}

uint32_t ThreadRoutine(void* argument) {
  Vlt_RunTread* run = static_cast<Vlt_RunTread*>(argument);
  run->SetIfTreadReady(false);
  run->TreadFunction();
  // The last touch: from here on the closing side may delete the run.
  run->SetIfTreadReady(true);
  return 0;
}

}  // namespace

Vlt_RunTread::Vlt_RunTread()
    : tread_(nullptr),
      ready_(false),
      threadHandle_(nullptr),
      threadId_(0),
      customPointer_(nullptr),
      exitRequested_(false),
      userData_(0) {}

Vlt_RunTread::~Vlt_RunTread() {
  if (void* handle = threadHandle_.exchange(nullptr)) vplat::closeThreadHandle(handle);
}

void Vlt_RunTread::TreadFunction() {}

void Vlt_RunTread::ExitThread() { exitRequested_ = true; }

bool Vlt_RunTread::GetIfExitThread() { return exitRequested_; }

void Vlt_RunTread::SetTreadClass(Vlt_Tread* t) {
  std::lock_guard<std::mutex> hold(LinkLock());
  tread_ = t;
}

bool Vlt_RunTread::GetIfTreadReady() { return ready_; }

void Vlt_RunTread::SetIfTreadReady(bool ready) {
  if (void* handle = threadHandle_.exchange(nullptr)) vplat::closeThreadHandle(handle);
  ready_ = ready;
}

bool Vlt_RunTread::CreateTread() {
  if (tread_ == nullptr) return false;
  // A started run is not ready, even if it was marked so before: the closing side must not
  // delete it under the new thread.
  ready_ = false;
  uint32_t id = 0;
  uint32_t error = 0;
  void* handle = vplat::createThread(ThreadRoutine, this, &id, &error);
  if (handle == nullptr) handle = vplat::createThread(ThreadRoutine, this, &id, &error);
  if (handle == nullptr) {
    if (globalEngine != nullptr)
      globalEngine->showErrorMessage_("Error thread not created : ", static_cast<int>(error));
    return false;
  }
  threadId_ = id;
  // The thread may already have passed its first SetIfTreadReady; then the handle is released
  // when it ends, or by the destructor.
  threadHandle_ = handle;
  return true;
}

void Vlt_RunTread::ForceTreadClose() {
  if (void* handle = threadHandle_.exchange(nullptr)) {
    vplat::terminateThread(handle, 1);
    vplat::closeThreadHandle(handle);
  }
  std::lock_guard<std::mutex> hold(LinkLock());
  tread_ = nullptr;
}

bool Vlt_RunTread::GetIfContinueTreadCalls() {
  std::lock_guard<std::mutex> hold(LinkLock());
  Vlt_Tread* t = tread_;
  return t != nullptr && t->GetIfKeepRunningTread();
}

void* Vlt_RunTread::GetCustomPointer() {
  return GetIfContinueTreadCalls() ? customPointer_.load() : nullptr;
}

void Vlt_RunTread::SetCustomPointer(void* p) { customPointer_ = p; }

uint32_t Vlt_RunTread::GetUserData() { return userData_; }
