// Engine start with 200 plug-in libraries in the channels folder: cold (no channels.lst, every
// library is probed) and cached (channels.lst lists them all, none is probed).
// Goal: a cached start under 2 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "platform/Platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPlugins = 200;

// An install folder with the file plug-ins and 200 copies of the test plug-in, made once.
// Empty when the plug-ins have not been built.
const fs::path& Install() {
  static fs::path install = [] {
    const std::string ext = std::string(".") + vplat::moduleExtension();
    const fs::path bin = vplat::executableDir();
    const fs::path good =
        bin / "testinstall" / "channels" / ("A1B2C3D4-0001-4E00-8000-000000000001" + ext);
    const fs::path dir = fs::temp_directory_path() / "vexilon-bench-start";
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "channels", ec);
    for (const char* base : {"FileLoader", "FileSaver", "Directory"}) {
      fs::copy_file(bin / "channels" / (std::string(base) + ext),
                    dir / "channels" / (std::string(base) + ext), ec);
      if (ec) return fs::path();
    }
    for (int i = 0; i < kPlugins; ++i) {
      char name[64];
      std::snprintf(name, sizeof(name), "B0000000-0000-4000-8000-%012d", i);
      fs::copy_file(good, dir / "channels" / (name + ext), ec);
      if (ec) return fs::path();
    }
    const std::string registry = (dir / "registry.reg").string();
    vplat::setEnv("VEXILON_REGISTRY", registry.c_str());
    return dir;
  }();
  return install;
}

std::unique_ptr<EngineInterface> StartEngine() {
  auto engine = std::make_unique<EngineInterface>();
  engine->GetExt()->SetInstallDir(Install().string().c_str());
  engine->GetExt()->SetLumenarRegKey("SOFTWARE\\Vexilon Bench\\Start");
  engine->GetExt()->InitEngine(nullptr, "Vexilon Bench");
  return engine;
}

void Run(benchmark::State& state, bool cached) {
  if (Install().empty()) {
    state.SkipWithError("build the base channels and the test plug-ins first");
    return;
  }
  const fs::path cache = Install() / "channels.lst";
  StartEngine().reset();  // leaves a complete cache behind
  int listed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!cached) fs::remove(cache);
    vplat::setEnv("VEXILON_TEST_LOG", "");  // the test plug-in logs every unload
    state.ResumeTiming();
    std::unique_ptr<EngineInterface> engine = StartEngine();
    state.PauseTiming();
    listed = engine->GetExt()->GetChannelList()->GetItemCount();
    engine.reset();  // writes channels.lst
    state.ResumeTiming();
  }
  state.counters["listed"] = listed;
}

void BM_EngineStartCold(benchmark::State& state) { Run(state, false); }
void BM_EngineStartCached(benchmark::State& state) { Run(state, true); }

}  // namespace

BENCHMARK(BM_EngineStartCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineStartCached)->Unit(benchmark::kMillisecond);
