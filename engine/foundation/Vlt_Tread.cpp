#include "Vlt_Tread.h"

#include "DebugOutPut.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Vlt_RunTread.h"
#include "platform/Platform.h"

namespace {

std::atomic<uint32_t> closeWaitMs{30000};
constexpr uint32_t kPollMs = 10;

}  // namespace

void Vlt_Tread::SetCloseWaitMs(uint32_t ms) { closeWaitMs = ms; }

uint32_t Vlt_Tread::GetCloseWaitMs() { return closeWaitMs; }

Vlt_Tread::Vlt_Tread() : Vlt_Tread(globalEngine) {}

Vlt_Tread::Vlt_Tread(EngineInterface* engine)
    : run_(nullptr), running_(false), engine_(engine), keepRunning_(false), classID_(-1) {}

// A run still attached here is either finished (it can go) or still working. A working run is
// never deleted under its thread: it is detached, so that its polls answer "stop" instead of
// reading this handle after it is gone, and left to its thread.
Vlt_Tread::~Vlt_Tread() {
  keepRunning_ = false;
  running_ = false;
  Vlt_RunTread* run = run_.exchange(nullptr);
  if (run == nullptr) return;
  if (engine_ != nullptr) {
    engine_->showErrorMessage_(
        "Vlt_Tread::~Vlt_Tread ForceTreadClose something is wrong in the thread");
  } else {
    run->ForceTreadClose();
  }
  run->SetTreadClass(nullptr);
  if (run->GetIfTreadReady()) delete run;
}

bool Vlt_Tread::StartTread(Vlt_RunTread* run) {
  if (run == nullptr) return false;
  // One run per handle: a second one would leave the first working without a way to stop it.
  if (run_ != nullptr) return false;
  run_ = run;
  run->SetTreadClass(this);
  running_ = true;
  keepRunning_ = true;
  if (!run->CreateTread()) {
    running_ = false;
    keepRunning_ = false;
    return false;
  }
  return true;
}

void Vlt_Tread::CloseTread() {
  for (;;) {
    keepRunning_ = false;
    Vlt_RunTread* run = run_;
    if (run == nullptr) return;

    if (run->GetIfTreadReady()) {
      run_ = nullptr;
      delete run;
      running_ = false;
      // The engine deletes this handle here: nothing may touch it afterwards.
      if (engine_ != nullptr && engine_->GetExt() != nullptr) engine_->GetExt()->KillTread(this);
      return;
    }

    // The worker's messages must not interleave with the wait.
    if (debugOutPut != nullptr) debugOutPut->SetUseDebug(false);
    run->ExitThread();
    const uint32_t limit = closeWaitMs;
    const uint32_t start = vplat::tickCount();
    bool ready = run->GetIfTreadReady();
    while (!ready && vplat::tickCount() - start <= limit) {
      vplat::sleepMs(kPollMs);
      ready = run->GetIfTreadReady();
    }
    if (debugOutPut != nullptr) debugOutPut->SetUseDebug(true);

    if (!ready) {
      if (engine_ != nullptr) engine_->showErrorMessage_("Thread is not responding");
      return;
    }
  }
}

void Vlt_Tread::ExitThread() {
  if (Vlt_RunTread* run = run_) run->ExitThread();
}

bool Vlt_Tread::GetIfTreadRunning() { return running_; }

bool Vlt_Tread::GetIfKeepRunningTread() { return keepRunning_; }

int Vlt_Tread::GetClassID() { return classID_; }

void Vlt_Tread::SetClassID(int id) { classID_ = id; }
