// A public call whose target group is not loaded: loading it at once from the path the call
// stores, waiting for it when auto-loading is off, and the reports when the group cannot serve.
#include "PublicCallFixture.h"

namespace publiccalltest {
namespace {

struct AutoLoadCase {
  const char* name;
  const char* targetPath;
  bool moveFolder;  // the whole project folder moves before the caller is loaded
};

class AutoLoadTest : public PublicCallTest, public ::testing::WithParamInterface<AutoLoadCase> {};

TEST_P(AutoLoadTest, FirstPassLoadsTheTargetGroupFromTheCallersFolder) {
  CallerSetup setup;
  setup.targetPath = GetParam().targetPath;
  WriteGroups(setup);
  fs::path callerFile = CallerFile();
  fs::path calleeFile = CalleeFile();
  if (GetParam().moveFolder) {
    fs::create_directories(root_ / "moved");
    fs::rename(root_ / "proj", root_ / "moved" / "elsewhere");
    callerFile = root_ / "moved" / "elsewhere" / "groups" / "Caller.cgr";
    calleeFile = root_ / "moved" / "elsewhere" / "groups" / "lib" / "Callee.cgr";
  }

  Vlt_ChannelGroup* caller = LoadCaller(callerFile.string());
  ASSERT_NE(caller, nullptr);
  Passes(1);

  Vlt_ChannelGroup* callee = CalleeGroup();
  ASSERT_NE(callee, nullptr);
  EXPECT_TRUE(fs::equivalent(callee->GetChannelGroupFileName(), calleeFile));
  EXPECT_EQ(LiveGroups(), 2);
  // The call answered the public channel in the same pass, which ran it.
  EXPECT_EQ(Good(caller, "Start")->calls, 1);
  ASSERT_NE(Good(callee, "Out"), nullptr);
  EXPECT_EQ(Good(callee, "Out")->calls, 1);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), callee->GetChannel("Out"));
  // The public channel's parameter child resolved to the caller's argument, which it ran.
  EXPECT_EQ(Good(caller, "Arg0")->calls, 1);
  // The stored path stays as written, so the pair keeps working wherever it goes.
  EXPECT_STREQ(channelInternal->GetPublicCallInfo(caller->GetChannel("Call")).targetPath,
               GetParam().targetPath);
  for (const std::string& text : Errors()) EXPECT_EQ(text.find("autoload"), std::string::npos);

  // Later passes use the loaded group; nothing is loaded twice.
  Passes(2);
  EXPECT_EQ(LiveGroups(), 2);
  EXPECT_EQ(Good(callee, "Out")->calls, 3);
  EXPECT_EQ(Good(caller, "Arg0")->calls, 3);
}

INSTANTIATE_TEST_SUITE_P(
    PathForms, AutoLoadTest,
    ::testing::Values(AutoLoadCase{"Backslash", "lib\\Callee.cgr", false},
                      AutoLoadCase{"DotBackslash", ".\\lib\\Callee.cgr", false},
                      AutoLoadCase{"Slash", "lib/Callee.cgr", false},
                      AutoLoadCase{"FolderMoved", "lib\\Callee.cgr", true}),
    [](const ::testing::TestParamInfo<AutoLoadCase>& info) { return info.param.name; });

TEST_F(PublicCallTest, WithoutAutoLoadTheCallWaitsAndBindsWhenTheGroupIsLoadedLater) {
  CallerSetup setup;
  setup.autoLoad = false;
  WriteGroups(setup);
  Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
  ASSERT_NE(caller, nullptr);
  Passes(2);
  EXPECT_EQ(CalleeGroup(), nullptr);
  EXPECT_EQ(LiveGroups(), 1);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), nullptr);

  Vlt_ChannelGroup* callee = engine_->LoadChannelGroup(CalleeFile().c_str(), "Lib");
  ASSERT_NE(callee, nullptr);
  Passes(1);
  EXPECT_EQ(Good(callee, "Out")->calls, 1);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), callee->GetChannel("Out"));
  EXPECT_EQ(LiveGroups(), 2);
}

