// Reading project files: the head blocks, the dependency check against the installed plug-ins,
// checksums, attached copies and support libraries, through EngineInterfaceExt.
#include <algorithm>
#include <memory>

#include "ProjectFixture.h"

namespace projecttest {
namespace {

const char* const kNotFound =
    "A channel that is needed for this project was not found in the installation path : ";
const char* const kVersion =
    "A channel that is needed for this project has an incorrect engine version : ";
const char* const kCorruptCrc = "A needed channel is probably corrupt. It has an incorrect crc";
const char* const kFileLoaderText = "A4E19C73-5B2F-4D86-9E0A-37C1F8D24B65";

// A type no installation has.
const GUID kAbsentType = {0x0BADF00D, 0x1234, 0x4321, {0x80, 1, 2, 3, 4, 5, 6, 7}};
const char* const kAbsentText = "0BADF00D-1234-4321-8001-020304050607";

class ProjectFileTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    vplat::regDeleteValue(vplat::RegRoot::LocalMachine, kRegKey, "LmrCrCCheck");
    engine_ = std::make_unique<EngineInterface>();
    ext_ = engine_->GetExt();
    ext_->SetInstallDir(install_.string().c_str());
    ext_->SetLumenarRegKey(kRegKey);
    ASSERT_TRUE(ext_->InitEngine(nullptr, "Vexilon Test Host"));
    RegisterBasePlugins(engine_.get());
  }

  void TearDown() override {
    engine_.reset();
    ProjectTest::TearDown();
  }

  int Load(const std::string& bytes) {
    return ext_->InitializeLmrFile(WriteProject(bytes).c_str());
  }

  // The installed file loader library's bytes, and its type's version words.
  std::string FileLoaderBytes() const {
    return ReadAll(install_ / "channels" / ModuleFile("FileLoader"));
  }

  std::unique_ptr<EngineInterface> engine_;
  EngineInterfaceExt* ext_ = nullptr;
};

TEST_F(ProjectFileTest, HeadBlocksAndTheViewerVersion) {
  const std::string refused =
      "Incorrect viewer version for lmr file. Please use new viewer found at "
      "https://vexilon.example.org/viewer";
  struct Case {
    const char* name;
    std::string tail;
    int result;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"no LHPV", "", 0, {}},
      {"LHPV 57", IntBlock("LHPV", 57), 0, {}},
      {"LHPV 58", IntBlock("LHPV", 58), 2, {refused}},
      {"LHPV of two bytes", Block("LHPV", std::string("\x3A\0", 2)), 1, {"Lmr file corrupt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes_.boxes.clear();
    EXPECT_EQ(Load(Head() + c.tail + IntBlock("LDDC", 0)), c.result);
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(ext_->GetProjectEditorVersion(), 3);
  }
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].caption, "Lumenar Error");
  EXPECT_EQ(boxes_.boxes[0].icon, vplat::Icon::Error);
}

TEST_F(ProjectFileTest, StartGroupPathAndKeepRunning) {
  EXPECT_FALSE(ext_->GetIfKeepRunningApplication());
  const std::string path = WriteProject(Head() + std::string("LFKR"));
  EXPECT_EQ(ext_->InitializeLmrFile(path.c_str()), 0);
  EXPECT_TRUE(ext_->GetIfKeepRunningApplication());
  // The start group sits beside the project; it is not there, so it cannot be loaded.
  EXPECT_EQ(ext_->GetLmrStartGroup(), nullptr);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to load startup channelgroup : " +
                                                 ProjectFolder() + "Start.cgr"});
}

