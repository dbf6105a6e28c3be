// Whole runs of the viewer on project files, with the exit codes a script sees.
#include <chrono>
#include <cstdio>

#include "LumenViewer.h"
#include "ViewerOptions.h"
#include "projects/ProjectFixture.h"

namespace {

using namespace projecttest;

class ViewerRunTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    hadOpenFile_ = vplat::getEnv("VEXILON_OPEN_FILE", oldOpenFile_);
    vplat::setEnv("VEXILON_OPEN_FILE", nullptr);
    vplat::setInterruptRequested(false);
  }
  void TearDown() override {
    vplat::setInterruptRequested(false);
    vplat::setEnv("VEXILON_OPEN_FILE", hadOpenFile_ ? oldOpenFile_.c_str() : nullptr);
    ProjectTest::TearDown();
  }

  // Runs the viewer with the arguments; its report is kept in output_.
  int Run(std::vector<const char*> args) {
    ViewerOptions options;
    std::string error;
    const std::string install = install_.string();
    args.insert(args.begin(), {"--install-dir", install.c_str(), "--reg-key", kRegKey});
    if (!ParseViewerOptions(static_cast<int>(args.size()), args.data(), options, error)) {
      ADD_FAILURE() << error;
      return -1;
    }
    const fs::path report = root_ / "report.txt";
    std::FILE* out = std::fopen(report.string().c_str(), "wb");
    const int code = LumenViewer(options, out).Run();
    std::fclose(out);
    output_ = ReadAll(report);
    return code;
  }

  // An empty start group beside the project, saved through a separate engine.
  void SaveStartGroup() {
    EngineControl* control = GetEngineControlInstance();
    control->SetInstallDir(install_.string().c_str());
    control->SetLumenarRegKey(kRegKey);
    char className[] = "Vexilon Test Host";
    ASSERT_TRUE(control->InitEngine(nullptr, className, nullptr));
    fs::create_directories(root_ / "project");
    Vlt_ChannelGroup* group = control->GetEngineInterface()->CreateNewGroup("Start", false, 0);
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->SaveChannelGroup((root_ / "project" / "Start.cgr").string().c_str()));
    delete control;
  }

  std::string output_;
  bool hadOpenFile_ = false;
  std::string oldOpenFile_;
};

TEST_F(ViewerRunTest, ExitCodesFollowTheProjectLoad) {
  SaveStartGroup();
  fs::remove(install_ / "channels.lst");
  struct Case {
    const char* name;
    std::string bytes;  // empty: no project on the command line
    int code;
  };
  const Case cases[] = {
      {"not a project", IntBlock("LSGR", 1), 1},
      {"needs a newer engine", Head() + IntBlock("LHPV", 58), 2},
      {"no project and nothing chosen", "", 3},
      {"start group missing", IntBlock("LSPT", 1) + Block("LSGR", Text("Gone.cgr")), 4},
      {"runs", Head(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.bytes.empty() ? std::string() : WriteProject(c.bytes);
    std::vector<const char*> args = {"--frames", "5", "--stats"};
    if (!path.empty()) args.push_back(path.c_str());
    EXPECT_EQ(Run(args), c.code);
    // Statistics only for a run.
    EXPECT_EQ(output_.find("Passes: 5 in") != std::string::npos, c.code == 0) << output_;
  }
  EXPECT_NE(output_.find("Pass time: p50 "), std::string::npos);
  EXPECT_NE(output_.find("Debug lines\n  0: \n"), std::string::npos);
  // The engine was released after the run: its registry cache is written.
  EXPECT_TRUE(fs::exists(install_ / "channels.lst"));
}

TEST_F(ViewerRunTest, InterruptStopsTheLoopCleanly) {
  SaveStartGroup();
  fs::remove(install_ / "channels.lst");
  const std::string path = WriteProject(Head());
  // Without a pass limit only the interrupt ends the run.
  vplat::setInterruptRequested(true);
  EXPECT_EQ(Run({"--fps", "1000", path.c_str()}), 0);
  EXPECT_NE(output_.find("Interrupted after 0 passes"), std::string::npos) << output_;
  EXPECT_TRUE(fs::exists(install_ / "channels.lst"));
}

TEST_F(ViewerRunTest, PacedPassesTakeTheirTime) {
  SaveStartGroup();
  const std::string path = WriteProject(Head());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run({"--frames", "6", "--fps", "50", path.c_str()}), 0);
  // Five periods of 20 ms lie between six paced passes.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

}  // namespace
