#include "FilePathFind.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "EngineInterface.h"
#include "Vlt_ChannelGroup.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace {

struct PathCase {
  const char* source;
  const char* path;
  const char* expected;
};

std::ostream& operator<<(std::ostream& os, const PathCase& c) {
  return os << "source " << c.source << ", path " << c.path;
}

// A buffer of exactly the documented size, so that the sanitizer sees any write past it.
struct PathBuffer {
  explicit PathBuffer(const char* text = "") : data(FilePathFind::kMaxPath, '\0') {
    std::strncpy(data.data(), text, data.size() - 1);
  }
  char* get() { return data.data(); }
  std::string str() const { return data.data(); }
  std::vector<char> data;
};

class CompletePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(CompletePathTest, ResolvesAgainstTheSourceFolder) {
  FilePathFind finder;
  finder.SetSourcePath(GetParam().source);
  const char* result = finder.GetCompleteFilePath(GetParam().path);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DrivePaths, CompletePathTest,
    ::testing::Values(
        PathCase{"C:\\proj\\groups\\main.cgr", "x.cgr", "C:\\proj\\groups\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", ".\\x.cgr", "C:\\proj\\groups\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "sub\\x.cgr", "C:\\proj\\groups\\sub\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "..\\x.cgr", "C:\\proj\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "..\\..\\data\\x.cgr", "C:\\data\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "\\x.cgr", "C:\\x.cgr"},
        // Separators are read either way.
        PathCase{"C:/proj/groups/main.cgr", "../media/t.dds", "C:\\proj\\media\\t.dds"},
        PathCase{"C:\\proj\\groups\\main.cgr", "./sub/x.cgr", "C:\\proj\\groups\\sub\\x.cgr"},
        // Stepping above the root stays at the root.
        PathCase{"C:\\proj\\groups\\main.cgr", "..\\..\\..\\..\\x.cgr", "C:\\x.cgr"},
        // A folder given without a trailing separator counts as a file name.
        PathCase{"C:\\proj\\groups", "x.cgr", "C:\\proj\\x.cgr"},
        // Short and dotted names are names below the source folder.
        PathCase{"C:\\proj\\groups\\main.cgr", "a", "C:\\proj\\groups\\a"},
        PathCase{"C:\\proj\\groups\\main.cgr", ".hidden", "C:\\proj\\groups\\.hidden"},
        PathCase{"C:\\proj\\groups\\main.cgr", "..", "C:\\proj\\"},
        // Drive and network paths are complete already.
        PathCase{"C:\\proj\\groups\\main.cgr", "D:\\x.cgr", "D:\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "\\\\server\\share\\x.cgr",
                 "\\\\server\\share\\x.cgr"},
        PathCase{"\\\\server\\proj\\main.cgr", "..\\x.cgr", "\\\\server\\x.cgr"},
        PathCase{"http://host/dir/main.cgr", "sub/x.cgr", "http://host/dir/sub/x.cgr"}));