TEST_F(ProjectFileTest, TooLongStartGroupNameHidesTheRest) {
  // The dependency after the long name is never reached, so the missing type goes unnoticed.
  const std::string bytes = IntBlock("LSPT", 1) + Block("LSGR", Text(std::string(400, 'g'))) +
                            IntBlock("LHPV", 58) + IntBlock("LDDC", 1) +
                            Dependency(kAbsentType, 1, 57, 1, 0);
  EXPECT_EQ(Load(bytes), 0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ProjectFileTest, NotAProject) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"other first block", IntBlock("LSGR", 3) + IntBlock("LSPT", 3)},
      {"LSPT size past the end", std::string("LSPT\xFF\xFF\xFF\x7F", 8)},
      {"group file", Block("CHGR", Text("Group"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes_.boxes.clear();
    EXPECT_EQ(Load(c.bytes), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Lmr file corrupt"});
  }
}

// The project body wrapped in a compression container by the installed translator.
std::string Compressed(EngineInterface* engine, const std::string& body) {
  Vlt_Channel* channel =
      engine->InitChannelFromType(VLT_COMPRESSION_TRANSLATOR_GUID, nullptr, false);
  if (channel == nullptr) return std::string();
  VltFileSaver saver(engine);
  saver.OpenMemory();
  std::string out;
  if (static_cast<Vco_TranslatorChannel*>(channel)->WrapData(
          body.data(), static_cast<uint32_t>(body.size()), &saver))
    out.assign(reinterpret_cast<const char*>(saver.GetBuffer()), saver.GetBufferSize());
  saver.CloseMemory();
  delete channel;
  return out;
}

TEST_F(ProjectFileTest, ContainersAreUnwrappedFirst) {
  const std::string project = Compressed(engine_.get(), Head() + IntBlock("LHPV", 58));
  ASSERT_EQ(project.substr(0, 4), "VLTF");
  EXPECT_EQ(Load(project), 2);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_NE(boxes_.boxes[0].text.find("Incorrect viewer version"), std::string::npos);

  boxes_.boxes.clear();
  EXPECT_EQ(Load(Compressed(engine_.get(), IntBlock("LSGR", 3))), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Lmr file corrupt"});
}

TEST_F(ProjectFileTest, WithoutADependencyCountTheLibrariesAreNotRead) {
  // A library that is not installed and has no copy would end the load with 2.
  const std::string libraries = IntBlock("LDGC", 1) + SupportLibrary("Absent.dll");
  EXPECT_EQ(Load(Head() + libraries), 0);
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_EQ(Load(Head() + IntBlock("LDDC", 0) + libraries), 2);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"Unable to locate third party dll", "Absent.dll"}));
}

TEST_F(ProjectFileTest, ProjectNotFoundOffersRetryAndCancel) {
  fs::create_directories(root_ / "project");
  const std::string missing = (root_ / "project" / "Missing.lmr").string();
  boxes_.answers = {vplat::Answer::Retry, vplat::Answer::Cancel};
  EXPECT_EQ(ext_->InitializeLmrFile(missing.c_str()), 1);
  ASSERT_EQ(boxes_.boxes.size(), 2u);
  for (const RecordedBox& box : boxes_.boxes) {
    EXPECT_EQ(box.text, "There was an error loading the lmr file : " + missing);
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.buttons, vplat::Buttons::RetryCancel);
    EXPECT_EQ(box.icon, vplat::Icon::Warning);
  }

  // Retry finds the file once it is there.
  boxes_.boxes.clear();
  boxes_.answers = {vplat::Answer::Retry};
  struct Writer : vplat::UserSink {
    BoxRecorder* inner;
    std::string path;
    vplat::Answer OnMessageBox(vplat::WindowHandle owner, const char* text, const char* caption,
                               vplat::Buttons buttons, vplat::Icon icon) override {
      WriteAll(path, Head());
      return inner->OnMessageBox(owner, text, caption, buttons, icon);
    }
  } writer;
  writer.inner = &boxes_;
  writer.path = missing;
  vplat::setUserSink(&writer);
  EXPECT_EQ(ext_->InitializeLmrFile(missing.c_str()), 0);
  vplat::setUserSink(&boxes_);
  EXPECT_EQ(boxes_.boxes.size(), 1u);

  // A web address that cannot be fetched; unattended, the box is cancelled.
  boxes_.boxes.clear();
  const std::string url = "http://vexilon.example.org/" + std::string(300, 'p') + ".lmr";
  EXPECT_EQ(ext_->InitializeLmrFile(url.c_str()), 1);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text,
            ("There was an error downloading the lmr file : " + url).substr(0, 298));

  boxes_.boxes.clear();
  EXPECT_EQ(ext_->InitializeLmrFile(nullptr), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Invalid filename of lmr file"});
}

struct DependencyCase {
  const char* name;
  std::string entries;  // after the count
  int32_t count;
  const char* crcCheck;  // the LmrCrCCheck value, or null for none
  int result;
  std::vector<std::string> boxes;
  const char* written;  // a file the load writes into the channels folder, or null
};

