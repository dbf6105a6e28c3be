// Whole runs of the viewer on project files, with the exit codes a script sees.
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

  std::string output_;
  bool hadOpenFile_ = false;
  std::string oldOpenFile_;
};

TEST_F(ViewerRunTest, ExitCodesFollowTheProjectLoad) {
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
  // The engine was released: its registry cache is written.
  EXPECT_TRUE(fs::exists(install_ / "channels.lst"));
}

}  // namespace
