// Saving and loading a group file of 100,000 channels, each linked below its parent in a tree
// of fan-out 4, through the real file loader and saver plug-ins, in memory.
// Goals in a release build: load 2 million channels per second, save 4 million.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BaseChannelTypes.h"
#include "ChannelList.h"
#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "VltFileSaver.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "platform/Platform.h"

namespace {

constexpr int kChannels = 100000;
constexpr int kFanOut = 4;
constexpr GUID kBenchNodeType = {
    0xC1A5B2E4, 0x7F10, 0x4C3A, {0x9D, 0x2B, 0x5E, 0x6F, 0x7A, 0x8B, 0x9C, 0x01}};

void Register(EngineInterface* engine, const GUID& type, const char* fileName) {
  auto* item = new ChannelListItem();
  item->type.typeGuid = type;
  item->type.baseGuid = type;
  std::snprintf(item->fileName, sizeof(item->fileName), "%s", fileName);
  engine->GetExt()->GetChannelList()->AddItem(item);
}

// An engine that finds the base plug-ins and the bench node plug-in by name.
class BenchEngine {
 public:
  BenchEngine() {
    const std::string registry =
        (std::filesystem::temp_directory_path() / "vexilon-groupfile-bench.reg").string();
    vplat::setEnv("VEXILON_REGISTRY", registry.c_str());
    const std::string bin = vplat::executableDir();
    const char sep = vplat::pathSeparator();
    std::string path;
    vplat::getEnv("PATH", path);
    path = bin + sep + "channels" + vplat::pathListSeparator() + bin + sep + "benchinstall" + sep +
           "channels" + vplat::pathListSeparator() + path;
    vplat::setEnv("PATH", path.c_str());
    control_ = GetEngineControlInstance();
    char className[] = "Vexilon Bench";
    if (!control_->InitEngine(nullptr, className, nullptr)) return;
    engine_ = control_->GetEngineInterface();
    globalEngine = engine_;
    Register(engine_, VLT_FILELOADER_GUID, "FileLoader.dll");
    Register(engine_, VLT_FILESAVER_GUID, "FileSaver.dll");
    Register(engine_, kBenchNodeType, "C1A5B2E4-7F10-4C3A-9D2B-5E6F7A8B9C01.dll");
  }
  ~BenchEngine() { delete control_; }
  EngineInterface* engine() const { return engine_; }

 private:
  EngineControl* control_ = nullptr;
  EngineInterface* engine_ = nullptr;
};

// Channel i > 0 is a child of channel (i - 1) / 4.
bool BuildTree(EngineInterface* engine, Vlt_ChannelGroup* group) {
  std::vector<Vlt_Channel*> channels(kChannels);
  for (int i = 0; i < kChannels; ++i) {
    channels[i] = engine->InitChannelFromType(kBenchNodeType, group, false);
    if (channels[i] == nullptr) return false;
    channels[i]->SetChannelName("Node");
    if (i > 0) channels[(i - 1) / kFanOut]->SetChild(channels[i], -1, 0);
  }
  return true;
}

std::vector<uint8_t> SaveToMemory(EngineInterface* engine, Vlt_ChannelGroup* group) {
  VltFileSaver saver(engine);
  saver.OpenMemory();
  group->SaveChannelGroup(&saver);
  std::vector<uint8_t> bytes(saver.GetBuffer(), saver.GetBuffer() + saver.GetBufferSize());
  saver.CloseMemory();
  return bytes;
}

void BM_GroupFileSave(benchmark::State& state) {
  BenchEngine bench;
  if (bench.engine() == nullptr) return state.SkipWithError("InitEngine failed");
  auto group = std::make_unique<Vlt_ChannelGroup>(bench.engine());
  if (!BuildTree(bench.engine(), group.get())) return state.SkipWithError("no bench plug-in");
  size_t bytes = 0;
  for (auto _ : state) {
    VltFileSaver saver(bench.engine());
    saver.OpenMemory();
    if (!group->SaveChannelGroup(&saver)) return state.SkipWithError("save failed");
    bytes = saver.GetBufferSize();
    saver.CloseMemory();
  }
  state.SetItemsProcessed(state.iterations() * kChannels);
  state.counters["bytes"] = static_cast<double>(bytes);
  group.reset();
}

void BM_GroupFileLoad(benchmark::State& state) {
  BenchEngine bench;
  if (bench.engine() == nullptr) return state.SkipWithError("InitEngine failed");
  std::vector<uint8_t> file;
  {
    auto source = std::make_unique<Vlt_ChannelGroup>(bench.engine());
    if (!BuildTree(bench.engine(), source.get())) return state.SkipWithError("no bench plug-in");
    file = SaveToMemory(bench.engine(), source.get());
  }
  std::unique_ptr<Vlt_ChannelGroup> group;
  for (auto _ : state) {
    // Into a fresh group each time: releasing a loaded group before a load is a cost of its
    // own, which grows with the square of the channel count (every removal tells every other
    // channel), and is not what this measures.
    state.PauseTiming();
    group.reset();
    group = std::make_unique<Vlt_ChannelGroup>(bench.engine());
    state.ResumeTiming();
    if (!group->LoadChannelGroupFromBuffer("bench.cgr", static_cast<int>(file.size()), file.data(),
                                           false))
      return state.SkipWithError("load failed");
  }
  state.SetItemsProcessed(state.iterations() * kChannels);
  group.reset();
}

}  // namespace

BENCHMARK(BM_GroupFileSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupFileLoad)->Unit(benchmark::kMillisecond);
