#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Vlt_RunTread.h"
#include "Vlt_Tread.h"
#include "foundation/EngineFixture.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace {

constexpr const char* kNotResponding = "Thread is not responding";
constexpr const char* kDestructorMessage =
    "Vlt_Tread::~Vlt_Tread ForceTreadClose something is wrong in the thread";

// Polls until the condition holds or about five seconds have passed.
bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    vplat::sleepMs(5);
  }
  return condition();
}

// What the worker did, kept outside the run so that it can be read after the run is deleted.
struct Trace {
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  std::atomic<bool> deleted{false};
  std::atomic<bool> release{false};  // lets a worker that ignores stop requests end
  std::atomic<void*> storedPointerAtEnd{nullptr};
  std::atomic<uint32_t> threadId{0};
};

enum class Work { ReturnAtOnce, PollContinue, PollExit, PollCustomPointer, IgnoreStop };

class TestRun : public Vlt_RunTread {
 public:
  TestRun(Work work, Trace& trace) : work_(work), trace_(trace) {}
  ~TestRun() override { trace_.deleted = true; }

  void TreadFunction() override {
    trace_.threadId = vplat::currentThreadId();
    trace_.started = true;
    switch (work_) {
      case Work::ReturnAtOnce:
        break;
      case Work::PollContinue:
        while (GetIfContinueTreadCalls()) vplat::sleepMs(2);
        break;
      case Work::PollExit:
        while (!GetIfExitThread()) vplat::sleepMs(2);
        break;
      case Work::PollCustomPointer:
        while (GetCustomPointer() != nullptr) vplat::sleepMs(2);
        trace_.storedPointerAtEnd = customPointer_.load();
        break;
      case Work::IgnoreStop:
        while (!trace_.release) vplat::sleepMs(2);
        break;
    }
    trace_.finished = true;
  }

  uint32_t StoredThreadId() const { return threadId_; }

 private:
  Work work_;
  Trace& trace_;
};

class TreadTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    ext_ = engine_->GetExt();
    // A worker that fails to stop must not hold a test for the full 30 seconds.
    Vlt_Tread::SetCloseWaitMs(5000);
  }
  void TearDown() override {
    Vlt_Tread::SetCloseWaitMs(30000);
    EngineFixture::TearDown();
  }

  // An engine handle running a new TestRun.
  Vlt_Tread* Start(Work work, Trace& trace, TestRun** runOut = nullptr) {
    Vlt_Tread* thread = ext_->GetNewTread();
    if (thread == nullptr) return nullptr;
    TestRun* run = new TestRun(work, trace);
    if (runOut != nullptr) *runOut = run;
    if (!thread->StartTread(run)) return nullptr;
    return thread;
  }

  int Count(const char* text) const {
    int n = 0;
    for (const auto& m : recorder_.messages) n += m.text == text ? 1 : 0;
    return n;
  }

  MessageRecorder recorder_;
  EngineInterfaceExt* ext_ = nullptr;
};

TEST_F(TreadTest, HandlesTakeTheFirstFreeEntryAsTheirId) {
  Vlt_Tread* a = ext_->GetNewTread();
  Vlt_Tread* b = ext_->GetNewTread();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->GetClassID(), 0);
  EXPECT_EQ(b->GetClassID(), 1);
  EXPECT_EQ(ext_->GetTreadFromID(1), b);
  EXPECT_EQ(ext_->GetTreadFromID(2), nullptr);
  EXPECT_EQ(ext_->GetTreadFromID(-1), nullptr);
  EXPECT_FALSE(a->GetIfTreadRunning());
  EXPECT_FALSE(a->StartTread(nullptr));

  // An idle handle is deleted at once; its entry is taken by the next one.
  ext_->KillTread(a);
  EXPECT_EQ(ext_->GetTreadFromID(0), nullptr);
  Vlt_Tread* c = ext_->GetNewTread();
  EXPECT_EQ(c->GetClassID(), 0);
  EXPECT_EQ(ext_->GetTreadFromID(0), c);
}

// Work that has finished, or that stops when asked: the close deletes the run and hands the
// handle back to the engine, which empties its entry.
TEST_F(TreadTest, CloseOfWorkThatStopsDeletesRunAndHandle) {
  const Work works[] = {Work::ReturnAtOnce, Work::PollContinue, Work::PollExit};
  for (Work work : works) {
    SCOPED_TRACE(static_cast<int>(work));
    Trace trace;
    TestRun* run = nullptr;
    Vlt_Tread* thread = Start(work, trace, &run);
    ASSERT_NE(thread, nullptr);
    const int id = thread->GetClassID();
    EXPECT_TRUE(thread->GetIfTreadRunning());
    EXPECT_TRUE(thread->GetIfKeepRunningTread());
    ASSERT_TRUE(WaitFor([&] { return trace.started.load(); }));
    EXPECT_EQ(run->StoredThreadId(), trace.threadId.load());
    if (work == Work::ReturnAtOnce) {
      ASSERT_TRUE(WaitFor([&] { return run->GetIfTreadReady(); }));
    }

    thread->CloseTread();
    EXPECT_TRUE(trace.finished);
    EXPECT_TRUE(trace.deleted);
    EXPECT_EQ(ext_->GetTreadFromID(id), nullptr);
    EXPECT_EQ(Count(kNotResponding), 0);
  }
}

