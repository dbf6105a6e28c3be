// A public call with dynamic loading: the outside loader channel is asked for the target group
// and the call binds once the group arrives, passes later; and the cases that turn it off.
#include "PublicCallFixture.h"

namespace publiccalltest {
namespace {

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class BackgroundLoadTest : public PublicCallTest {
 protected:
  Vco_BackgroundLoaderChannel* Loader() {
    return static_cast<Vco_BackgroundLoaderChannel*>(
        engine_->GetUniqueChannel(VLT_BACKGROUNDLOADER_GUID, nullptr));
  }

  static CallerSetup Dynamic() {
    CallerSetup setup;
    setup.autoLoad = false;
    setup.dynamic = true;
    return setup;
  }
};

TEST_F(BackgroundLoadTest, LoadingAtOnceTellsTheLoaderThePoolName) {
  InstallRecordingLoader();
  WriteGroups(CallerSetup());
  ASSERT_NE(LoadCaller(CallerFile()), nullptr);
  Passes(1);
  ASSERT_NE(CalleeGroup(), nullptr);
  EXPECT_EQ(Count(Log(), "pool:Lib;"), 1);
  EXPECT_EQ(Count(Log(), "load:"), 0);
}

TEST_F(BackgroundLoadTest, TargetGroupArrivesSomePassesLaterAndTheCallBinds) {
  InstallRecordingLoader();
  WriteGroups(Dynamic());
  Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
  ASSERT_NE(caller, nullptr);

  Passes(1);
  EXPECT_EQ(Count(Log(), "load:"), 1);
  EXPECT_EQ(Count(Log(), "load:" + CalleeFile() + "|Lib;"), 1);
  ASSERT_NE(Loader(), nullptr);
  EXPECT_EQ(Loader()->GetPendingLoadCount(), 1);
  EXPECT_EQ(CalleeGroup(), nullptr);

  int passes = 1;
  while (CalleeGroup() == nullptr && passes < 10) {
    Passes(1);
    ++passes;
  }
  ASSERT_NE(CalleeGroup(), nullptr);
  EXPECT_LE(passes, 3);
  EXPECT_EQ(Loader()->GetPendingLoadCount(), 0);
  // The waiting call bound when the group published its channels: the pass that created the
  // group already ran the public channel.
  EXPECT_EQ(Good(CalleeGroup(), "Out")->calls, 1);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), CalleeGroup()->GetChannel("Out"));
  Passes(2);
  EXPECT_EQ(Count(Log(), "load:"), 1);
  EXPECT_EQ(LiveGroups(), 2);
}

TEST_F(BackgroundLoadTest, BaseLoaderBringsTheGroupWhileTheLoopRuns) {
  InstallBaseLoader();
  CallerSetup setup = Dynamic();
  // Without arguments the load is asked for in the first pass, after that pass's event 0, so the
  // group cannot be there before the second pass.
  setup.withArgument = false;
  WriteGroups(setup);
  Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
  ASSERT_NE(caller, nullptr);

  Passes(1);
  ASSERT_NE(Loader(), nullptr);
  EXPECT_EQ(Loader()->GetPendingLoadCount(), 1);
  EXPECT_EQ(CalleeGroup(), nullptr);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), nullptr);

  // Every pass returns while the file is read on a worker; the pause only lets the worker run.
  int passes = 1;
  while (CalleeGroup() == nullptr && passes < 5000) {
    vplat::sleepMs(1);
    Passes(1);
    ++passes;
  }
  Vlt_ChannelGroup* callee = CalleeGroup();
  ASSERT_NE(callee, nullptr);
  EXPECT_GE(passes, 2);
  EXPECT_EQ(Loader()->GetPendingLoadCount(), 0);
  EXPECT_TRUE(fs::equivalent(callee->GetChannelGroupFileName(), CalleeFile()));
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), callee->GetChannel("Out"));
  const int calls = Good(callee, "Out")->calls;
  Passes(2);
  EXPECT_EQ(Good(callee, "Out")->calls, calls + 2);
  EXPECT_EQ(LiveGroups(), 2);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(BackgroundLoadTest, DynamicLoadingThatCannotStartIsReportedOnceAndTurnedOff) {
  struct Case {
    const char* name;
    bool loader;
    bool refuse;
    bool calleeLoadedWithoutChannel;
    std::vector<std::string> errors;
    int loadRequests;
  };
  const std::string target = "lib\\Callee.cgr";
  const Case cases[] = {
      {"no loader installed",
       false,
       false,
       false,
       {"Couldn't load group in background: no background loader installed, dynamic loading "
        "turned off",
        target, CalleeFile()},
       0},
      {"loader refuses",
       true,
       true,
       false,
       {"Couldn't load group in background, dynamic loading turned off", target, CalleeFile()},
       1},
      {"group there without the channel",
       true,
       false,
       true,
       {"Error channel not found dissabeling dynamic loading"},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.loader) InstallRecordingLoader();
    vplat::setEnv("VEXILON_TEST_LOADER_REFUSE", c.refuse ? "1" : nullptr);
    CallerSetup setup = Dynamic();
    setup.withArgument = false;
    CalleeSpec callee;
    if (c.calleeLoadedWithoutChannel) callee.publicName = "Renamed";
    WriteGroups(setup, callee);
    if (c.calleeLoadedWithoutChannel) {
      ASSERT_NE(engine_->LoadChannelGroup(CalleeFile().c_str(), "Lib"), nullptr);
    }
    Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
    ASSERT_NE(caller, nullptr);
    messages_.messages.clear();

    Passes(3);
    EXPECT_EQ(Errors(), c.errors);
    EXPECT_EQ(Count(Log(), "load:"), c.loadRequests);
    EXPECT_FALSE(channelInternal->GetDynamicAutoLoadGroup(caller->GetChannel("Call")));
    ext_->ReleaseGroups();
  }
}

}  // namespace
}  // namespace publiccalltest
