#include "FilePathFindW.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineInterface.h"
#include "Vlt_ChannelGroup.h"
#include "support/MessageRecorder.h"

namespace {

std::u16string W(const std::string& s) {
  std::u16string out;
  for (unsigned char c : s) out += static_cast<char16_t>(c);
  return out;
}

std::string N(const char16_t* s) {
  std::string out;
  for (; s != nullptr && *s != 0; ++s) out += static_cast<char>(*s);
  return out;
}

struct WideCase {
  const char* source;
  const char* path;
  const char* complete;  // GetCompleteFilePath (path)
};

// The wide finder answers what the narrow one does, character for character.
TEST(FilePathFindW, ResolvesTheSameTables) {
  const WideCase cases[] = {
      {"C:\\proj\\groups\\main.cgr", "x.cgr", "C:\\proj\\groups\\x.cgr"},
      {"C:\\proj\\groups\\main.cgr", "sub\\x.cgr", "C:\\proj\\groups\\sub\\x.cgr"},
      {"C:\\proj\\groups\\main.cgr", "..\\..\\data\\x.cgr", "C:\\data\\x.cgr"},
      {"C:\\proj\\groups\\main.cgr", "\\x.cgr", "C:\\x.cgr"},
      {"/proj/groups/main.cgr", "..\\x.cgr", "/proj/x.cgr"},
      {"/proj/groups/main.cgr", "sub/x.cgr", "/proj/groups/sub/x.cgr"}};
  for (const auto& c : cases) {
    FilePathFindW f;
    f.SetSourcePath(W(c.source).c_str());
    EXPECT_EQ(N(f.GetCompleteFilePath(W(c.path).c_str())), c.complete) << c.path;
    // And stores the result relative again.
    const std::string relative = N(f.GetValidRelativeDir(W(c.complete).c_str()));
    FilePathFindW back;
    back.SetSourcePath(W(c.source).c_str());
    EXPECT_EQ(N(back.GetCompleteFilePath(W(relative).c_str())), c.complete) << relative;
  }
  FilePathFindW f;
  f.SetSourcePath(u"C:\\proj\\groups\\main.cgr");
  EXPECT_EQ(N(f.GetValidRelativeDir(u"C:\\proj\\media\\t.dds")), "..\\media\\t.dds");
  EXPECT_EQ(f.GetCompleteFilePath(nullptr), nullptr);
}

TEST(FilePathFindW, DifferentDriveAnswersTheInputWithoutReports) {
  MessageRecorder recorder;
  EngineInterface engine;
  FilePathFindW f;
  f.engine = &engine;
  f.SetSourcePath(u"C:\\proj\\main.cgr");
  const char16_t* path = u"D:\\x.cgr";
  EXPECT_EQ(f.GetValidRelativeDir(path), path);
  EXPECT_TRUE(recorder.messages.empty());
}

TEST(FilePathFindW, GroupRelativePathJoinsTheGroupFolder) {
  EngineInterface engine;
  Vlt_ChannelGroup group(&engine);
  group.SetChannelGroupFileName("C:\\proj\\main.cgr");
  FilePathFindW f;
  std::vector<char16_t> p(FilePathFindW::kMaxPath, 0);
  const std::u16string in = u"..\\x.cgr";
  std::copy(in.begin(), in.end(), p.begin());
  f.GetGroupRelativePath(p.data(), &group);
  EXPECT_EQ(N(p.data()), "C:\\x.cgr");
}

TEST(FilePathFindW, LongPathsAreCut) {
  FilePathFindW f;
  const std::u16string source = W("C:\\" + std::string(500, 'a') + "\\main.cgr");
  f.SetSourcePath(source.c_str());
  std::u16string backSteps;
  for (int i = 0; i < 200; ++i) backSteps += u"..\\";
  for (const std::u16string& path : {W(std::string(700, 'b')), backSteps}) {
    EXPECT_LT(N(f.GetCompleteFilePath(path.c_str())).size(),
              static_cast<size_t>(FilePathFindW::kMaxPath));
    std::vector<char16_t> buffer(FilePathFindW::kMaxPath, 0);
    std::copy(path.begin(), path.begin() + (FilePathFindW::kMaxPath - 1), buffer.begin());
    f.CreateValidFilePath(buffer.data(), source.c_str());
    EXPECT_LT(N(buffer.data()).size(), static_cast<size_t>(FilePathFindW::kMaxPath));
  }
}

}  // namespace
