// The good plug-in: a channel that calls its children once per pass and counts its events.
#include <cstdio>
#include <string>

#include "TestGoodChannel.h"
#include "TestLog.h"
#include "TestPluginTypes.h"

namespace {

// Tells the log when the module goes away.
struct UnloadLogger {
  ~UnloadLogger() { testplugins::AppendLog("unload:Good"); }
} unloadLogger;

}  // namespace

TestGoodChannel::TestGoodChannel()
    : engineAtConstruction(globalEngine), moduleAtConstruction(globalDllInstance) {
  SetChannelName("Good");
  SetChildCreationCount(1);
  ChildCreation any;  // a variable position that takes any type
  SetChildCreateType(any, 0);
}

TestGoodChannel::~TestGoodChannel() {
  testplugins::AppendLog("~Good");
  if (engine != nullptr) {
    engine->RemoveChannelFromEvent(this, 0);
    engine->RemoveChannelFromEvent(this, 1);
  }
}

void TestGoodChannel::CallChannel() {
  if (!CheckRenderCount()) {
    ++repeats;
    return;
  }
  ++calls;
  if (reenter != nullptr) reenter->EngineLoop();
  for (int i = 0; i < GetChildCount(); ++i)
    if (Vlt_Channel* child = GetChild(i)) child->CallChannel();
}

void TestGoodChannel::OneTimeInitialize() {
  initialized = true;
  testplugins::AppendLog(std::string("init:") + (GetChannelName() ? GetChannelName() : ""));
  if (engine != nullptr) engine->AddChannelToEvent(this, 0);
}

void TestGoodChannel::DoEvent(int event, uintptr_t data) {
  if (event == 0 || event == 1) ++events[event];
  if (event == 0 && engine != nullptr) treeCountAtEvent0 = engine->GetTreeCalculateCount();
  if (event == 1 && data != 0) lastMessage = *reinterpret_cast<const TestWindowMessage*>(data);
  if (logEvents)
    testplugins::AppendLog("event" + std::to_string(event) + ":" +
                           (GetChannelName() ? GetChannelName() : ""));
  if (event == 1 && subscribeOnEvent1 != nullptr && engine != nullptr) {
    engine->AddChannelToEvent(subscribeOnEvent1, 1);
    subscribeOnEvent1 = nullptr;
  }
  if (event == 1 && unsubscribeOnEvent1 && engine != nullptr)
    engine->RemoveChannelFromEvent(this, 1);
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new TestGoodChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;
  snprintf(type.name, sizeof(type.name), "%s", "Test Good");
  type.typeGuid = testplugins::kGoodType;
  type.baseGuid = testplugins::kGoodType;
  type.version[2] = 0;
  return &type;
}
