// The viewer's command line and its pass statistics.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PassStatistics.h"
#include "ViewerOptions.h"

namespace {

TEST(ViewerOptionsTest, CommandLines) {
  struct Case {
    std::vector<const char*> args;
    bool ok;
    const char* project;
    long long frames;
    double fps;
    bool stats;
  };
  const Case cases[] = {
      {{"p.lmr"}, true, "p.lmr", -1, 0, false},
      {{}, true, "", -1, 0, false},
      {{"--frames", "100", "--stats", "p.lmr"}, true, "p.lmr", 100, 0, true},
      {{"--fps=30", "--frames=0", "p.lmr"}, true, "p.lmr", 0, 30, false},
      {{"--", "-odd.lmr"}, true, "-odd.lmr", -1, 0, false},
      {{"--frames", "-1", "p.lmr"}, false, "", 0, 0, false},
      {{"--frames", "12x"}, false, "", 0, 0, false},
      {{"--frames"}, false, "", 0, 0, false},
      {{"--fps", "0"}, false, "", 0, 0, false},
      {{"--fps", "nan"}, false, "", 0, 0, false},
      {{"--stats=yes"}, false, "", 0, 0, false},
      {{"--bogus"}, false, "", 0, 0, false},
      {{"a.lmr", "b.lmr"}, false, "", 0, 0, false},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* a : c.args) line += std::string(a) + " ";
    SCOPED_TRACE(line);
    ViewerOptions options;
    std::string error;
    const bool ok =
        ParseViewerOptions(static_cast<int>(c.args.size()), c.args.data(), options, error);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(error.empty(), c.ok);
    if (!ok || !c.ok) continue;
    EXPECT_EQ(options.project, c.project);
    EXPECT_EQ(options.frames, c.frames);
    EXPECT_EQ(options.fps, c.fps);
    EXPECT_EQ(options.stats, c.stats);
  }
  ViewerOptions defaults;
  const char* help[] = {"--install-dir", "/opt/v", "--reg-key=K", "--help"};
  std::string error;
  ASSERT_TRUE(ParseViewerOptions(4, help, defaults, error));
  EXPECT_TRUE(defaults.help);
  EXPECT_EQ(defaults.installDir, "/opt/v");
  EXPECT_EQ(defaults.regKey, "K");
}

TEST(PassStatisticsTest, PercentilesWithinABucket) {
  PassStatistics stats;
  EXPECT_EQ(stats.Percentile(0.5), 0);
  // 1 ms to 100 ms, shuffled by a stride that visits each once.
  for (int i = 0; i < 100; ++i) stats.Add(((i * 37) % 100 + 1) * 1e-3);
  EXPECT_EQ(stats.Count(), 100u);
  EXPECT_DOUBLE_EQ(stats.Max(), 0.1);
  EXPECT_NEAR(stats.Percentile(0.50), 0.050, 0.050 * 0.021);
  EXPECT_NEAR(stats.Percentile(0.90), 0.090, 0.090 * 0.021);
  EXPECT_NEAR(stats.Percentile(0.99), 0.099, 0.099 * 0.021);
  EXPECT_DOUBLE_EQ(stats.Percentile(1.0), 0.1);
  // Zero-length passes and huge ones stay in range.
  stats.Add(0);
  stats.Add(5000);
  EXPECT_EQ(stats.Max(), 5000);
  EXPECT_LE(stats.Percentile(1.0), 5000);
}

}  // namespace