TEST_F(ProjectFileTest, Dependencies) {
  const std::string loader = FileLoaderBytes();
  ASSERT_FALSE(loader.empty());
  // Loading the plug-in brings its own type record into the registry.
  ASSERT_EQ(Load(Head()), 0);
  const ChannelType installed = ext_->GetChannelList()->GetChannelType(VLT_FILELOADER_GUID);
  const int v0 = installed.version[0], v1 = installed.version[1], v2 = installed.version[2];
  const int32_t goodCrc = Crc32(loader);
  const std::string notFound = std::string(kNotFound) + kAbsentText;
  const std::string absentVersion = std::string(kVersion) + kAbsentText;
  const std::string loaderVersion = std::string(kVersion) + kFileLoaderText;
  const std::string copied = "copied library bytes";

  const DependencyCase cases[] = {
      {"installed, versions met",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2, 0),
       1,
       nullptr,
       0,
       {},
       nullptr},
      {"empty entries first",
       std::string("LFDBLFDB") + Dependency(kAbsentType, 1, 1, 1, 0),
       3,
       nullptr,
       2,
       {notFound},
       nullptr},
      {"missing, no copy",
       Dependency(kAbsentType, 1, 58, 1, 0),
       1,
       nullptr,
       2,
       {notFound, absentVersion},
       nullptr},
      {"missing, old enough",
       Dependency(kAbsentType, 1, 57, 1, 0),
       1,
       nullptr,
       2,
       {notFound},
       nullptr},
      {"missing, with a copy",
       Dependency(kAbsentType, 1, 58, 1, 0) + ChannelCopy("Copied.dll", copied) +
           Dependency(VLT_FILELOADER_GUID, 1, 57, 0, 0) + Dependency(kAbsentType, 1, 1, 1, 0),
       3,
       nullptr,
       2,
       {notFound, absentVersion, notFound},
       "Copied.dll"},
      {"copy size differs",
       Dependency(kAbsentType, 1, 1, 1, 0) + Block("LCAN", Text("Copied.dll")) +
           IntBlock("LCAS", 5) + Block("LCAF", "four"),
       1,
       nullptr,
       2,
       {notFound},
       nullptr},
      {"copy without a name is ignored",
       Dependency(kAbsentType, 1, 1, 1, 0) + IntBlock("LCAS", 4) + Block("LCAF", "four"),
       1,
       nullptr,
       2,
       {notFound},
       nullptr},
      {"installed version too low",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2 + 1, 0),
       1,
       nullptr,
       2,
       {loaderVersion},
       nullptr},
      {"crc checked, wrong",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2, goodCrc ^ 1),
       1,
       "yes",
       2,
       {kCorruptCrc},
       nullptr},
      {"crc checked, right",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2, goodCrc),
       1,
       "YES",
       0,
       {},
       nullptr},
      {"crc not checked",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2, goodCrc ^ 1),
       1,
       nullptr,
       0,
       {},
       nullptr},
      {"crc setting other than yes",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2, goodCrc ^ 1),
       1,
       "no",
       0,
       {},
       nullptr},
      {"crc only for the exact version",
       Dependency(VLT_FILELOADER_GUID, v0, v1, v2 - 1, goodCrc ^ 1),
       1,
       "yes",
       0,
       {},
       nullptr},
      {"truncated entry",
       Dependency(kAbsentType, 1, 1, 1, 0).substr(0, 30),
       1,
       nullptr,
       1,
       {"Lmr file corrupt"},
       nullptr},
  };
  for (const DependencyCase& c : cases) {
    SCOPED_TRACE(c.name);
    boxes_.boxes.clear();
    if (c.crcCheck != nullptr)
      ASSERT_TRUE(
          vplat::regSetString(vplat::RegRoot::LocalMachine, kRegKey, "LmrCrCCheck", c.crcCheck));
    else
      vplat::regDeleteValue(vplat::RegRoot::LocalMachine, kRegKey, "LmrCrCCheck");
    EXPECT_EQ(Load(Head() + IntBlock("LDDC", c.count) + c.entries), c.result);
    EXPECT_EQ(BoxTexts(), c.boxes);
    for (const RecordedBox& box : boxes_.boxes) {
      EXPECT_EQ(box.caption, "Lumenar Error");
      EXPECT_EQ(box.icon, vplat::Icon::Error);
    }
    if (c.written != nullptr) {
      EXPECT_EQ(ReadAll(install_ / "channels" / c.written), copied);
      fs::remove(install_ / "channels" / c.written);
    }
  }
}

