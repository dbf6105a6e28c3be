// Builds the sample project through the engine's own API: a start group holding the example
// clock (which brings its pass rate channel along), saved as a group file, and a compressed
// project file naming that group and the two example channel types.
//
// Usage: MakeSample INSTALL_DIR OUTPUT_DIR. INSTALL_DIR holds channels/ with the base and the
// example plug-ins. Writes OUTPUT_DIR/Sample.cgr and OUTPUT_DIR/Sample.lmr; exits with 0 when
// both are written.
#include <cstdio>
#include <string>

#include "../plugins/ExampleTypes.h"
#include "Vexilon.h"
#include "platform/Platform.h"

namespace {

const char* const kGroupFile = "Sample.cgr";
const char* const kProjectFile = "Sample.lmr";
// The editor version the project says it was saved with.
constexpr int32_t kEditorVersion = 1;

void SaveInt(VltFileSaver& saver, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                            static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  saver.SaveDataToFile(bytes, 4);
}

void SaveIntBlock(VltFileSaver& saver, const char* tag, int32_t value) {
  saver.SaveTag(tag);
  saver.SaveBlockSize(4);
  SaveInt(saver, value);
}

void SaveTextBlock(VltFileSaver& saver, const char* tag, const char* text) {
  const auto size = static_cast<uint32_t>(std::string(text).size() + 1);
  saver.SaveTag(tag);
  saver.SaveBlockSize(size);
  saver.SaveDataToFile(text, size);
}

// One dependency entry: the type, its installed version as the minimum, its library's checksum.
bool SaveDependency(VltFileSaver& saver, EngineInterface* engine, const GUID& type) {
  ChannelList* list = engine->GetExt()->GetChannelList();
  ChannelListItem* item = list->GetItem(type);
  if (item == nullptr) return false;
  const std::string library = std::string(engine->GetInstallDir()) + vplat::pathSeparator() +
                              "channels" + vplat::pathSeparator() + item->fileName;
  VltFileLoader loader(engine);
  if (!loader.LoadFile(library.c_str())) return false;

  uint8_t guid[16];
  guid[0] = static_cast<uint8_t>(type.Data1);
  guid[1] = static_cast<uint8_t>(type.Data1 >> 8);
  guid[2] = static_cast<uint8_t>(type.Data1 >> 16);
  guid[3] = static_cast<uint8_t>(type.Data1 >> 24);
  guid[4] = static_cast<uint8_t>(type.Data2);
  guid[5] = static_cast<uint8_t>(type.Data2 >> 8);
  guid[6] = static_cast<uint8_t>(type.Data3);
  guid[7] = static_cast<uint8_t>(type.Data3 >> 8);
  for (int i = 0; i < 8; ++i) guid[8 + i] = type.Data4[i];
  saver.SaveTag("LNDB");
  saver.SaveBlockSize(16);
  saver.SaveDataToFile(guid, 16);
  saver.SaveBlockSize(12);
  for (int32_t word : item->type.version) SaveInt(saver, word);
  saver.SaveBlockSize(4);
  SaveInt(saver, loader.GetCRC());
  return true;
}

int Fail(const char* what) {
  std::fprintf(stderr, "MakeSample: %s\n", what);
  return 1;
}

int Make(EngineControl* control, const std::string& outDir) {
  EngineInterface* engine = control->GetEngineInterface();
  const std::string groupPath = outDir + vplat::pathSeparator() + kGroupFile;
  const std::string projectPath = outDir + vplat::pathSeparator() + kProjectFile;

  Vlt_ChannelGroup* group = engine->CreateNewGroup("Sample", false, 0);
  if (group == nullptr) return Fail("no group");
  Vlt_Channel* clock = engine->InitChannelFromType(EXAMPLE_CLOCK_GUID, group, true);
  if (clock == nullptr) return Fail("the clock plug-in is not installed");
  group->SetStartChannel(clock->GetChannelIDIndexNr());
  if (!group->SaveChannelGroup(groupPath.c_str())) return Fail("the group file was not written");

  VltFileSaver body(engine);
  body.OpenMemory();
  SaveIntBlock(body, "LSPT", kEditorVersion);
  SaveTextBlock(body, "LSGR", kGroupFile);
  SaveIntBlock(body, "LHPV", GetEngineVersion());
  SaveIntBlock(body, "LDDC", 2);
  if (!SaveDependency(body, engine, EXAMPLE_CLOCK_GUID) ||
      !SaveDependency(body, engine, EXAMPLE_PASSRATE_GUID))
    return Fail("an example plug-in is not installed");
  SaveIntBlock(body, "LDGC", 0);

  Vlt_Channel* channel =
      engine->InitChannelFromType(VLT_COMPRESSION_TRANSLATOR_GUID, nullptr, false);
  if (channel == nullptr) return Fail("the compression translator is not installed");
  auto* translator = static_cast<Vco_TranslatorChannel*>(channel);
  VltFileSaver file(engine);
  bool written = file.OpenSaveFile(projectPath.c_str(), false) &&
                 translator->WrapData(body.GetBuffer(), body.GetBufferSize(), &file);
  written = file.CloseSaveFile() && written;
  body.CloseMemory();
  delete channel;
  if (!written) return Fail("the project file was not written");
  std::printf("MakeSample: wrote %s and %s\n", groupPath.c_str(), projectPath.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: MakeSample INSTALL_DIR OUTPUT_DIR\n");
    return 2;
  }
  EngineControl* control = GetEngineControlInstance();
  if (control == nullptr) return Fail("no engine");
  control->SetInstallDir(argv[1]);
  control->SetLumenarRegKey("SOFTWARE\\Vexilon\\Sample Generator");
  char className[] = "Vexilon Sample Generator";
  int result = 1;
  if (control->InitEngine(nullptr, className, nullptr))
    result = Make(control, argv[2]);
  else
    Fail("the engine could not be started");
  delete control;
  return result;
}