INSTANTIATE_TEST_SUITE_P(
    PosixPaths, CompletePathTest,
    ::testing::Values(PathCase{"/proj/groups/main.cgr", "x.cgr", "/proj/groups/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", ".\\x.cgr", "/proj/groups/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "sub\\x.cgr", "/proj/groups/sub/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "..\\x.cgr", "/proj/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "..\\..\\data\\x.cgr", "/data/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "\\x.cgr", "/x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "/other/x.cgr", "/other/x.cgr"},
                      PathCase{"/proj//groups/main.cgr", "../media/t.dds", "/proj/media/t.dds"}));

class RelativePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(RelativePathTest, StoresPathsRelativeToTheSourceWithBackslashes) {
  FilePathFind finder;
  finder.SetSourcePath(GetParam().source);
  EXPECT_STREQ(finder.GetValidRelativeDir(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DrivePaths, RelativePathTest,
    ::testing::Values(
        PathCase{"C:\\proj\\groups\\main.cgr", "C:\\proj\\groups\\x.cgr", ".\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "C:\\proj\\groups\\sub\\x.cgr", ".\\sub\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "C:\\proj\\media\\t.dds", "..\\media\\t.dds"},
        PathCase{"C:\\proj\\groups\\main.cgr", "C:\\x.cgr", "..\\..\\x.cgr"},
        PathCase{"C:\\proj\\groups\\main.cgr", "C:\\other\\deep\\x.cgr",
                 "..\\..\\other\\deep\\x.cgr"},
        // Folder names are compared ignoring case; "/" is read as "\".
        PathCase{"C:\\Proj\\Groups\\main.cgr", "C:/proj/GROUPS/sub/x.cgr", ".\\sub\\x.cgr"},
        PathCase{"\\\\server\\proj\\main.cgr", "\\\\SERVER\\proj\\a\\x.cgr", ".\\a\\x.cgr"}));

INSTANTIATE_TEST_SUITE_P(
    PosixPaths, RelativePathTest,
    ::testing::Values(PathCase{"/proj/groups/main.cgr", "/proj/groups/x.cgr", ".\\x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "/proj/groups/sub/x.cgr", ".\\sub\\x.cgr"},
                      PathCase{"/proj/groups/main.cgr", "/proj/media/t.dds", "..\\media\\t.dds"},
                      PathCase{"/proj/groups/main.cgr", "/x.cgr", "..\\..\\x.cgr"}));

// What is stored resolves back to where it came from, for every pair of the tables.
TEST(FilePathFindRoundTrip, RelativeThenCompleteGivesTheOriginalPath) {
  const char* const sources[] = {"C:\\proj\\groups\\main.cgr", "/proj/groups/main.cgr"};
  const char* const targets[][5] = {{"C:\\proj\\groups\\x.cgr", "C:\\proj\\groups\\sub\\x.cgr",
                                     "C:\\proj\\media\\t.dds", "C:\\x.cgr", "C:\\a\\b\\c\\d.cgr"},
                                    {"/proj/groups/x.cgr", "/proj/groups/sub/x.cgr",
                                     "/proj/media/t.dds", "/x.cgr", "/a/b/c/d.cgr"}};
  for (int s = 0; s < 2; ++s) {
    for (const char* target : targets[s]) {
      FilePathFind saver;
      saver.SetSourcePath(sources[s]);
      const std::string stored = saver.GetValidRelativeDir(target);
      FilePathFind loader;
      loader.SetSourcePath(sources[s]);
      EXPECT_STREQ(loader.GetCompleteFilePath(stored.c_str()), target) << "stored " << stored;
    }
  }
}

class DifferentDriveTest : public ::testing::Test {
 protected:
  void SetUp() override { finder_.engine = &engine_; }
  MessageRecorder recorder_;
  EngineInterface engine_;
  FilePathFind finder_;
};

TEST_F(DifferentDriveTest, AnswersTheInputAndReportsThreeLines) {
  struct Case {
    const char* source;
    const char* path;
  } cases[] = {{"C:\\proj\\groups\\main.cgr", "D:\\x.cgr"},
               // Drive letters are compared exactly.
               {"C:\\a\\y", "c:\\a\\x"},
               {"/proj/main.cgr", "C:\\proj\\x.cgr"},
               {"\\\\one\\proj\\main.cgr", "\\\\two\\proj\\x.cgr"}};
  for (const Case& c : cases) {
    recorder_.messages.clear();
    finder_.SetSourcePath(c.source);
    EXPECT_EQ(finder_.GetValidRelativeDir(c.path), c.path) << c.path;
    const std::vector<std::string> expected = {
        std::string("orgFile :  ") + c.path,
        std::string("sourcePath_ :  ") + finder_.GetSourcePath(),
        "Autoload group is on different drive"};
    EXPECT_EQ(recorder_.Texts(), expected) << c.path;
  }
}

TEST(FilePathFindSimple, CountsFoldersAndBackSteps) {
  FilePathFind f;
  struct Case {
    const char* path;
    int dirs;
    int backSteps;
  } cases[] = {{"C:\\proj\\groups\\main.cgr", 2, 0},
               {"C:\\x.cgr", 0, 0},
               {"C:\\", 0, 0},
               {"/proj/groups/main.cgr", 2, 0},
               {"\\\\server\\share\\x", 1, 0},
               {"C:/a/b", 0, 0},  // counting knows only "\" after a drive
               {"..\\..\\x", 1, -2},
               {"..\\x", 0, -1},
               {"..\\", 0, -1},
               {"../x", 0, 0}};  // only backslashes form back-steps
  for (const auto& c : cases) {
    EXPECT_EQ(f.GetDirCount(c.path), c.dirs) << c.path;
    EXPECT_EQ(f.GetBackDirCount(c.path), c.backSteps) << c.path;
  }
  EXPECT_EQ(f.GetDirCount(nullptr), 0);
  EXPECT_EQ(f.GetBackDirCount(nullptr), 0);
  EXPECT_EQ(f.GetDirCountFromBackDir("..\\..\\a\\b\\f.txt"), 2);
  EXPECT_EQ(f.GetDirCountFromBackDir("..\\f.txt"), 0);
  EXPECT_EQ(f.GetDirShareCount("C:\\a\\b\\c\\f", "C:\\A\\B\\x\\g"), 2);
  EXPECT_EQ(f.GetDirShareCount("C:\\a\\b\\c\\f", "C:\\a\\g"), 1);
  EXPECT_EQ(f.GetRelativeDirCount("C:\\a\\b\\c\\f", "C:\\a\\g"), 2);
  EXPECT_EQ(f.GetRelativeDirCount("C:\\a\\f", "C:\\a\\b\\c\\g"), -2);
  EXPECT_EQ(f.GetRelativeDirCount("C:\\x\\f", "C:\\a\\b\\g"), -2);
}

TEST(FilePathFindSimple, NamesFoldersButNeverTheFileName) {
  FilePathFind f;
  PathBuffer out;
  EXPECT_STREQ(f.GetDirName(out.get(), "C:\\a\\b\\f.txt", 1), "b");
  EXPECT_EQ(f.GetDirName(out.get(), "C:\\a\\b\\f.txt", 2), nullptr);
  EXPECT_STREQ(out.get(), "");
  EXPECT_EQ(f.GetDirName(out.get(), "C:\\", 0), nullptr);
  EXPECT_STREQ(f.GetDirName(out.get(), "/usr/lib/x.so", 1), "lib");
  EXPECT_STREQ(f.GetDirNameFromBackDir(out.get(), "..\\a\\f.txt", 0), "a");
  EXPECT_STREQ(f.GetDirNameFromBackDir(out.get(), "..\\a\\f.txt", 1), "f.txt");
  EXPECT_EQ(f.GetDirNameFromBackDir(out.get(), "..\\a\\f.txt", 2), nullptr);
  EXPECT_EQ(f.GetDirName(nullptr, "C:\\a\\b", 0), nullptr);
  EXPECT_EQ(f.GetDirName(out.get(), nullptr, 0), nullptr);
}

TEST(FilePathFindSimple, SplitsFileNameAndFolderInPlace) {
  FilePathFind f;
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
  } cases[] = {{"C:\\proj\\main.cgr", "main.cgr", "C:\\proj"},
               {"C:/proj/main.cgr", "main.cgr", "C:/proj"},
               {"/main.cgr", "/main.cgr", "/main.cgr"},  // a separator at position 0 is no cut
               {"main.cgr", "main.cgr", "main.cgr"}};
  for (const auto& c : cases) {
    PathBuffer name(c.path), folder(c.path);
    EXPECT_EQ(f.GetFileName(name.get()), name.get());
    EXPECT_EQ(name.str(), c.name);
    EXPECT_EQ(f.GetFilePath(folder.get()), folder.get());
    EXPECT_EQ(folder.str(), c.folder);
  }
  EXPECT_EQ(f.GetFileName(nullptr), nullptr);
}

TEST(FilePathFindSimple, CreateValidFilePathCleansAndJoins) {
  FilePathFind f;
  struct Case {
    const char* path;
    const char* base;
    const char* expected;
  } cases[] = {
      {"C:/a//b", "C:\\x", "C:\\a\\b"},      {"\\\\server\\\\share", "C:\\x", "\\\\server\\share"},
      {".\\a\\b", "C:\\x", "C:\\x\\a\\b"},   {".", "C:\\x", "C:\\x"},
      {"../x", "C:\\x", "C:\\x.\\x"},  // ".." is no back-step here: joined as it is
      {".\\a\\b", "/home/u", "/home/u/a/b"}, {"/a//b\\c", "C:\\x", "/a/b/c"}};
  for (const auto& c : cases) {
    PathBuffer p(c.path);
    f.CreateValidFilePath(p.get(), c.base);
    EXPECT_EQ(p.str(), c.expected) << c.path;
  }
}

TEST(FilePathFindSimple, CheckValidDriveComparesTheFirstCharacterExactly) {
  FilePathFind f;
  EXPECT_TRUE(f.CheckValidDrive("C:\\a\\x", "C:\\b\\y"));
  EXPECT_FALSE(f.CheckValidDrive("c:\\a\\x", "C:\\a\\y"));
  EXPECT_FALSE(f.CheckValidDrive(".\\x", ".\\y"));
  EXPECT_TRUE(f.CheckValidDrive("/a", "/b"));
  EXPECT_FALSE(f.CheckValidDrive(nullptr, "C:\\"));
}

TEST(FilePathFindCorrect, KeepsUrlsDrivesAndNetworkPathsAndResolvesTheRest) {
  FilePathFind f;
  f.SetSourcePath("C:\\proj\\groups\\main.cgr");
  const char* const unchanged[] = {"http://host/x.cgr", "\\\\server\\share\\x.cgr", "D:\\x.cgr",
                                   "/abs/x.cgr"};
  for (const char* p : unchanged) EXPECT_EQ(f.GetCorrectFilePath(p), p) << p;
  EXPECT_STREQ(f.GetCorrectFilePath("x\\y"), "C:\\proj\\groups\\x\\y");
  EXPECT_EQ(f.GetCorrectFilePath(nullptr), nullptr);
}

TEST(FilePathFindSource, UrlSchemeIsKeptOnlyInLowerCase) {
  FilePathFind f;
  f.SetSourcePath("http://host/dir/main.cgr");
  EXPECT_STREQ(f.GetSourcePath(), "http://host/dir/main.cgr");
  f.SetSourcePath("HTTP://host/dir/main.cgr");
  EXPECT_STREQ(f.GetSourcePath(), "HTTP:\\host\\dir\\main.cgr");
  f.SetSourcePath(nullptr);
  EXPECT_STREQ(f.GetSourcePath(), "HTTP:\\host\\dir\\main.cgr");
}

TEST(FilePathFindSource, RelativeSourceIsTakenFromTheCurrentFolder) {
  FilePathFind f;
  f.SetSourcePath(".\\groups\\main.cgr");
  std::string expected = vplat::currentFolder();
  const char sep = expected.front() == '/' ? '/' : '\\';
  if (expected.back() != sep) expected += sep;
  expected += std::string("groups") + sep + "x.cgr";
  EXPECT_EQ(std::string(f.GetCompleteFilePath("x.cgr")), expected);
}

TEST(FilePathFindCopy, CopiesCarryTheSourceAndTheResult) {
  FilePathFind a;
  a.SetSourcePath("C:\\proj\\main.cgr");
  a.GetCompleteFilePath("x.cgr");
  FilePathFind b(a);
  EXPECT_STREQ(b.GetSourcePath(), "C:\\proj\\main.cgr");
  FilePathFind c;
  c = a;
  EXPECT_STREQ(c.GetCompleteFilePath("y.cgr"), "C:\\proj\\y.cgr");
  EXPECT_STREQ(a.GetSourcePath(), c.GetSourcePath());
}

class GroupRelativePathTest : public ::testing::Test {
 protected:
  EngineInterface engine_;
};

TEST_F(GroupRelativePathTest, JoinsTheGroupFolderAndCanonicalises) {
  struct Case {
    const char* groupFile;
    const char* path;
    const char* expected;
  } cases[] = {{"C:\\proj\\main.cgr", "sub\\x.cgr", "C:\\proj\\sub\\x.cgr"},
               {"C:\\proj\\main.cgr", "..\\x.cgr", "C:\\x.cgr"},
               {"C:\\proj\\main.cgr", ".\\a\\.\\b\\..\\x.cgr", "C:\\proj\\a\\x.cgr"},
               {"C:\\proj\\main.cgr", "..\\..\\..\\x.cgr", "C:\\x.cgr"},
               {"/proj/main.cgr", "sub\\x.cgr", "/proj/sub/x.cgr"},
               {"/proj/main.cgr", "../x.cgr", "/x.cgr"},
               // Absolute paths are left alone.
               {"C:\\proj\\main.cgr", "D:\\x.cgr", "D:\\x.cgr"},
               {"C:\\proj\\main.cgr", "\\x.cgr", "\\x.cgr"},
               {"C:\\proj\\main.cgr", "/x.cgr", "/x.cgr"},
               // A group without a folder leaves the path relative.
               {"main.cgr", "sub\\x.cgr", "sub\\x.cgr"},
               {"", "..\\x.cgr", "..\\x.cgr"}};
  FilePathFind f;
  for (const auto& c : cases) {
    Vlt_ChannelGroup group(&engine_);
    group.SetChannelGroupFileName(c.groupFile);
    PathBuffer p(c.path);
    f.GetGroupRelativePath(p.get(), &group);
    EXPECT_EQ(p.str(), c.expected) << c.groupFile << " + " << c.path;
  }
  PathBuffer p("x");
  f.GetGroupRelativePath(p.get(), nullptr);
  EXPECT_EQ(p.str(), "x");
}

// Long and hostile input: every result stays within the documented size and every in-place
// operation within its caller's buffer (the sanitizer build checks the writes).
TEST(FilePathFindLimits, LongPathsAreCutNeverOverrun) {
  const std::string longFolder(400, 'a');
  const std::string backSteps = [] {
    std::string s;
    for (int i = 0; i < 200; ++i) s += "..\\";
    return s + "x.cgr";
  }();
  const std::string deep = [] {
    std::string s = "C:";
    for (int i = 0; i < 150; ++i) s += "\\d";
    return s + "\\f.cgr";
  }();
  const std::string sources[] = {"C:\\" + longFolder + "\\main.cgr",
                                 deep,
                                 "/" + longFolder + "/main.cgr",
                                 "http://" + longFolder,
                                 std::string(1000, '\\'),
                                 std::string(1000, '.')};
  const std::string paths[] = {longFolder,
                               backSteps,
                               deep,
                               "C:\\" + longFolder,
                               "sub\\" + longFolder + "\\x",
                               std::string(1000, '/'),
                               std::string(1000, '.'),
                               "\\\\" + longFolder};
  for (const auto& source : sources) {
    FilePathFind f;
    f.SetSourcePath(source.c_str());
    EXPECT_LT(std::strlen(f.GetSourcePath()), static_cast<size_t>(FilePathFind::kMaxPath));
    for (const auto& path : paths) {
      const char* complete = f.GetCompleteFilePath(path.c_str());
      ASSERT_NE(complete, nullptr);
      EXPECT_LT(std::strlen(complete), static_cast<size_t>(FilePathFind::kMaxPath));
      const char* relative = f.GetValidRelativeDir(path.c_str());
      ASSERT_NE(relative, nullptr);
      if (relative != path.c_str()) {
        EXPECT_LT(std::strlen(relative), static_cast<size_t>(FilePathFind::kMaxPath));
      }
      f.GetCorrectFilePath(path.c_str());

      PathBuffer p(path.c_str()), out;
      f.CreateValidFilePath(p.get(), source.c_str());
      EXPECT_LT(p.str().size(), static_cast<size_t>(FilePathFind::kMaxPath));
      f.GetDirName(out.get(), path.c_str(), 0);
      f.GetDirNameFromBackDir(out.get(), path.c_str(), 0);
      f.GetFileName(p.get());
      EXPECT_GE(f.GetDirCount(path.c_str()), 0);
      EXPECT_LE(f.GetBackDirCount(path.c_str()), 0);
    }
  }
  // The deep path resolves as far as the result can hold it.
  FilePathFind f;
  f.SetSourcePath(deep.c_str());
  const std::string complete = f.GetCompleteFilePath("x.cgr");
  EXPECT_EQ(complete.size(), static_cast<size_t>(FilePathFind::kMaxPath - 1));
  EXPECT_EQ(complete.compare(0, 10, deep, 0, 10), 0);
}

TEST(FilePathFindLimits, GroupRelativePathStaysInTheCallersBuffer) {
  EngineInterface engine;
  Vlt_ChannelGroup group(&engine);
  const std::string longName = "C:\\" + std::string(300, 'g') + "\\main.cgr";
  group.SetChannelGroupFileName(longName.c_str());
  FilePathFind f;
  PathBuffer p(std::string(FilePathFind::kMaxPath - 1, 'p').c_str());
  f.GetGroupRelativePath(p.get(), &group);
  EXPECT_LT(p.str().size(), static_cast<size_t>(FilePathFind::kMaxPath));
}

}  // namespace