TEST_F(ProjectFileTest, CopyForAnOldTypeRaisesItsRegisteredVersion) {
  ASSERT_EQ(Load(Head()), 0);
  const ChannelType before = ext_->GetChannelList()->GetChannelType(VLT_FILELOADER_GUID);
  const std::string entry = Dependency(VLT_FILELOADER_GUID, before.version[0], before.version[1],
                                       before.version[2] + 4, 0) +
                            ChannelCopy("Newer.dll", "x");
  EXPECT_EQ(Load(Head() + IntBlock("LDDC", 1) + entry), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kVersion) + kFileLoaderText});
  EXPECT_EQ(ReadAll(install_ / "channels" / "Newer.dll"), "x");
  const ChannelType after = ext_->GetChannelList()->GetChannelType(VLT_FILELOADER_GUID);
  EXPECT_EQ(after.version[2], before.version[2] + 4);
  // The raised version now meets the same project without a copy.
  boxes_.boxes.clear();
  EXPECT_EQ(Load(Head() + IntBlock("LDDC", 1) +
                 Dependency(VLT_FILELOADER_GUID, before.version[0], before.version[1],
                            before.version[2] + 4, 0)),
            0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ProjectFileTest, AttachedCopiesNeverLeaveTheirFolder) {
  const char* names[] = {"..\\..\\evil.dll",
                         "../../evil.dll",
                         "sub\\..\\..\\..\\evil.dll",
                         "\\evil.dll",
                         "/evil.dll",
                         "C:evil.dll",
                         "C:\\evil.dll",
                         ".."};
  const std::vector<std::string> before = AllFiles();
  for (const char* name : names) {
    SCOPED_TRACE(name);
    boxes_.boxes.clear();
    EXPECT_EQ(Load(Head() + IntBlock("LDDC", 1) + Dependency(kAbsentType, 1, 1, 1, 0) +
                   ChannelCopy(name, "evil")),
              2);
    EXPECT_EQ(Load(Head() + IntBlock("LDDC", 0) + IntBlock("LDGC", 1) +
                   SupportLibrary("Absent.dll") + LibraryCopy(name, "evil")),
              2);
    // A library name reaching outside the 3rd folder is never loaded: it counts as missing.
    EXPECT_EQ(Load(Head() + IntBlock("LDDC", 0) + IntBlock("LDGC", 1) + SupportLibrary(name)), 2);
  }
  std::vector<std::string> after = AllFiles();
  // Only the project file itself was added.
  after.erase(std::remove(after.begin(), after.end(),
                          fs::path("project/Project.lmr").make_preferred().string()),
              after.end());
  EXPECT_EQ(after, before);
}

TEST_F(ProjectFileTest, SupportLibraries) {
  const fs::path support = fs::path(vplat::executableDir()) / "testinstall" / "3rd";
  fs::copy_file(support / ModuleFile("TestSupport"), install_ / "3rd" / ModuleFile("TestSupport"));
  const std::string missing[] = {"Unable to locate third party dll", "Absent.dll"};
  struct Case {
    const char* name;
    std::string entries;
    int32_t count;
    int result;
    std::vector<std::string> boxes;
    const char* written;
  };
  const Case cases[] = {
      {"installed", SupportLibrary("TestSupport.dll"), 1, 0, {}, nullptr},
      {"installed, name in other case", SupportLibrary("testsupport.DLL"), 1, 0, {}, nullptr},
      {"empty entry", std::string("LDFF"), 1, 0, {}, nullptr},
      {"missing, no copy", SupportLibrary("Absent.dll"), 1, 2, {missing[0], missing[1]}, nullptr},
      {"missing, with a copy",
       SupportLibrary("Absent.dll") + LibraryCopy("Absent.dll", "library") + std::string("LDFF"),
       2,
       0,
       {missing[0], missing[1]},
       "Absent.dll"},
      {"not a library",
       SupportLibrary("Junk.dll"),
       1,
       2,
       {"Unable to locate third party dll", "Junk.dll"},
       nullptr},
  };
  WriteAll(install_ / "3rd" / "Junk.dll", "not a library");
  WriteAll(install_ / "3rd" / ModuleFile("Junk"), "not a library");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes_.boxes.clear();
    EXPECT_EQ(Load(Head() + IntBlock("LDDC", 0) + IntBlock("LDGC", c.count) + c.entries), c.result);
    EXPECT_EQ(BoxTexts(), c.boxes);
    if (c.written != nullptr) {
      EXPECT_EQ(ReadAll(install_ / "3rd" / c.written), "library");
    }
  }
}

TEST_F(ProjectFileTest, HugeCountsEndWithTheEntries) {
  // Counts far beyond the entries present stop at the last entry instead of spinning.
  EXPECT_EQ(Load(Head() + IntBlock("LDDC", 0x7FFFFFFF) + std::string("LFDB") +
                 IntBlock("LDGC", 0x7FFFFFFF) + std::string("LDFF")),
            0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

}  // namespace
}  // namespace projecttest
