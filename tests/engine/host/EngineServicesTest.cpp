// Events, the frame counter, unique channels, debug texts, registry settings and listeners.
#include "HostFixture.h"

namespace hosttest {
namespace {

class EngineServicesTest : public HostTest {};

TEST_F(EngineServicesTest, EventsReachSubscribersInOrderAsOftenAsSubscribed) {
  TestGoodChannel* first = NewGood(nullptr);
  TestGoodChannel* second = NewGood(nullptr);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->SetChannelName("first");
  second->SetChannelName("second");
  first->logEvents = second->logEvents = true;
  engine_->AddChannelToEvent(second, 1);
  engine_->AddChannelToEvent(first, 1);
  engine_->AddChannelToEvent(first, 1);
  engine_->AddChannelToEvent(first, -1);   // ignored
  engine_->AddChannelToEvent(nullptr, 1);  // ignored
  ClearTestLog();

  ext_->ProcessWindowMessage(nullptr, 0x0201, 7, -5);
  EXPECT_EQ(TestLog(), "event1:second;event1:first;event1:first;");
  EXPECT_EQ(ext_->GetCurrentEvent(), 1);
  EXPECT_EQ(first->lastMessage.message, 0x0201u);
  EXPECT_EQ(first->lastMessage.wParam, 7u);
  EXPECT_EQ(first->lastMessage.lParam, -5);

  // One removal takes both subscriptions of the pair.
  engine_->RemoveChannelFromEvent(first, 1);
  ClearTestLog();
  ext_->ProcessWindowMessage(nullptr, 0x0202, 0, 0);
  EXPECT_EQ(TestLog(), "event1:second;");

  delete first;
  delete second;
}

TEST_F(EngineServicesTest, SubscriptionMadeDuringADispatchIsReachedInIt) {
  TestGoodChannel* trigger = NewGood(nullptr);
  TestGoodChannel* late = NewGood(nullptr);
  engine_->AddChannelToEvent(trigger, 1);
  trigger->subscribeOnEvent1 = late;
  ext_->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_EQ(late->events[1], 1);
  delete trigger;
  delete late;
}

TEST_F(EngineServicesTest, LeavingDuringADispatchSkipsNoOtherSubscriber) {
  TestGoodChannel* leaving = NewGood(nullptr);
  TestGoodChannel* next = NewGood(nullptr);
  engine_->AddChannelToEvent(leaving, 1);
  engine_->AddChannelToEvent(next, 1);
  leaving->unsubscribeOnEvent1 = true;
  ext_->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_EQ(leaving->events[1], 1);
  EXPECT_EQ(next->events[1], 1);
  // Gone for the next dispatch.
  ext_->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_EQ(leaving->events[1], 1);
  EXPECT_EQ(next->events[1], 2);
  delete leaving;
  delete next;
}

TEST_F(EngineServicesTest, TickAdvancesTheCounterAndSendsEventZero) {
  TestGoodChannel* good = NewGood(nullptr);  // subscribes to event 0 itself
  EXPECT_EQ(ext_->GetCurrentEvent(), -1);
  ext_->IncreaseTreeCount();
  EXPECT_EQ(engine_->GetTreeCalculateCount(), 1);
  EXPECT_EQ(good->events[0], 1);
  EXPECT_EQ(good->treeCountAtEvent0, 1);
  EXPECT_EQ(ext_->GetCurrentEvent(), 0);

  struct Case {
    int before, after;
  };
  for (const Case& c : {Case{29999, 30000}, Case{30000, 0}, Case{0, 1}}) {
    engine_->SetTreeCalculateCount(c.before);
    ext_->IncreaseTreeCount();
    EXPECT_EQ(engine_->GetTreeCalculateCount(), c.after) << c.before;
  }
  delete good;
}

TEST_F(EngineServicesTest, NoEventsAfterRelease) {
  TestGoodChannel* good = NewGood(engine_->CreateNewGroup("G", false, 0));
  engine_->AddChannelToEvent(good, 1);
  ext_->Release();
  EXPECT_EQ(ext_->GetCurrentEvent(), -3);
  ext_->ProcessWindowMessage(nullptr, 1, 0, 0);  // the channel is gone; nothing may reach it
  ext_->IncreaseTreeCount();
  EXPECT_EQ(ext_->GetCurrentEvent(), -3);
  EXPECT_TRUE(messages_.Contains("Libraries loaded :  1"));
}

TEST_F(EngineServicesTest, UniqueChannelsAreKeyedByTypeAndName) {
  Vlt_Channel* named = engine_->GetUniqueChannel(testplugins::kGoodType, "Clock");
  ASSERT_NE(named, nullptr);
  EXPECT_STREQ(named->GetChannelName(), "Clock");
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kGoodType, "clock"), named);
  // Without a name any channel of the type will do.
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kGoodType, nullptr), named);
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kGoodType, ""), named);
  // A different name makes a second one.
  Vlt_Channel* other = engine_->GetUniqueChannel(testplugins::kGoodType, "Other");
  EXPECT_NE(other, named);
  EXPECT_EQ(ext_->GetUniqueChannelCount(), 2);

  // Long names are keyed by their last 59 characters.
  const std::string tail(59, 'k');
  Vlt_Channel* longName = engine_->GetUniqueChannel(testplugins::kGoodType, ("AAA" + tail).c_str());
  ASSERT_NE(longName, nullptr);
  EXPECT_EQ(std::string(longName->GetChannelName()), tail);
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kGoodType, ("B" + tail).c_str()), longName);

  // The record-taking form uses only the type GUID.
  ChannelType record;
  record.typeGuid = testplugins::kGoodType;
  EXPECT_EQ(engine_->GetUniqueChannel(record, "Other"), other);
}

