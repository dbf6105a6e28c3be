// The host object: exports, start-up, the main loop and shutdown, and project loading as far
// as it goes without a project reader.
#include "HostFixture.h"

namespace hosttest {
namespace {

using namespace testplugins;

class EngineControlTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearTestLog(); }

  // A started engine with the good plug-in registered.
  EngineControl* Start() {
    control_ = GetEngineControlInstance();
    control_->SetInstallDir(InstallDir().c_str());
    control_->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\Control");
    char className[] = "Vexilon Test Host";
    int window = 0;
    EXPECT_TRUE(control_->InitEngine(nullptr, className, &window));
    AddPlugin(control_->GetEngineInterface(), kGoodType, kGoodFile);
    return control_;
  }
  // A start group whose start channel is a good channel.
  TestGoodChannel* StartChannel() {
    EngineInterface* engine = control_->GetEngineInterface();
    Vlt_ChannelGroup* group = engine->CreateNewGroup("Start", false, 0);
    auto* good =
        static_cast<TestGoodChannel*>(engine->InitChannelFromType(kGoodType, group, false));
    engine->GetExt()->SetStartGroup(group->GetGroupIndex());
    return good;
  }
  void TearDown() override { delete control_; }

  ScopedRegistry registry_;
  BoxRecorder boxes_;
  EngineControl* control_ = nullptr;
};

TEST_F(EngineControlTest, ExportsAndAFreshObject) {
  EXPECT_EQ(GetEngineVersion(), 57);
  control_ = GetEngineControlInstance();
  ASSERT_NE(control_, nullptr);
  EXPECT_EQ(control_->GetEngineInterface(), nullptr);
  EXPECT_FALSE(control_->GetIfKeepRunningApplication());
  control_->EngineLoop();  // nothing to run
  control_->ProcessWindowMessage(nullptr, 1, 2, 3);
}

TEST_F(EngineControlTest, StartUpHandsOverTheSettingsAndInstallsTheSink) {
  runtimeHost = false;
  Start();
  EngineInterface* engine = control_->GetEngineInterface();
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(runtimeHost);
  EXPECT_EQ(engine->GetInstallDir(), InstallDir());
  EXPECT_STREQ(engine->GetEngineClassName(), "Vexilon Test Host");
  EXPECT_NE(engine->GetWindowHandle(), nullptr);
  EXPECT_NE(debugOutPut, nullptr);
  // The sink created the logging switch, off.
  char value[8];
  ASSERT_TRUE(engine->GetExt()->GetRegData("WriteErrorLog", value, sizeof(value)));
  EXPECT_STREQ(value, "No");

  delete control_;
  control_ = nullptr;
  EXPECT_EQ(debugOutPut, nullptr);
}

TEST_F(EngineControlTest, SettingsAreBounded) {
  control_ = GetEngineControlInstance();
  const std::string dir(450, 'd');
  control_->SetInstallDir(dir.c_str());
  control_->SetInstallDir(nullptr);  // ignored
  std::string key(700, 'k');
  control_->SetLumenarRegKey(key.c_str());
  char className[] = "Host";
  ASSERT_TRUE(control_->InitEngine(nullptr, className, nullptr));
  EngineInterface* engine = control_->GetEngineInterface();
  // The control keeps 399 characters; the engine takes 299 of them.
  EXPECT_EQ(std::string(engine->GetInstallDir()), std::string(299, 'd'));
}

TEST_F(EngineControlTest, EachPassTicksThenCallsTheStartGroup) {
  Start();
  TestGoodChannel* good = StartChannel();
  ASSERT_NE(good, nullptr);
  EngineInterface* engine = control_->GetEngineInterface();
  for (int pass = 1; pass <= 1000; ++pass) control_->EngineLoop();
  EXPECT_EQ(engine->GetTreeCalculateCount(), 1000);
  EXPECT_EQ(good->events[0], 1000);
  EXPECT_EQ(good->calls, 1000);
  EXPECT_EQ(good->repeats, 0);
  EXPECT_EQ(good->treeCountAtEvent0, 1000);
}

TEST_F(EngineControlTest, PassDoesNotReenterItself) {
  Start();
  TestGoodChannel* good = StartChannel();
  good->reenter = control_;
  control_->EngineLoop();
  EXPECT_EQ(control_->GetEngineInterface()->GetTreeCalculateCount(), 1);
  EXPECT_EQ(good->calls, 1);
  EXPECT_EQ(good->events[0], 1);
}

