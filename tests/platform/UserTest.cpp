// Message boxes without a user: recorded by a test sink, or written to standard error and
// answered from VEXILON_ANSWERS or by the safe default.
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using vplat::Answer;
using vplat::Buttons;
using vplat::Icon;
using vplat_test::EnvOverride;

struct Box {
  std::string text, caption;
  Buttons buttons;
  Icon icon;
};

class Recorder : public vplat::UserSink {
 public:
  Answer OnMessageBox(vplat::WindowHandle, const char* text, const char* caption, Buttons buttons,
                      Icon icon) override {
    boxes.push_back(Box{text, caption, buttons, icon});
    return answer;
  }
  std::vector<Box> boxes;
  Answer answer = Answer::Retry;
};

// The headless path on every platform: on Windows no real box may appear.
class HeadlessTest : public ::testing::Test {
 protected:
  EnvOverride headless_{"VEXILON_HEADLESS", "1"};
  EnvOverride answers_{"VEXILON_ANSWERS", nullptr};
};

std::string Queue() {
  std::string q;
  return vplat::getEnv("VEXILON_ANSWERS", q) ? q : "<unset>";
}

TEST_F(HeadlessTest, AnswersFromTheQueueWhenTheAnswerFitsElseTheSafeDefault) {
  struct Case {
    const char* queue;  // null: variable not set
    Buttons buttons;
    Answer expected;
    const char* rest;  // what the queue holds afterwards
  };
  const Case cases[] = {
      // Safe defaults.
      {nullptr, Buttons::Ok, Answer::Ok, "<unset>"},
      {nullptr, Buttons::YesNo, Answer::No, "<unset>"},
      {nullptr, Buttons::OkCancel, Answer::Cancel, "<unset>"},
      {nullptr, Buttons::YesNoCancel, Answer::Cancel, "<unset>"},
      {nullptr, Buttons::RetryCancel, Answer::Cancel, "<unset>"},
      {"", Buttons::YesNo, Answer::No, ""},
      // Queued answers, one taken per box, written in any case and spacing.
      {"yes,no", Buttons::YesNo, Answer::Yes, "no"},
      {" No ,yes", Buttons::YesNoCancel, Answer::No, "yes"},
      {"RETRY", Buttons::RetryCancel, Answer::Retry, ""},
      {"ok", Buttons::OkCancel, Answer::Ok, ""},
      {"cancel,ok", Buttons::YesNoCancel, Answer::Cancel, "ok"},
      // An answer the box does not offer, or no answer at all, is used up and defaulted.
      {"yes,ok", Buttons::Ok, Answer::Ok, "ok"},
      {"retry", Buttons::YesNo, Answer::No, ""},
      {"ok", Buttons::RetryCancel, Answer::Cancel, ""},
      {"maybe,yes", Buttons::YesNo, Answer::No, "yes"},
      {",yes", Buttons::YesNo, Answer::No, "yes"},
  };
  for (const Case& c : cases) {
    vplat::setEnv("VEXILON_ANSWERS", c.queue);
    testing::internal::CaptureStderr();
    Answer got = vplat::messageBox(nullptr, "text", "caption", c.buttons, Icon::Question);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(got, c.expected) << (c.queue ? c.queue : "<unset>");
    EXPECT_EQ(Queue(), c.rest) << (c.queue ? c.queue : "<unset>");
  }
}

TEST_F(HeadlessTest, QueueIsConsumedBoxByBoxThenDefaults) {
  vplat::setEnv("VEXILON_ANSWERS", "yes,no,cancel");
  std::vector<Answer> got;
  testing::internal::CaptureStderr();
  for (int i = 0; i < 4; ++i)
    got.push_back(vplat::messageBox(nullptr, "Save?", "Viewer", Buttons::YesNoCancel, Icon::None));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(got, (std::vector<Answer>{Answer::Yes, Answer::No, Answer::Cancel, Answer::Cancel}));
}

TEST_F(HeadlessTest, BoxIsWrittenToStandardErrorCaptionFirst) {
  testing::internal::CaptureStderr();
  vplat::messageBox(nullptr, "Project could not be loaded.\nSee error.log.", "Lumenar Error",
                    Buttons::Ok, Icon::Error);
  const std::string err = testing::internal::GetCapturedStderr();
  const size_t caption = err.find("Lumenar Error");
  const size_t text = err.find("Project could not be loaded.\nSee error.log.");
  ASSERT_NE(caption, std::string::npos) << err;
  ASSERT_NE(text, std::string::npos) << err;
  EXPECT_LT(caption, text);
  EXPECT_EQ(err.find('\n', caption), text - 1) << "the caption has a line of its own:\n" << err;
}

TEST_F(HeadlessTest, RecorderReceivesEveryBoxUntilRemoved) {
  Recorder recorder;
  vplat::setUserSink(&recorder);
  vplat::setEnv("VEXILON_ANSWERS", "yes");
  EXPECT_EQ(vplat::messageBox(nullptr, "one", "cap1", Buttons::YesNo, Icon::Warning),
            Answer::Retry);
  recorder.answer = Answer::Ok;
  EXPECT_EQ(vplat::messageBox(nullptr, "two", "cap2", Buttons::OkCancel, Icon::Information),
            Answer::Ok);
  vplat::setUserSink(nullptr);

  ASSERT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(recorder.boxes[0].text, "one");
  EXPECT_EQ(recorder.boxes[0].caption, "cap1");
  EXPECT_EQ(recorder.boxes[0].buttons, Buttons::YesNo);
  EXPECT_EQ(recorder.boxes[0].icon, Icon::Warning);
  EXPECT_EQ(recorder.boxes[1].text, "two");
  EXPECT_EQ(recorder.boxes[1].buttons, Buttons::OkCancel);
  // The recorder answered; the queue is untouched until the default path takes over again.
  EXPECT_EQ(Queue(), "yes");
  testing::internal::CaptureStderr();
  EXPECT_EQ(vplat::messageBox(nullptr, "three", "cap3", Buttons::YesNo, Icon::None), Answer::Yes);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(recorder.boxes.size(), 2u);
}

}  // namespace