TEST_F(TreadTest, CustomPointerTurnsNullWhenTheCloseClearsKeepRunning) {
  Trace trace;
  TestRun* run = nullptr;
  Vlt_Tread* thread = ext_->GetNewTread();
  run = new TestRun(Work::PollCustomPointer, trace);
  int marker = 0;
  run->SetCustomPointer(&marker);
  EXPECT_EQ(run->GetCustomPointer(), nullptr);  // not attached yet: no keep-running
  ASSERT_TRUE(thread->StartTread(run));
  ASSERT_TRUE(WaitFor([&] { return trace.started.load(); }));
  EXPECT_EQ(run->GetCustomPointer(), &marker);

  thread->CloseTread();
  EXPECT_TRUE(trace.deleted);
  EXPECT_EQ(trace.storedPointerAtEnd.load(), &marker);  // still stored, no longer handed out
  EXPECT_EQ(Count(kNotResponding), 0);
}

// A worker that ignores the stop request: the close gives up, reports, and keeps the handle in
// the engine's list with the run attached. Once the work ends, a second close completes.
TEST_F(TreadTest, CloseGivesUpOnAWorkerThatDoesNotRespond) {
  Vlt_Tread::SetCloseWaitMs(50);
  Trace trace;
  TestRun* run = nullptr;
  Vlt_Tread* thread = Start(Work::IgnoreStop, trace, &run);
  ASSERT_NE(thread, nullptr);
  const int id = thread->GetClassID();
  ASSERT_TRUE(WaitFor([&] { return trace.started.load(); }));

  thread->CloseTread();
  EXPECT_EQ(Count(kNotResponding), 1);
  EXPECT_EQ(ext_->GetTreadFromID(id), thread);
  EXPECT_TRUE(thread->GetIfTreadRunning());
  EXPECT_FALSE(thread->GetIfKeepRunningTread());
  EXPECT_TRUE(run->GetIfExitThread());
  EXPECT_FALSE(trace.deleted);

  // KillTread on a running handle only closes it: still stuck, still listed.
  ext_->KillTread(thread);
  EXPECT_EQ(Count(kNotResponding), 2);
  EXPECT_EQ(ext_->GetTreadFromID(id), thread);

  trace.release = true;
  ASSERT_TRUE(WaitFor([&] { return run->GetIfTreadReady(); }));
  ext_->KillTread(thread);
  EXPECT_TRUE(trace.deleted);
  EXPECT_EQ(ext_->GetTreadFromID(id), nullptr);
}

// Release asks every worker to exit and closes every handle; one that is stuck is deleted with
// the destructor's report, and its run is left to its thread, detached from the freed handle.
TEST_F(TreadTest, ReleaseClosesWorkersAndReportsAStuckOne) {
  Vlt_Tread::SetCloseWaitMs(50);
  Trace polite, stuck;
  TestRun* stuckRun = nullptr;
  ASSERT_NE(Start(Work::PollExit, polite), nullptr);
  ASSERT_NE(Start(Work::IgnoreStop, stuck, &stuckRun), nullptr);
  ASSERT_TRUE(WaitFor([&] { return polite.started && stuck.started; }));

  ext_->Release();
  EXPECT_TRUE(polite.deleted);
  EXPECT_FALSE(stuck.deleted);
  EXPECT_EQ(Count(kNotResponding), 1);
  EXPECT_EQ(Count(kDestructorMessage), 1);
  EXPECT_EQ(ext_->GetTreadFromID(0), nullptr);
  EXPECT_EQ(ext_->GetTreadFromID(1), nullptr);
  EXPECT_FALSE(stuckRun->GetIfContinueTreadCalls());

  stuck.release = true;
  ASSERT_TRUE(WaitFor([&] { return stuckRun->GetIfTreadReady(); }));
  delete stuckRun;
}

// A handle without an engine, destroyed while its work runs: the run is detached, so its
// polls answer "stop" rather than reading the freed handle.
TEST_F(TreadTest, DestroyingAHandleWithoutEngineDetachesTheRun) {
  Trace trace;
  Vlt_Tread* thread = new Vlt_Tread(nullptr);
  TestRun* run = new TestRun(Work::PollContinue, trace);
  ASSERT_TRUE(thread->StartTread(run));
  ASSERT_TRUE(WaitFor([&] { return trace.started.load(); }));
  delete thread;
  EXPECT_EQ(Count(kDestructorMessage), 0);
#if !defined(_WIN32)
  // On Windows the thread may have been terminated instead, if it still held its handle.
  EXPECT_TRUE(WaitFor([&] { return run->GetIfTreadReady(); }));
#else
  WaitFor([&] { return run->GetIfTreadReady(); });
#endif
  EXPECT_FALSE(trace.deleted);
  delete run;
}

TEST_F(TreadTest, RunWithoutHandleCannotStartAndCloseOfIdleHandleKeepsIt) {
  Trace trace;
  TestRun run(Work::ReturnAtOnce, trace);
  EXPECT_FALSE(run.CreateTread());
  EXPECT_FALSE(run.GetIfContinueTreadCalls());
  EXPECT_FALSE(trace.started);

  Vlt_Tread* thread = ext_->GetNewTread();
  const int id = thread->GetClassID();
  thread->CloseTread();
  EXPECT_EQ(ext_->GetTreadFromID(id), thread);
  thread->ExitThread();  // nothing attached: nothing to ask
}

}  // namespace