TEST_F(PublicCallTest, TargetGroupWithoutThePublicChannelSwitchesAutoLoadOff) {
  CallerSetup setup;
  // Without arguments nothing resolves the call while the caller loads, so the report comes
  // from the first pass, when the caller's group carries its pool name.
  setup.withArgument = false;
  CalleeSpec renamed;
  renamed.publicName = "Renamed";
  WriteGroups(setup, renamed);
  ASSERT_NE(engine_->LoadChannelGroup(CalleeFile().c_str(), "Lib"), nullptr);
  Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
  ASSERT_NE(caller, nullptr);
  messages_.messages.clear();
  Passes(1);

  const std::vector<std::string> expected = {
      "Vlt_Channel::GetPublicChannelForPublicCall error looking for channel",
      "Call : is a public channel looking for a non existing channel",
      "Original Poolname : Caller",
      "Original Filename : " + CallerFile(),
      "Target Filename : lib\\Callee.cgr",
      "Non existing channel : Out",
      "Target Poolname : Lib",
      "Target Filename : lib\\Callee.cgr",
      "Autoload turned off",
      "Reason for error might be that the target public channel has been renamed or deleted but "
      "the group still exists!!",
  };
  EXPECT_EQ(Errors(), expected);
  Vlt_Channel* call = caller->GetChannel("Call");
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(call));
  EXPECT_EQ(LiveGroups(), 2);

  // From now on the call only waits: no second report, no second group.
  Passes(2);
  EXPECT_EQ(Errors().size(), expected.size());
  EXPECT_EQ(LiveGroups(), 2);
  EXPECT_EQ(caller->GetChannel("Start")->GetChild(0), nullptr);
}

TEST_F(PublicCallTest, FailedAutoLoadIsReportedAndTheCallWaitsForTheGroup) {
  WriteGroups(CallerSetup());
  const std::string away = CalleeFile() + ".away";
  fs::rename(CalleeFile(), away);

  Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
  ASSERT_NE(caller, nullptr);
  Passes(1);

  EXPECT_TRUE(
      messages_.Contains("The following channel group file could not be loaded: " + CalleeFile()));
  const std::vector<std::string> tail = {"Couldn't autoload group", "lib\\Callee.cgr", CallerFile(),
                                         CalleeFile()};
  const std::vector<std::string> errors = Errors();
  ASSERT_GE(errors.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(errors.end() - static_cast<std::ptrdiff_t>(tail.size()),
                                     errors.end()),
            tail);
  EXPECT_FALSE(channelInternal->GetAutoLoadGroup(caller->GetChannel("Call")));
  EXPECT_EQ(LiveGroups(), 1);

  // The failure is not retried on every pass.
  const size_t reported = messages_.messages.size();
  Passes(2);
  EXPECT_EQ(messages_.messages.size(), reported);

  // The call now waits, and binds once the group is there.
  fs::rename(away, CalleeFile());
  Vlt_ChannelGroup* callee = engine_->LoadChannelGroup(CalleeFile().c_str(), "Lib");
  ASSERT_NE(callee, nullptr);
  Passes(1);
  EXPECT_EQ(Good(callee, "Out")->calls, 1);
}

TEST_F(PublicCallTest, TreeCountOfTheTargetRisesAsTheModeSays) {
  struct Case {
    int mode;
    bool withArgument;
    int risePerCall;
  };
  const Case cases[] = {{0, true, 0}, {1, true, 1}, {1, false, 0}, {2, false, 1}, {2, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "mode " << c.mode << (c.withArgument ? " with" : " without") << " argument");
    CallerSetup setup;
    setup.treeCountMode = c.mode;
    setup.withArgument = c.withArgument;
    WriteGroups(setup);
    Vlt_ChannelGroup* caller = LoadCaller(CallerFile());
    ASSERT_NE(caller, nullptr);
    Passes(1);
    Vlt_ChannelGroup* callee = CalleeGroup();
    ASSERT_NE(callee, nullptr);

    // The group's own share of its tree count, apart from the engine's per-pass count.
    auto local = [&] { return callee->GetTreeCalculateCount() - engine_->GetTreeCalculateCount(); };
    const int before = local();
    Vlt_Channel* start = caller->GetChannel("Start");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(start->GetChild(0), callee->GetChannel("Out"));
    EXPECT_EQ(local() - before, 3 * c.risePerCall);
    // A call without arguments leaves the target with no parameter channel.
    // The target's parameter 0 is the caller's argument; a call without arguments leaves the
    // target with no parameter channel.
    EXPECT_EQ(callee->GetParameterChannel(0),
              c.withArgument ? caller->GetChannel("Arg0") : nullptr);
    ext_->ReleaseGroups();
  }
}

}  // namespace
}  // namespace publiccalltest
