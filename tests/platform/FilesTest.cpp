// Paths written the Windows way (as project files and the engine write them) must find the
// files on Linux, where names are case-sensitive and the separator is '/'.
#include <string>

#include "TestSupport.h"

namespace {

using vplat_test::IsWindows;
using vplat_test::ReadText;
using vplat_test::ScratchDir;
using vplat_test::WriteText;

TEST(NativePath, ResolvesSeparatorsAndCaseComponentByComponent) {
  if (IsWindows()) GTEST_SKIP() << "Windows paths are used as written";
  ScratchDir dir;
  WriteText(dir.path() / "Media" / "Textures" / "Wood.DDS", "x");
  WriteText(dir.path() / "Media" / "readme.txt", "x");
  const std::string root = dir.str();
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"/Media/Textures/Wood.DDS", "/Media/Textures/Wood.DDS"},
      {"/media/textures/wood.dds", "/Media/Textures/Wood.DDS"},
      {"\\MEDIA\\textures\\WOOD.dds", "/Media/Textures/Wood.DDS"},
      {"/media/TEXTURES/", "/Media/Textures/"},
      {"/media/./textures/../README.TXT", "/Media/./Textures/../readme.txt"},
      // Below a folder that does not exist nothing can match: the rest stays as written.
      {"/media/Missing/wood.dds", "/Media/Missing/wood.dds"},
      {"/media/textures/new.dds", "/Media/Textures/new.dds"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vplat::nativePath((root + c.input).c_str()), root + c.expected) << c.input;

  EXPECT_TRUE(vplat::fileExists((root + "\\media\\TEXTURES\\wood.dds").c_str()));
  EXPECT_TRUE(vplat::fileExists((root + "/MEDIA").c_str()));
  EXPECT_FALSE(vplat::fileExists((root + "/media/textures/stone.dds").c_str()));
}

TEST(AppendToFile, CreatesThenAppendsLineByLine) {
  ScratchDir dir;
  const std::string log = (dir.path() / "error.log").string();
  ASSERT_TRUE(vplat::appendToFile(log.c_str(), "first\r\n", 7));
  ASSERT_TRUE(vplat::appendToFile(log.c_str(), "second\r\n", 8));
  ASSERT_TRUE(vplat::appendToFile(log.c_str(), "", 0));
  EXPECT_EQ(ReadText(dir.path() / "error.log"), "first\r\nsecond\r\n");
  EXPECT_TRUE(vplat::fileExists(log.c_str()));

  const std::string nowhere = (dir.path() / "no-such-folder" / "error.log").string();
  EXPECT_FALSE(vplat::appendToFile(nowhere.c_str(), "x", 1));
  EXPECT_FALSE(vplat::fileExists(nowhere.c_str()));
}

TEST(ExecutableDir, IsTheFolderHoldingTheTestModules) {
  const std::string dir = vplat::executableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), vplat::pathSeparator());
  const std::string plug = dir + vplat::pathSeparator() + "platformtest" + vplat::pathSeparator() +
                           "channels" + vplat::pathSeparator() + "PlatformPlug." +
                           vplat::moduleExtension();
  EXPECT_TRUE(vplat::fileExists(plug.c_str())) << plug;
}

}  // namespace
