#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "ShowDebugMessage.h"
#include "VltGuid.h"
#include "support/MessageRecorder.h"

namespace {

struct MessageClass {
  const char* name;
  std::unique_ptr<ShowDebugMessage> (*make)();
  int type;
  const char* caption;
};

template <typename T>
std::unique_ptr<ShowDebugMessage> Make() {
  return std::make_unique<T>();
}

const MessageClass kClasses[] = {
    {"ShowDebugMessage", Make<ShowDebugMessage>, 0, "Debug"},
    {"ShowErrorMessage", Make<ShowErrorMessage>, 1, "Error"},
    {"ShowInfoMessage", Make<ShowInfoMessage>, 2, "Info"},
    {"ShowMessageBox", Make<ShowMessageBox>, 3, "Message"},
    {"ShowUserInfoMessage", Make<ShowUserInfoMessage>, 4, "Error"},
    {"ShowUserWarningMessage", Make<ShowUserWarningMessage>, 5, "Error"},
    {"ShowUserErrorMessage", Make<ShowUserErrorMessage>, 6, "Error"},
};

TEST(DebugMessageTest, CarriesTextAndType) {
  DebugMessage m;
  EXPECT_EQ(m.GetDebugMessage(), nullptr);
  EXPECT_EQ(m.GetMessageType(), 0);
  std::string text = "copied";
  m.SetDebugMessage(text.c_str());
  text[0] = 'X';
  EXPECT_STREQ(m.GetDebugMessage(), "copied");
  m.SetMessageType(5);
  EXPECT_EQ(m.GetMessageType(), 5);
}

TEST(MessageClasses, WithASinkTheMessageGoesThereWithItsType) {
  BoxRecorder boxes;
  MessageRecorder sink;
  for (const auto& c : kClasses) {
    sink.messages.clear();
    c.make()->ShowMessage("hello");
    ASSERT_EQ(sink.messages.size(), 1u) << c.name;
    EXPECT_EQ(sink.messages[0].type, c.type) << c.name;
    EXPECT_EQ(sink.messages[0].text, "hello") << c.name;
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(MessageClasses, WithoutASinkShowMessageShowsAPlainBox) {
  ASSERT_EQ(debugOutPut, nullptr);
  BoxRecorder boxes;
  for (const auto& c : kClasses) {
    boxes.boxes.clear();
    c.make()->ShowMessage("no sink");
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes.boxes[0].text, "no sink");
    EXPECT_EQ(boxes.boxes[0].caption, c.caption) << c.name;
    EXPECT_EQ(boxes.boxes[0].buttons, vplat::Buttons::Ok);
    EXPECT_EQ(boxes.boxes[0].icon, vplat::Icon::None);
  }
}

TEST(MessageClasses, OperatorsAreSilentWithoutASink) {
  ASSERT_EQ(debugOutPut, nullptr);
  BoxRecorder boxes;
  ShowErrorMessage error;
  error("text");
  error(7);
  error(1.5);
  error(1.5f);
  error(7u);
  error(7ul);
  error(VLT_WILDCARD_GUID);
  error("a", "b");
  error("a", 1);
  error("a", 1.5f);
  EXPECT_TRUE(boxes.boxes.empty());
  error.ShowMessage("direct");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Error");
}

// The operators hand their text to the object's own ShowMessage, whatever class it is.
class CapturingMessage : public ShowDebugMessage {
 public:
  void ShowMessage(const char* text) override { texts.push_back(text ? text : "<null>"); }
  std::vector<std::string> texts;
};

class FormattingOperators : public ::testing::Test {
 protected:
  std::string Last() const { return shown.texts.empty() ? "<none>" : shown.texts.back(); }
  MessageRecorder sink;  // only needs to be installed
  CapturingMessage shown;
};

TEST_F(FormattingOperators, Numbers) {
  shown(7);
  EXPECT_EQ(Last(), "7.");
  shown(-3);
  EXPECT_EQ(Last(), "-3.");
  shown(2.5);
  EXPECT_EQ(Last(), "2.5");
  shown(0.1f);  // the float's own binary value, 50 digits
  EXPECT_EQ(Last(), "0.100000001490116119384765625");
  shown(4294967295ul);
  EXPECT_EQ(Last(), "4294967295.");
  shown(4000000000u);
  EXPECT_EQ(Last(), "4000000000.");
  shown(0.05);
  EXPECT_EQ(Last(), "5.0000000000000002775557561562891351059079170227051e-002");
}

TEST_F(FormattingOperators, GuidAndText) {
  const GUID g = {0x0A0B0C0D, 0xE0F, 0xABC, {0, 1, 2, 3, 0xFA, 0xFB, 0xFC, 0xFD}};
  shown(g);
  EXPECT_EQ(Last(), "0A0B0C0D-0E0F-0ABC-0001-0203FAFBFCFD");
  shown("plain");
  EXPECT_EQ(Last(), "plain");
}

TEST_F(FormattingOperators, TextPairs) {
  shown("first", "second");
  EXPECT_EQ(Last(), "first second");
  shown("first", nullptr);
  EXPECT_EQ(Last(), "first ");
  const size_t before = shown.texts.size();
  shown(nullptr, "second");
  EXPECT_EQ(shown.texts.size(), before);
}

TEST_F(FormattingOperators, TextWithNumbers) {
  shown("count", 42);
  EXPECT_EQ(Last(), "count 42");
  shown("count", -7);
  EXPECT_EQ(Last(), "count -7");
  shown("scale", 1.5f);
  EXPECT_EQ(Last(), "scale 1.5");
  shown("scale", 3.14159265f);  // five digits
  EXPECT_EQ(Last(), "scale 3.1416");
  shown("scale", 123456.0f);
  EXPECT_EQ(Last(), "scale 1.2346e+005");
  const size_t before = shown.texts.size();
  shown(nullptr, 3);
  shown(nullptr, 3.0f);
  EXPECT_EQ(shown.texts.size(), before);
}

TEST_F(FormattingOperators, LongTextsAreCutAtTheBufferSizes) {
  const std::string a500(500, 'a');
  const std::string a497(497, 'a');
  const std::string b200(200, 'b');
  const struct {
    const char* label;
    std::string a;
    std::string b;
    std::string expected;
  } pairs[] = {
      // a keeps 498 characters, leaving no room for the blank within 499.
      {"long a", a500, b200, std::string(498, 'a') + std::string(100, 'b')},
      // the blank fits, then b fills the whole up to 598 characters
      {"short a", a497, b200, a497 + " " + std::string(100, 'b')},
      {"fits", "x", b200, "x " + b200},
  };
  for (const auto& p : pairs) {
    shown(p.a.c_str(), p.b.c_str());
    EXPECT_EQ(Last(), p.expected) << p.label;
    EXPECT_LE(Last().size(), 598u);
  }

  shown(a500.c_str(), 12345);
  EXPECT_EQ(Last(), std::string(498, 'a'));
  shown(a497.c_str(), 12345);
  EXPECT_EQ(Last(), a497 + " ");
  shown(std::string(495, 'a').c_str(), 12345);
  EXPECT_EQ(Last(), std::string(495, 'a') + " 12");
  shown(std::string(494, 'a').c_str(), 1.5f);
  EXPECT_EQ(Last(), std::string(494, 'a') + " 1.5");
  shown(std::string(495, 'a').c_str(), 1.5f);
  EXPECT_EQ(Last(), std::string(495, 'a') + " 1.");
}

}  // namespace