TEST_F(EngineServicesTest, UnnamedUniqueChannelIsNotReturnedForAName) {
  Vlt_Channel* unnamed = engine_->GetUniqueChannel(testplugins::kGoodType, nullptr);
  ASSERT_NE(unnamed, nullptr);
  unnamed->SetChannelName(nullptr);
  Vlt_Channel* named = engine_->GetUniqueChannel(testplugins::kGoodType, "K");
  EXPECT_NE(named, unnamed);
  EXPECT_EQ(ext_->GetUniqueChannelCount(), 2);
}

TEST_F(EngineServicesTest, UniqueChannelFailures) {
  EXPECT_EQ(engine_->GetUniqueChannel(VLT_NULL_GUID, "x"), nullptr);
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"GUID of channel not found!\nCould not add unique channel!"});
  messages_.messages.clear();
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kMissingType, "x"), nullptr);
  EXPECT_EQ(ext_->GetUniqueChannelCount(), 0);

  ext_->Release();
  messages_.messages.clear();
  EXPECT_EQ(engine_->GetUniqueChannel(testplugins::kGoodType, "late"), nullptr);
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{
                "A unique channel is requested only the Lumenar engine is not initialized yet or "
                "not initialized anymore, unique name (GUID on next line):  late",
                "A1B2C3D4-0001-4E00-8000-000000000001"}));
}

TEST_F(EngineServicesTest, DebugTextsHaveTenSlotsOf298Characters) {
  const std::string longText(400, 'd');
  ext_->DebugOut(longText.c_str(), 9);
  EXPECT_EQ(std::string(ext_->GetDebug(9)), std::string(298, 'd'));
  ext_->DebugOut("zero", 0);
  ext_->DebugOut("ignored", 10);
  ext_->DebugOut("ignored", -1);
  EXPECT_STREQ(ext_->GetDebug(0), "zero");
  EXPECT_EQ(ext_->GetDebug(10), nullptr);
  EXPECT_EQ(ext_->GetDebug(-1), nullptr);
}

TEST_F(EngineServicesTest, RegistrySettingsRoundTrip) {
  char buffer[16];
  EXPECT_FALSE(ext_->GetRegData("Missing", buffer, sizeof(buffer)));
  ASSERT_TRUE(ext_->SetRegData("Greeting", "hello"));
  std::memset(buffer, 'x', sizeof(buffer));
  ASSERT_TRUE(ext_->GetRegData("greeting", buffer, sizeof(buffer)));
  EXPECT_STREQ(buffer, "hello");
  // Longer than the buffer: refused. As long as the buffer: cut to keep the terminator.
  EXPECT_FALSE(ext_->GetRegData("Greeting", buffer, 4));
  char exact[5];
  ASSERT_TRUE(ext_->GetRegData("Greeting", exact, 5));
  EXPECT_STREQ(exact, "hell");
  // Values the 1200-byte read area cannot hold are refused.
  const std::string huge(1300, 'h');
  ASSERT_TRUE(ext_->SetRegData("Huge", huge.c_str()));
  std::vector<char> big(2000);
  EXPECT_FALSE(ext_->GetRegData("Huge", big.data(), static_cast<int>(big.size())));
}

TEST_F(EngineServicesTest, FlagsAndSimpleState) {
  EXPECT_EQ(ext_->GetInterfaceID(), 57);
  EXPECT_TRUE(engine_->GetGraphRunning());
  ext_->SetGraphRunning(false);
  EXPECT_FALSE(engine_->GetGraphRunning());
  EXPECT_FALSE(ext_->GetIfTrackChannelCalling());
  ext_->SetIfTrackChannelCalling(true);
  EXPECT_TRUE(ext_->GetIfTrackChannelCalling());
  int marker = 0;
  ext_->SetWindowHandle(&marker);
  ext_->SetWindowHandle(nullptr);  // ignored
  EXPECT_EQ(engine_->GetWindowHandle(), &marker);
  EXPECT_STREQ(engine_->GetEngineClassName(), "Vexilon Test Host");
  EXPECT_EQ(engine_->GetInstallDir(), InstallDir());
  EXPECT_NE(ext_->GetChannelPoolManagement(), nullptr);
}

TEST_F(EngineServicesTest, InstallDirAndKeyAreBounded) {
  const std::string longDir(450, 'i');
  ext_->SetInstallDir(longDir.c_str());
  EXPECT_EQ(std::string(engine_->GetInstallDir()), std::string(299, 'i'));
  ext_->SetInstallDir(nullptr);
  EXPECT_EQ(std::string(engine_->GetInstallDir()), std::string(299, 'i'));
}

class RecordingListener : public EngineListener {
 public:
  void OnAboutToReleaseChannel(Vlt_Channel* channel) override { heard.push_back(channel); }
  std::vector<Vlt_Channel*> heard;
};

TEST_F(EngineServicesTest, ListenersRegisterWithTheGlobalEngine) {
  TestGoodChannel* good = NewGood(nullptr);  // sets globalEngine to this engine
  ASSERT_EQ(globalEngine, engine_.get());
  {
    RecordingListener a;
    RecordingListener b;
    engine_->AboutToReleaseChannel(good);
    EXPECT_EQ(a.heard, std::vector<Vlt_Channel*>{good});
    EXPECT_EQ(b.heard, std::vector<Vlt_Channel*>{good});
  }
  // Both unregistered themselves; a new one takes a freed entry and is called alone.
  RecordingListener c;
  engine_->AboutToReleaseChannel(good);
  EXPECT_EQ(c.heard.size(), 1u);
  delete good;
}

}  // namespace
}  // namespace hosttest
