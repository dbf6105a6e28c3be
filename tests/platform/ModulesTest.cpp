// Loading plug-ins the way the engine does: by bare name through PATH (with the plug-in's
// support library in a "3rd" folder that only PATH names), or by a path written the Windows way.
#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace {

using vplat_test::EnvOverride;
using vplat_test::IsWindows;

using PlugValueFn = int (*)(int);

std::string TestRoot() { return vplat::executableDir() + vplat::pathSeparator() + "platformtest"; }

std::string Folder(const char* sub) { return TestRoot() + vplat::pathSeparator() + sub; }

// PATH as the engine sets it up: the channels and 3rd folders in front of what was there.
class ModulesTest : public ::testing::Test {
 protected:
  static std::string EnginePath() {
    std::string old;
    vplat::getEnv("PATH", old);
    const char sep = vplat::pathListSeparator();
    return Folder("channels") + sep + Folder("3rd") + sep + old;
  }
  EnvOverride path_{"PATH", EnginePath().c_str()};
};

struct LoadCase {
  const char* label;
  std::string name;
};

TEST_F(ModulesTest, LoadsPlugInAndItsSupportLibraryUnderEveryNamingTheEngineUses) {
  const std::string ext = vplat::moduleExtension();
  const std::string root = vplat::executableDir();
  const LoadCase cases[] = {
      {"bare name", "PlatformPlug." + ext},
      {"bare name, other case, Windows ending", "platformplug.DLL"},
      {"path with backslashes, other case", root + "\\PLATFORMTEST\\Channels\\platformplug.dll"},
      {"path with slashes", root + "/platformtest/channels/PlatformPlug." + ext},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.label);
    vplat::ModuleHandle h = vplat::loadModule(c.name.c_str());
    ASSERT_NE(h, nullptr) << c.name << ": " << vplat::lastErrorCode() << " "
                          << vplat::lastErrorText();
    EXPECT_EQ(vplat::lastErrorCode(), 0u);

    auto fn = reinterpret_cast<PlugValueFn>(vplat::findExport(h, "PlatformPlugValue"));
    ASSERT_NE(fn, nullptr) << vplat::lastErrorText();
    // The plug-in's answer goes through the support library: (2 * 3 + 1) + 1000.
    EXPECT_EQ(fn(2), 1007);

    EXPECT_EQ(vplat::findExport(h, "PlatformPlugValueMissing"), nullptr);
    EXPECT_EQ(vplat::lastErrorCode(), 127u);
    EXPECT_STRNE(vplat::lastErrorText(), "");
    vplat::freeModule(h);
  }
}

TEST_F(ModulesTest, FailuresGiveNullAndTellWhy) {
  vplat_test::ScratchDir scratch;
  const std::string ext = vplat::moduleExtension();
  // A file with the right name that is no module at all.
  const std::string broken = scratch.str() + vplat::pathSeparator() + "Broken." + ext;
  vplat_test::WriteText(broken, "this is not a module");

  struct FailCase {
    const char* label;
    std::string name;
    uint32_t code;
  };
  // Windows answers "module not found" (126) for a missing file too.
  const uint32_t missing = IsWindows() ? 126u : 2u;
  const FailCase cases[] = {
      {"missing bare name", "NoSuchModuleAnywhere." + ext, missing},
      {"missing path", Folder("channels") + vplat::pathSeparator() + "Nope.dll", missing},
      {"support library not on PATH", "PlatformOrphan." + ext, 126u},
      {"not a module", broken, 193u},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(vplat::loadModule(c.name.c_str()), nullptr);
    EXPECT_EQ(vplat::lastErrorCode(), c.code) << vplat::lastErrorText();
    EXPECT_STRNE(vplat::lastErrorText(), "");
  }
}

// Folder listings may be kept from one load to the next. A module renamed after its folder was
// listed, with the folder's modification time put back so that only its change time tells,
// must be found under its new name and no longer under its old one.
TEST_F(ModulesTest, FindsAModuleRenamedAfterItsFolderWasSearched) {
  namespace fs = std::filesystem;
  vplat_test::ScratchDir scratch;
  const std::string ext = vplat::moduleExtension();
  fs::copy_file(fs::path(Folder("channels")) / ("PlatformPlug." + ext),
                scratch.path() / ("CachePlug." + ext));
  std::string path;
  vplat::getEnv("PATH", path);
  path = scratch.str() + vplat::pathListSeparator() + path;
  EnvOverride onPath("PATH", path.c_str());
  // Only a folder that has been still for a moment is worth keeping a listing of.
  vplat::sleepMs(2500);

  auto loads = [](const char* name) {
    vplat::ModuleHandle h = vplat::loadModule(name);
    if (h != nullptr) vplat::freeModule(h);
    return h != nullptr;
  };
  EXPECT_TRUE(loads("cacheplug.DLL")) << vplat::lastErrorText();
  const fs::file_time_type stamp = fs::last_write_time(scratch.path());
  fs::rename(scratch.path() / ("CachePlug." + ext), scratch.path() / ("MovedPlug." + ext));
  // Windows file systems may refuse a folder's time; the system searches there itself anyway.
  std::error_code ignored;
  fs::last_write_time(scratch.path(), stamp, ignored);
  EXPECT_TRUE(loads("movedplug.dll")) << vplat::lastErrorText();
  EXPECT_FALSE(loads("cacheplug.dll"));
}

}  // namespace
