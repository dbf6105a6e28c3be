#include "LumenViewer.h"

#include <chrono>
#include <thread>

#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "platform/Platform.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDebugLines = 10;
// The class name the engine knows this host by.
char kClassName[] = "Lumenar Viewer";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

LumenViewer::LumenViewer(const ViewerOptions& options, std::FILE* out)
    : options_(options), out_(out), terminal_(false), shownLines_(0) {}

int LumenViewer::Run() {
  const std::string programDir = vplat::executableDir();
  if (options_.installDir.empty()) options_.installDir = programDir;
  // Only the standard output itself counts: a copy of it written elsewhere is no terminal.
  terminal_ = out_ == stdout && vplat::isTerminal(1);

  // The engine core ships beside the viewer.
  const std::string enginePath =
      programDir + vplat::pathSeparator() + "Vexilon." + vplat::moduleExtension();
  vplat::ModuleHandle library = vplat::loadModule(enginePath.c_str());
  if (library == nullptr) {
    std::fprintf(stderr, "LumenViewer: cannot load the engine %s: %s\n", enginePath.c_str(),
                 vplat::lastErrorText());
    return kViewerEngineFailed;
  }
  auto getControl = reinterpret_cast<GetEngineControlInstanceFn>(
      vplat::findExport(library, "GetEngineControlInstance"));
  EngineControl* control = getControl != nullptr ? getControl() : nullptr;
  if (control == nullptr) {
    std::fprintf(stderr, "LumenViewer: %s offers no engine\n", enginePath.c_str());
    vplat::freeModule(library);
    return kViewerEngineFailed;
  }
  const int result = RunEngine(control);
  // The shutdown: groups go, the registry cache is written, plug-ins are freed.
  delete control;
  vplat::freeModule(library);
  return result;
}

int LumenViewer::RunEngine(EngineControl* control) {
  control->SetInstallDir(options_.installDir.c_str());
  control->SetLumenarRegKey(options_.regKey.c_str());
  if (!options_.project.empty()) {
    std::string project = options_.project;
    control->SetCommandLine(project.data());
  }
  if (!control->InitEngine(nullptr, kClassName, nullptr)) {
    std::fprintf(stderr, "LumenViewer: the engine could not be started\n");
    return kViewerEngineFailed;
  }
  const int loaded = control->LoadProject();
  if (loaded != 0) {
    std::fprintf(stderr, "LumenViewer: the project did not load (result %d)\n", loaded);
    return loaded;
  }
  RunLoop(control);
  return 0;
}

void LumenViewer::RunLoop(EngineControl* control) {
  vplat::watchInterrupt();
  const Clock::time_point start = Clock::now();
  Clock::time_point nextShow = start + std::chrono::seconds(1);
  const Clock::duration framePeriod = options_.fps > 0
                                          ? std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(1.0 / options_.fps))
                                          : Clock::duration::zero();
  Clock::time_point nextFrame = start;
  long long passes = 0;

  while (!vplat::interruptRequested() && (options_.frames < 0 || passes < options_.frames)) {
    if (options_.fps > 0) {
      const Clock::time_point now = Clock::now();
      if (now < nextFrame) std::this_thread::sleep_for(nextFrame - now);
      // A late pass does not make the next ones hurry to catch up.
      nextFrame = std::max(nextFrame + framePeriod, Clock::now());
    }
    const Clock::time_point before = Clock::now();
    control->EngineLoop();
    const Clock::time_point after = Clock::now();
    statistics_.Add(Seconds(after - before));
    ++passes;
    if (terminal_ && after >= nextShow) {
      ShowDebugLines(control, false);
      nextShow = after + std::chrono::seconds(1);
    }
  }
  const double elapsed = Seconds(Clock::now() - start);
  if (vplat::interruptRequested()) std::fprintf(out_, "Interrupted after %lld passes\n", passes);
  ShowDebugLines(control, true);
  if (options_.stats) ShowStatistics(elapsed);
  std::fflush(out_);
}

void LumenViewer::ShowDebugLines(EngineControl* control, bool final) {
  EngineInterface* engine = control->GetEngineInterface();
  if (engine == nullptr) return;
  EngineInterfaceExt* ext = engine->GetExt();
  // Back over the previous block, each line cleared before it is written again.
  if (terminal_ && shownLines_ > 0) std::fprintf(out_, "\x1b[%dA", shownLines_);
  std::fprintf(out_, "%sDebug lines%s\n", terminal_ ? "\x1b[2K" : "", final ? "" : ":");
  for (int i = 0; i < kDebugLines; ++i) {
    const char* text = ext->GetDebug(i);
    std::fprintf(out_, "%s  %d: %s\n", terminal_ ? "\x1b[2K" : "", i, text != nullptr ? text : "");
  }
  shownLines_ = final ? 0 : kDebugLines + 1;
  std::fflush(out_);
}

void LumenViewer::ShowStatistics(double elapsed) {
  const uint64_t passes = statistics_.Count();
  std::fprintf(out_, "Passes: %llu in %.3f s, %.1f passes per second\n",
               static_cast<unsigned long long>(passes), elapsed,
               elapsed > 0 ? static_cast<double>(passes) / elapsed : 0.0);
  std::fprintf(out_, "Pass time: p50 %.1f us, p90 %.1f us, p99 %.1f us, max %.1f us\n",
               statistics_.Percentile(0.50) * 1e6, statistics_.Percentile(0.90) * 1e6,
               statistics_.Percentile(0.99) * 1e6, statistics_.Max() * 1e6);
}
