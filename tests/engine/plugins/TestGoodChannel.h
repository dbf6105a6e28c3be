// The good test plug-in's channel. Tests read its counters through this declaration; only the
// plug-in defines its functions.
#pragma once

#include <cstdint>

#include "Vexilon.h"

// The record event 1 carries, as the engine lays it out.
struct TestWindowMessage {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
  VltWindow window;
};

class TestGoodChannel : public Vlt_Channel {
 public:
  TestGoodChannel();
  ~TestGoodChannel() override;
  // Once per pass: counts, then calls every child.
  void CallChannel() override;
  // Subscribes to event 0.
  void OneTimeInitialize() override;
  void DoEvent(int event, uintptr_t data) override;

  int calls = 0;    // passes that did work
  int repeats = 0;  // further calls in a pass that already did work
  int events[2] = {0, 0};
  TestWindowMessage lastMessage = {0, 0, 0, nullptr};
  int treeCountAtEvent0 = -1;
  bool initialized = false;
  // The globals as the constructor saw them.
  EngineInterface* engineAtConstruction = nullptr;
  VltInstance moduleAtConstruction = nullptr;
  // Test controls: log each event with the channel's name; subscribe another channel to event 1
  // while event 1 is dispatched, or leave event 1 then; call a host's EngineLoop from inside a
  // pass.
  bool logEvents = false;
  Vlt_Channel* subscribeOnEvent1 = nullptr;
  bool unsubscribeOnEvent1 = false;
  EngineControl* reenter = nullptr;
};
