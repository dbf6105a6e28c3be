#include <gtest/gtest.h>

#include <string>

#include "EngineFixture.h"
#include "ShowDebug.h"

namespace {

class ShowDebugTest : public EngineFixture {
 protected:
  std::string Line(int n) const {
    const char* text = engine_->GetExt()->GetDebug(n);
    return text != nullptr ? text : "<null>";
  }
};

TEST_F(ShowDebugTest, OperatorsWriteTheirTextIntoTheLine) {
  ShowDebug show(engine_.get());
  show("plain", 0);
  show(1.5f, 1);
  show(7, 2);
  show(4000000000u, 3);
  show(3.14159265358979, 4);
  show("value ", 2.5f, 5);
  show("count=", 42, 6);
  show("left", "right", 7);
  show(1e20, 8);
  show(-0.001, 9);
  const char* expected[] = {"plain",     "1.5",      "7.",        "4000000000", "3.141592654",
                            "value 2.5", "count=42", "leftright", "1.e+020",    "-1.e-003"};
  for (int line = 0; line < 10; ++line) EXPECT_EQ(Line(line), expected[line]) << line;
}

TEST_F(ShowDebugTest, LineNumbersOutsideTheTenAreIgnored) {
  ShowDebug show(engine_.get());
  for (int line = 0; line < 10; ++line) show("kept", line);
  for (int bad : {10, -1}) {
    show("changed", bad);
    show(1, bad);
    show("a", "b", bad);
  }
  for (int line = 0; line < 10; ++line) EXPECT_EQ(Line(line), "kept") << line;
  EXPECT_EQ(Line(10), "<null>");
}

TEST_F(ShowDebugTest, TextsThatAreTooLongAreDropped) {
  ShowDebug show(engine_.get());
  show("before", 0);
  show(std::string(351, 'x').c_str(), 5, 0);
  show(std::string(351, 'x').c_str(), 5.0f, 0);
  show(std::string(200, 'a').c_str(), std::string(200, 'b').c_str(), 0);
  show(nullptr, 5, 0);
  show(nullptr, 5.0f, 0);
  show(nullptr, "b", 0);
  show("a", nullptr, 0);
  show(nullptr, 0);
  EXPECT_EQ(Line(0), "before");

  // At the limits the text goes through; the line itself keeps 298 characters.
  show(std::string(350, 'x').c_str(), 5, 1);
  EXPECT_EQ(Line(1), std::string(298, 'x'));
  show("abc", std::string(396, 'b').c_str(), 2);
  EXPECT_EQ(Line(2), "abc" + std::string(295, 'b'));
  show(std::string(3, 'x').c_str(), 5, 3);
  EXPECT_EQ(Line(3), "xxx5");
}

TEST_F(ShowDebugTest, WithoutAnEngineNothingHappens) {
  ShowDebug show;
  show("text", 0);
  show(1, 0);
  show("a", 1.0f, 0);
  show.SetEngineInterface(engine_.get());
  show("now", 0);
  EXPECT_EQ(Line(0), "now");
}

}  // namespace
