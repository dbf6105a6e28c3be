// A host program as a viewer is one: it loads the engine library at run time, resolves the two
// plain exports and drives the engine only through virtual operations and inline accessors, in
// the order hosts must follow. It runs the good test plug-in as the start channel.
//
// Usage: TestHost [passes]. The engine is found beside the program, the test plug-ins in its
// testinstall folder. Prints what it saw; exits with 0 only when every step did what it should.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestGoodChannel.h"
#include "TestPluginTypes.h"
#include "Vlt_ChannelGroup.h"
#include "platform/Platform.h"

namespace {

int Fail(const char* what) {
  std::printf("failed: %s\n", what);
  return 1;
}

// Everything between creating and deleting the EngineControl.
int Run(EngineControl* control, const std::string& installDir, int passes) {
  control->SetInstallDir(installDir.c_str());
  control->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\TestHost");
  char className[] = "Vexilon Test Host";
  if (!control->InitEngine(nullptr, className, nullptr)) return Fail("InitEngine");

  // Instead of a project: a start group whose start channel is created from its library file.
  EngineInterface* engine = control->GetEngineInterface();
  if (engine == nullptr) return Fail("GetEngineInterface");
  Vlt_ChannelGroup* group = engine->CreateNewGroup("TestHostStart", false, 0);
  if (group == nullptr) return Fail("CreateNewGroup");
  Vlt_Channel* start = engine->GetExt()->CreateChannelFromDLL(testplugins::kGoodFile, group, true);
  if (start == nullptr) return Fail("CreateChannelFromDLL");
  engine->GetExt()->SetStartGroup(group->GetGroupIndex());

  for (int i = 0; i < passes; ++i) {
    control->ProcessWindowMessage(nullptr, 0x0113, 1, 0);  // a timer message per frame
    control->EngineLoop();
  }
  auto* good = static_cast<TestGoodChannel*>(start);
  std::printf("passes %d\n", passes);
  std::printf("frame counter %d\n", engine->GetTreeCalculateCount());
  std::printf("start channel calls %d\n", good->calls);
  std::printf("event 0 dispatches %d\n", good->events[0]);
  if (good->calls != passes || good->events[0] != passes ||
      engine->GetTreeCalculateCount() != passes)
    return Fail("one call and one event 0 per pass");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int passes = argc > 1 ? std::atoi(argv[1]) : 100;
  const std::string dir = vplat::executableDir();
  const std::string enginePath =
      dir + vplat::pathSeparator() + "Vexilon." + vplat::moduleExtension();

  vplat::ModuleHandle library = vplat::loadModule(enginePath.c_str());
  if (library == nullptr) {
    std::printf("cannot load %s: %s\n", enginePath.c_str(), vplat::lastErrorText());
    return 1;
  }
  auto getControl = reinterpret_cast<GetEngineControlInstanceFn>(
      vplat::findExport(library, "GetEngineControlInstance"));
  auto getVersion =
      reinterpret_cast<GetEngineVersionFn>(vplat::findExport(library, "GetEngineVersion"));
  if (getControl == nullptr || getVersion == nullptr) return Fail("resolving the exports");
  std::printf("engine version %d\n", getVersion());

  EngineControl* control = getControl();
  if (control == nullptr) return Fail("GetEngineControlInstance");
  int result = Run(control, dir + vplat::pathSeparator() + "testinstall", passes);
  delete control;  // the shutdown; nothing of the engine may be used afterwards
  vplat::freeModule(library);
  if (result == 0) std::printf("shut down\n");
  return result;
}
