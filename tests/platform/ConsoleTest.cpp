// The file picker without a user, and the interrupt flag a program's loop polls.
#include <csignal>
#include <string>

#include "TestSupport.h"

namespace {

using vplat_test::EnvOverride;

TEST(OpenFileDialogTest, AnswersFromTheEnvironmentWithoutAUser) {
  EnvOverride headless("VEXILON_HEADLESS", "1");
  struct Case {
    const char* answer;  // VEXILON_OPEN_FILE, or null when unset
    bool chosen;
  };
  const Case cases[] = {{nullptr, false}, {"", false}, {"C:\\projects\\Demo.lmr", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer != nullptr ? c.answer : "(unset)");
    EnvOverride answer("VEXILON_OPEN_FILE", c.answer);
    std::string path = "left over";
    EXPECT_EQ(vplat::openFileDialog(nullptr, "Lumenar file (*.lmr)", "lmr", path), c.chosen);
    EXPECT_EQ(path, c.chosen ? std::string(c.answer) : std::string());
  }
}

TEST(InterruptTest, FlagIsSetOnlyByAnInterruptOrOnRequest) {
  vplat::watchInterrupt();
  vplat::watchInterrupt();  // a second watch changes nothing
  EXPECT_FALSE(vplat::interruptRequested());
  vplat::setInterruptRequested(true);
  EXPECT_TRUE(vplat::interruptRequested());
  vplat::setInterruptRequested(false);
  EXPECT_FALSE(vplat::interruptRequested());
}

#if !defined(_WIN32)
// On Windows Ctrl-C reaches a program as a console event, not as this signal.
TEST(InterruptTest, CtrlCSetsTheFlagInsteadOfEndingTheProgram) {
  vplat::watchInterrupt();
  vplat::setInterruptRequested(false);
  ASSERT_EQ(std::raise(SIGINT), 0);
  EXPECT_TRUE(vplat::interruptRequested());
  vplat::setInterruptRequested(false);
}
#endif

}  // namespace
