// The directory lister as the registry scan uses it, and the base plug-ins found under the
// names the engine asks for.
#include <algorithm>
#include <cctype>

#include "FilesFixture.h"

namespace {

using filestest::FilesTest;
using filestest::WriteAll;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Listed(Vco_DirectoryChannel* lister) {
  std::vector<std::string> names;
  for (int i = 0; i < lister->GetTotalFiles(); ++i) names.push_back(lister->GetFileName(i));
  return names;
}

class DirectoryTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    const std::string sep(1, vplat::pathSeparator());
    lister_ = static_cast<Vco_DirectoryChannel*>(ext_->GetDLLInstance(
        (folder_.string() + sep + "channels" + sep + "Directory.dll").c_str()));
    ASSERT_NE(lister_, nullptr);
    scan_ = folder_ / "scan";
    std::filesystem::create_directories(scan_ / ("sub." + std::string(vplat::moduleExtension())));
    const std::string ext = vplat::moduleExtension();
    for (const std::string& name : {"Foo." + ext, "bar." + Upper(ext), std::string("readme.txt"),
                                    std::string("tool.dle"), std::string("noext")})
      WriteAll(scan_ / name, "x");
  }
  void TearDown() override {
    delete lister_;
    FilesTest::TearDown();
  }

  std::string Pattern(const char* mask) const {
    return scan_.string() + vplat::pathSeparator() + mask;
  }

  Vco_DirectoryChannel* lister_ = nullptr;
  std::filesystem::path scan_;
};

TEST_F(DirectoryTest, ListsTheAcceptedExtensionIgnoringCase) {
  const std::string ext = vplat::moduleExtension();
  struct Case {
    const char* extension;
    const char* mask;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      // "DLL" stands for the platform's module extension.
      {"DLL", "*.*", {"Foo." + ext, "bar." + Upper(ext)}},
      {"DLE", "*.*", {"tool.dle"}},
      {".txt", "*.*", {"readme.txt"}},
      {"DLL", "b*.*", {"bar." + Upper(ext)}},
      {"DLL", "F?O.*", {"Foo." + ext}},
      {"", "*", {"Foo." + ext, "bar." + Upper(ext), "noext", "readme.txt", "tool.dle"}},
      {"xyz", "*.*", {}},
  };
  for (const Case& c : cases) {
    lister_->SetAcceptedExtention(c.extension);
    EXPECT_TRUE(lister_->ReadDir(Pattern(c.mask).c_str())) << c.extension << " " << c.mask;
    EXPECT_EQ(Listed(lister_), c.expected) << c.extension << " " << c.mask;
  }
}

TEST_F(DirectoryTest, MissingFolderListsNothing) {
  lister_->SetAcceptedExtention("DLL");
  ASSERT_TRUE(lister_->ReadDir(Pattern("*.*").c_str()));
  EXPECT_EQ(lister_->GetTotalFiles(), 2);
  EXPECT_FALSE(lister_->ReadDir((folder_.string() + "/missing/*.*").c_str()));
  EXPECT_EQ(lister_->GetTotalFiles(), 0);
  EXPECT_EQ(lister_->GetFileName(0), nullptr);
  EXPECT_EQ(lister_->GetFileName(-1), nullptr);
}

TEST_F(FilesTest, BasePluginsAreFoundUnderTheNamesTheEngineAsksFor) {
  const std::string sep(1, vplat::pathSeparator());
  const std::string channels = folder_.string() + sep + "channels" + sep;
  for (const char* name : {"fileloader.dll", "FileLoader.dll", "Directory.dll", "DIRECTORY.DLL"}) {
    DllInterface* instance = ext_->GetDLLInstance((channels + name).c_str());
    EXPECT_NE(instance, nullptr) << name;
    delete instance;
  }
  // Created by type through the registry, the way the facades do.
  for (const GUID& type :
       {VLT_FILELOADER_GUID, VLT_FILESAVER_GUID, VLT_COMPRESSION_TRANSLATOR_GUID}) {
    Vlt_Channel* channel = engine_->InitChannelFromType(type, nullptr, false);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(VltGuidEqual(channel->GetChannelType().typeGuid, type));
    EXPECT_EQ(channel->GetChannelType().version[1], VLT_ENGINE_VERSION);
    delete channel;
  }
}

}  // namespace
