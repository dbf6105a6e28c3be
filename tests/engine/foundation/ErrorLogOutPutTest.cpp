#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "EngineFixture.h"
#include "support/MessageRecorder.h"

namespace {

class ErrorLogOutPutTest : public EngineFixture {
 protected:
  std::filesystem::path LogPath() const { return folder_ / "error.log"; }

  std::string LogBytes() const {
    std::ifstream in(LogPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The lines of error.log without their date and time, after checking each line's
  // "yyyy-MM-dd HH:mm:ss " start and its CR LF end.
  std::vector<std::string> LoggedTexts() const {
    const std::string bytes = LogBytes();
    std::vector<std::string> texts;
    const std::regex stamp(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} )");
    size_t start = 0;
    while (start < bytes.size()) {
      const size_t end = bytes.find("\r\n", start);
      EXPECT_NE(end, std::string::npos) << "line without CR LF";
      if (end == std::string::npos) break;
      const std::string line = bytes.substr(start, end - start);
      EXPECT_TRUE(std::regex_search(line, stamp)) << line;
      texts.push_back(line.size() >= 20 ? line.substr(20) : line);
      start = end + 2;
    }
    return texts;
  }

  std::string RegValue() const {
    std::string value;
    if (vplat::regGetString(vplat::RegRoot::LocalMachine, kRegKey, "WriteErrorLog", value) !=
        vplat::RegResult::Ok)
      return "<missing>";
    return value;
  }

  static void Send(DebugOutPut& sink, int type, const char* text) {
    DebugMessage message;
    message.SetMessageType(type);
    message.SetDebugMessage(text);
    sink.ShowDebugMessage(&message);
  }

  BoxRecorder boxes_;
};

TEST_F(ErrorLogOutPutTest, MissingSettingIsCreatedAsNoAndNothingIsLogged) {
  ASSERT_EQ(RegValue(), "<missing>");
  ErrorLogOutPut sink(engine_.get());
  EXPECT_EQ(RegValue(), "No");
  Send(sink, VLT_MSG_ERROR, "not logged");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ErrorLogOutPutTest, SettingDecidesWhetherToLog) {
  const struct {
    const char* value;
    bool logs;
  } cases[] = {{"No", false}, {"no", false},  {"NO", false}, {"Yes", true},
               {"1", true},   {"Nope", true}, {"N", true}};
  for (const auto& c : cases) {
    std::filesystem::remove(LogPath());
    SetWriteErrorLog(c.value);
    ErrorLogOutPut sink(engine_.get());
    EXPECT_EQ(RegValue(), c.value) << "an existing value is left as it is";
    Send(sink, VLT_MSG_ERROR, "text");
    EXPECT_EQ(std::filesystem::exists(LogPath()), c.logs) << c.value;
  }
}

TEST_F(ErrorLogOutPutTest, EachTypeIsLoggedWithItsPrefix) {
  SetWriteErrorLog("Yes");
  ErrorLogOutPut sink(engine_.get());
  const struct {
    int type;
    const char* line;
  } cases[] = {
      {VLT_MSG_DEBUG, "Debug: a debug text"}, {VLT_MSG_ERROR, "Error: an error text"},
      {VLT_MSG_INFO, "Info : an info text"},  {VLT_MSG_MESSAGEBOX, "a box text"},
      {VLT_MSG_USERINFO, "a user info"},      {VLT_MSG_USERWARNING, "a user warning"},
      {VLT_MSG_USERERROR, "a user error"},    {42, "an unknown type"},
  };
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    const std::string line = c.line;
    const size_t prefix = line.find(": ");
    const std::string text = c.type <= VLT_MSG_INFO ? line.substr(prefix + 2) : line;
    Send(sink, c.type, text.c_str());
    expected.push_back(line);
  }
  EXPECT_EQ(LoggedTexts(), expected);
  // Only the message-box type reaches the screen.
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text, "a box text");
  EXPECT_EQ(boxes_.boxes[0].caption, "Message");
  EXPECT_EQ(boxes_.boxes[0].buttons, vplat::Buttons::Ok);
  EXPECT_EQ(boxes_.boxes[0].icon, vplat::Icon::None);
}

TEST_F(ErrorLogOutPutTest, LinesAreAppendedToAnExistingLog) {
  {
    std::ofstream out(LogPath(), std::ios::binary);
    out << "earlier\r\n";
  }
  SetWriteErrorLog("Yes");
  ErrorLogOutPut sink(engine_.get());
  Send(sink, VLT_MSG_INFO, "later");
  const std::string bytes = LogBytes();
  ASSERT_EQ(bytes.rfind("earlier\r\n", 0), 0u) << bytes;
  const std::string added = bytes.substr(9);
  EXPECT_TRUE(std::regex_match(
      added, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} Info : later\r\n)")))
      << added;
}

TEST_F(ErrorLogOutPutTest, MessageBoxIsShownWhenLoggingIsOff) {
  ErrorLogOutPut sink(engine_.get());  // setting missing: off
  Send(sink, VLT_MSG_MESSAGEBOX, "shown anyway");
  Send(sink, VLT_MSG_USERERROR, "only for the log");
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text, "shown anyway");
  EXPECT_EQ(boxes_.boxes[0].caption, "Message");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST_F(ErrorLogOutPutTest, DroppedMessages) {
  SetWriteErrorLog("Yes");
  ErrorLogOutPut sink(engine_.get());
  sink.ShowDebugMessage(nullptr);
  DebugMessage noText;
  noText.SetMessageType(VLT_MSG_MESSAGEBOX);
  sink.ShowDebugMessage(&noText);
  sink.SetUseDebug(false);
  Send(sink, VLT_MSG_MESSAGEBOX, "silenced");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_TRUE(boxes_.boxes.empty());
  sink.SetUseDebug(true);
  Send(sink, VLT_MSG_MESSAGEBOX, "back");
  EXPECT_EQ(LoggedTexts(), std::vector<std::string>{"back"});
  EXPECT_EQ(boxes_.boxes.size(), 1u);
}

TEST_F(ErrorLogOutPutTest, WithoutAnInstallFolderOnlyTheBoxRemains) {
  SetWriteErrorLog("Yes");
  engine_->GetExt()->SetInstallDir("");
  ErrorLogOutPut sink(engine_.get());
  Send(sink, VLT_MSG_MESSAGEBOX, "box");
  EXPECT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST_F(ErrorLogOutPutTest, WithoutAnEngineNothingIsLoggedButBoxesShow) {
  ErrorLogOutPut sink(nullptr);
  Send(sink, VLT_MSG_ERROR, "nowhere");
  Send(sink, VLT_MSG_MESSAGEBOX, "box");
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(RegValue(), "<missing>");
}

TEST_F(ErrorLogOutPutTest, EngineMessageClassesReachTheLogThroughTheGlobalSink) {
  SetWriteErrorLog("Yes");
  ErrorLogOutPut sink(engine_.get());
  DebugOutPut* previous = debugOutPut;
  debugOutPut = &sink;
  engine_->showErrorMessage_("Missing channel", 3);
  engine_->showUserWarningMessage_.ShowMessage("user warning");
  engine_->showInfoMessage_(7);
  debugOutPut = previous;
  EXPECT_EQ(LoggedTexts(),
            (std::vector<std::string>{"Error: Missing channel 3", "user warning", "Info : 7."}));
  EXPECT_TRUE(boxes_.boxes.empty());
}

}  // namespace
