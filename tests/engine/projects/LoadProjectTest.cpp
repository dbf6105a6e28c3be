// A host's way in: EngineControl::LoadProject on project files, with its results 0 to 4.
#include "ProjectFixture.h"

namespace projecttest {
namespace {

class LoadProjectTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    hadOpenFile_ = vplat::getEnv("VEXILON_OPEN_FILE", oldOpenFile_);
    vplat::setEnv("VEXILON_OPEN_FILE", nullptr);
    control_ = GetEngineControlInstance();
    ASSERT_NE(control_, nullptr);
    control_->SetInstallDir(install_.string().c_str());
    control_->SetLumenarRegKey(kRegKey);
    char className[] = "Vexilon Test Host";
    ASSERT_TRUE(control_->InitEngine(nullptr, className, nullptr));
    RegisterBasePlugins(control_->GetEngineInterface());
  }

  void TearDown() override {
    delete control_;
    vplat::setEnv("VEXILON_OPEN_FILE", hadOpenFile_ ? oldOpenFile_.c_str() : nullptr);
    ProjectTest::TearDown();
  }

  int LoadProject(const std::string& path) {
    std::string text = path;
    control_->SetCommandLine(text.data());
    return control_->LoadProject();
  }

  // Saves an empty group as the project's start group "Start.cgr".
  void SaveStartGroup() {
    fs::create_directories(root_ / "project");
    EngineInterface* engine = control_->GetEngineInterface();
    Vlt_ChannelGroup* group = engine->CreateNewGroup("Start", false, 0);
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->SaveChannelGroup((root_ / "project" / "Start.cgr").string().c_str()));
    control_->GetEngineInterface()->GetExt()->ReleaseGroups();
  }

  int LiveGroups() const {
    EngineInterface* engine = control_->GetEngineInterface();
    int groups = 0;
    for (int i = 0; i < engine->GetChannelGroupCount(); ++i)
      if (engine->GetChannelGroup(i) != nullptr) ++groups;
    return groups;
  }

  EngineControl* control_ = nullptr;
  bool hadOpenFile_ = false;
  std::string oldOpenFile_;
};

TEST_F(LoadProjectTest, Results) {
  SaveStartGroup();
  struct Case {
    const char* name;
    std::string bytes;
    int result;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"runs", Head() + IntBlock("LDDC", 0), 0, {}},
      {"not a project", IntBlock("LSGR", 0), 1, {"Lmr file corrupt"}},
      {"needs a newer engine",
       Head() + IntBlock("LHPV", 58),
       2,
       {"Incorrect viewer version for lmr file. Please use new viewer found at "
        "https://vexilon.example.org/viewer"}},
      {"start group missing",
       IntBlock("LSPT", 1) + Block("LSGR", Text("Gone.cgr")),
       4,
       {"Unable to load startup channelgroup : " + ProjectFolder() + "Gone.cgr"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes_.boxes.clear();
    EXPECT_EQ(LoadProject(WriteProject(c.bytes)), c.result);
    EXPECT_EQ(BoxTexts(), c.boxes);
    // Only a project that runs leaves its start group loaded.
    EXPECT_EQ(LiveGroups(), c.result == 0 ? 1 : 0);
  }
}

TEST_F(LoadProjectTest, LoadingAgainReplacesThePreviousProject) {
  SaveStartGroup();
  const std::string path = WriteProject(Head());
  ASSERT_EQ(LoadProject(path), 0);
  ASSERT_EQ(LoadProject(path), 0);
  EXPECT_EQ(LiveGroups(), 1);
  control_->EngineLoop();
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(LoadProjectTest, WithoutACommandLineTheFileDialogAsks) {
  SaveStartGroup();
  const std::string path = WriteProject(Head());
  struct Case {
    const char* name;
    const char* answer;  // VEXILON_OPEN_FILE, or null when unset
    int result;
  };
  const std::string tooLong = path + std::string(300, 'x');
  const Case cases[] = {
      {"nothing chosen", nullptr, 3},
      {"the project chosen", path.c_str(), 0},
      {"a path longer than the buffer", tooLong.c_str(), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vplat::setEnv("VEXILON_OPEN_FILE", c.answer);
    EXPECT_EQ(control_->LoadProject(), c.result);
    EXPECT_TRUE(boxes_.boxes.empty());
  }
}

}  // namespace
}  // namespace projecttest