TEST_F(EngineControlTest, DeletedStartGroupStillTicks) {
  Start();
  TestGoodChannel* good = StartChannel();
  EngineInterface* engine = control_->GetEngineInterface();
  control_->EngineLoop();
  // A second good channel, outside any group, keeps listening to event 0.
  auto* listener =
      static_cast<TestGoodChannel*>(engine->InitChannelFromType(kGoodType, nullptr, false));
  engine->DeleteChannelGroup(good->GetChannelGroup()->GetGroupIndex());
  control_->EngineLoop();
  EXPECT_EQ(engine->GetTreeCalculateCount(), 2);
  EXPECT_EQ(listener->events[0], 1);
  delete listener;
}

TEST_F(EngineControlTest, WindowMessagesBecomeEventOne) {
  Start();
  TestGoodChannel* good = StartChannel();
  control_->GetEngineInterface()->AddChannelToEvent(good, 1);
  int window = 0;
  control_->ProcessWindowMessage(&window, 0x0100, 65, 1 << 20);
  EXPECT_EQ(good->events[1], 1);
  EXPECT_EQ(good->lastMessage.message, 0x0100u);
  EXPECT_EQ(good->lastMessage.wParam, 65u);
  EXPECT_EQ(good->lastMessage.lParam, 1 << 20);
  EXPECT_EQ(good->lastMessage.window, &window);
}

TEST_F(EngineControlTest, KeepRunningFollowsTheEngineFlag) {
  Start();
  EXPECT_FALSE(control_->GetIfKeepRunningApplication());
  control_->GetEngineInterface()->GetExt()->SetIfKeepRunningApplication(true);
  EXPECT_TRUE(control_->GetIfKeepRunningApplication());
}

TEST_F(EngineControlTest, NoFileDialogModule) {
  Start();
  control_->GetEngineInterface()->CreateNewGroup("Old", false, 0);
  EXPECT_EQ(control_->LoadProject(), 1);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text,
            "The lumenar viewer was unable to start the file dialog module. Please re-install the "
            "viewer package.");
  EXPECT_EQ(boxes_.boxes[0].caption, "Lumenar Error");
  EXPECT_EQ(boxes_.boxes[0].icon, vplat::Icon::Error);
  EXPECT_EQ(boxes_.boxes[0].buttons, vplat::Buttons::Ok);
  // Nothing was released: the dialog failed before the old project went.
  EXPECT_NE(control_->GetEngineInterface()->GetChannelGroup(0), nullptr);
}

TEST_F(EngineControlTest, DialogWithoutAChoiceReleasesGroupsAndGivesThree) {
  Start();
  EngineInterface* engine = control_->GetEngineInterface();
  AddPlugin(engine, kFileDialogType, kFileDialogFile);
  engine->CreateNewGroup("Old", false, 0);
  EXPECT_EQ(control_->LoadProject(), 3);
  EXPECT_EQ(TestLog(),
            "unload:FileDialog;init:FileDialog;dialog:Lumenar file (*.lmr)|lmr|;~FileDialog;");
  EXPECT_EQ(engine->GetChannelGroupCount(), 0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(EngineControlTest, CommandLineGoesToTheProjectReader) {
  Start();
  char path[] = "project.lmr";
  control_->SetCommandLine(path);
  // The test installation has no file loader, so the project reader cannot read the file.
  EXPECT_EQ(control_->LoadProject(), 1);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text,
            "The lumenar viewer was unable to start the file loading module. Please re-install "
            "the viewer package.");
}

TEST_F(EngineControlTest, DestroyingWithoutAnEngineDoesNothing) {
  control_ = GetEngineControlInstance();
  MessageRecorder messages;
  delete control_;
  control_ = nullptr;
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(EngineControlTest, ShutdownReleasesEverything) {
  Start();
  StartChannel();
  control_->EngineLoop();
  delete control_;
  control_ = nullptr;
  // The probe's module went at once, the loaded one at shutdown after its channel.
  EXPECT_EQ(TestLog(), "unload:Good;init:Good;~Good;unload:Good;");
}

}  // namespace
}  // namespace hosttest
