// Test channels and a fixture with a real engine object and a message recorder.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "support/MessageRecorder.h"

namespace graphtest {

inline GUID MakeGuid(uint32_t n) {
  GUID g = {n, 0x1000, 0x2000, {1, 2, 3, 4, 5, 6, 7, static_cast<uint8_t>(n)}};
  return g;
}

// Type records for channels that have no module behind them.
inline ChannelType MakeType(const GUID& type, const GUID& base, const char* name = "Test") {
  ChannelType t;
  std::memset(t.name, 0, sizeof(t.name));
  std::strncpy(t.name, name, sizeof(t.name) - 1);
  t.typeGuid = type;
  t.baseGuid = base;
  return t;
}

const GUID kTypeA = MakeGuid(0xA);
const GUID kTypeB = MakeGuid(0xB);
const GUID kTypeX = MakeGuid(0x58);
const GUID kTypeY = MakeGuid(0x59);

// One link position: the type it accepts and whether it holds one child or any number.
struct Position {
  GUID accepts;
  bool single;
};

inline ChildCreation MakeCreation(const Position& p, int requestLink) {
  ChildCreation cc;
  cc.acceptedType.typeGuid = p.accepts;
  cc.acceptedType.baseGuid = p.accepts;
  cc.requestLink = p.single ? requestLink : -1;
  return cc;
}

// A channel as a plug-in would write it: positions declared in the constructor.
class TestChannel : public Vlt_Channel {
 public:
  explicit TestChannel(const std::vector<Position>& positions = {}, GUID type = kTypeA,
                       GUID base = kTypeA, const char* name = nullptr)
      : type_(MakeType(type, base)) {
    SetChannelName(name != nullptr ? name : "Test");
    SetChildCreationCount(static_cast<int>(positions.size()));
    for (size_t i = 0; i < positions.size(); ++i)
      SetChildCreateType(MakeCreation(positions[i], 100 + static_cast<int>(i)),
                         static_cast<int>(i));
  }

  ChannelType GetChannelType() override { return type_; }
  void CallChannel() override {
    ++calls;
    firstInPass.push_back(CheckRenderCount());
  }
  bool RenderCount() { return CheckRenderCount(); }

  int calls = 0;
  std::vector<bool> firstInPass;

 private:
  ChannelType type_;
};

// A real engine object as globalEngine, and every message recorded.
class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousEngine_ = globalEngine;
    engine_ = new EngineInterface();
    globalEngine = engine_;
  }
  void TearDown() override {
    for (Vlt_Channel* c : loose_) delete c;
    loose_.clear();
    delete engine_;
    globalEngine = previousEngine_;
  }

  // A channel that belongs to no group; deleted at the end of the test.
  TestChannel* Loose(const std::vector<Position>& positions = {}, GUID type = kTypeA,
                     GUID base = kTypeA, const char* name = nullptr) {
    TestChannel* c = new TestChannel(positions, type, base, name);
    loose_.push_back(c);
    return c;
  }

  // The flat child list, each entry written as the child's name, "-" for an empty entry or
  // "H<position>" for an empty head.
  static std::vector<std::string> Layout(Vlt_Channel* c) {
    std::vector<std::string> out;
    for (int i = 0; i < c->GetChildCount(); ++i) {
      ChildInfo* info = c->GetChildInfo(i);
      if (info == nullptr)
        out.push_back("null");
      else if (info->channel != nullptr)
        out.push_back(info->channel->GetChannelName());
      else if (info->isHead)
        out.push_back("H" + std::to_string(info->linkPosition));
      else
        out.push_back("-");
    }
    return out;
  }

  std::vector<RecordedMessage> Messages() const { return recorder_.messages; }

  MessageRecorder recorder_;
  EngineInterface* engine_ = nullptr;

 private:
  EngineInterface* previousEngine_ = nullptr;
  std::vector<Vlt_Channel*> loose_;
};

}  // namespace graphtest
