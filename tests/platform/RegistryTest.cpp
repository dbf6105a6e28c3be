// String values in the registry: on Windows the real one, on Linux a .reg text file that must
// read what Windows' own export writes and survive a crash in the middle of a write.
#include <string>

#include "TestSupport.h"
#include "platform/common/RegText.h"

namespace {

using vplat::RegResult;
using vplat::RegRoot;
using vplat_test::EnvOverride;
using vplat_test::IsWindows;
using vplat_test::ReadText;
using vplat_test::ScratchDir;
using vplat_test::WriteText;

// Values that a naive writer breaks: separators, quotes, a trailing backslash, the characters
// that mean something in the file syntax, UTF-8 bytes.
struct Sample {
  const char* name;
  const char* value;
};
const Sample kSamples[] = {
    {"InstallDir", "C:\\Program Files\\Vexilon\\"},
    {"Quoted", "say \"hi\" \\\"there\\\""},
    {"Empty", ""},
    {"Syntax", "[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"b\" ; @=dword:1"},
    {"we\"ird\\name", "value"},
    {"Utf8", "\xc3\xa9t\xc3\xa9"},
};

// Runs against the registry of the platform. On Linux the file lives in a scratch folder whose
// sub-folders do not exist yet; on Windows each test uses its own key below HKCU.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest()
      : file_(scratch_.path() / "not" / "yet" / "registry.reg"),
        env_("VEXILON_REGISTRY", file_.string().c_str()) {
    unsigned char g[16];
    vplat::newGuid(g);
    char sub[64];
    std::snprintf(sub, sizeof sub, "Software\\VexilonTests\\%02X%02X%02X%02X%02X%02X", g[0], g[1],
                  g[2], g[3], g[4], g[5]);
    key_ = sub;
  }
  ~RegistryTest() override {
    for (const Sample& s : kSamples)
      vplat::regDeleteValue(RegRoot::CurrentUser, key_.c_str(), s.name);
  }

  ScratchDir scratch_;
  std::filesystem::path file_;
  EnvOverride env_;
  std::string key_;
};

TEST_F(RegistryTest, StringsRoundTripWithKeyAndValueNamesInAnyCase) {
  for (const Sample& s : kSamples)
    ASSERT_TRUE(vplat::regSetString(RegRoot::CurrentUser, key_.c_str(), s.name, s.value)) << s.name;

  std::string upperKey;
  for (char c : key_) upperKey += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Sample& s : kSamples) {
    for (const std::string& key : {key_, upperKey}) {
      std::string got = "unchanged";
      EXPECT_EQ(vplat::regGetString(RegRoot::CurrentUser, key.c_str(), s.name, got), RegResult::Ok)
          << key << " " << s.name;
      EXPECT_EQ(got, s.value);
    }
  }
  std::string got;
  EXPECT_EQ(vplat::regGetString(RegRoot::CurrentUser, key_.c_str(), "INSTALLDIR", got),
            RegResult::Ok);
  EXPECT_EQ(got, kSamples[0].value);

  // Overwrite and delete.
  ASSERT_TRUE(vplat::regSetString(RegRoot::CurrentUser, key_.c_str(), "installdir", "D:\\"));
  EXPECT_EQ(vplat::regGetString(RegRoot::CurrentUser, key_.c_str(), "InstallDir", got),
            RegResult::Ok);
  EXPECT_EQ(got, "D:\\");
  EXPECT_TRUE(vplat::regDeleteValue(RegRoot::CurrentUser, key_.c_str(), "InstallDir"));
  EXPECT_FALSE(vplat::regDeleteValue(RegRoot::CurrentUser, key_.c_str(), "InstallDir"));
  EXPECT_EQ(vplat::regGetString(RegRoot::CurrentUser, key_.c_str(), "InstallDir", got),
            RegResult::NoValue);
}

TEST_F(RegistryTest, MissingKeysAndValuesAreToldApart) {
  ASSERT_TRUE(vplat::regSetString(RegRoot::CurrentUser, key_.c_str(), "Present", "1"));
  struct Case {
    RegRoot root;
    std::string key;
    const char* name;
    RegResult expected;
  };
  const Case cases[] = {
      {RegRoot::CurrentUser, key_, "Present", RegResult::Ok},
      {RegRoot::CurrentUser, key_, "Absent", RegResult::NoValue},
      {RegRoot::CurrentUser, key_ + "\\Child", "Present", RegResult::NoKey},
      // Another root is another tree.
      {RegRoot::ClassesRoot, key_, "Present", RegResult::NoKey},
  };
  for (const Case& c : cases) {
    std::string got;
    EXPECT_EQ(vplat::regGetString(c.root, c.key.c_str(), c.name, got), c.expected)
        << c.key << " " << c.name;
  }
  vplat::regDeleteValue(RegRoot::CurrentUser, key_.c_str(), "Present");
}

// The Linux file: kept readable for Windows' own .reg syntax, replaced atomically.
class RegistryFileTest : public RegistryTest {
 protected:
  void SetUp() override {
    if (IsWindows()) GTEST_SKIP() << "the registry is a file on Linux only";
  }
};

TEST_F(RegistryFileTest, KeepsValuesOfOtherKindsAndAnswersNotString) {
  WriteText(file_,
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "; written by hand\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltro]\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "\"Blob\"=hex:01,02,03,\\\r\n"
            "  04,05\r\n"
            "@=\"default\"\r\n");
  ASSERT_TRUE(vplat::regSetString(RegRoot::LocalMachine, "software\\veltro", "Name", "x"));

  std::string got;
  EXPECT_EQ(vplat::regGetString(RegRoot::LocalMachine, "SOFTWARE\\Veltro", "Count", got),
            RegResult::NotString);
  EXPECT_EQ(vplat::regGetString(RegRoot::LocalMachine, "SOFTWARE\\Veltro", "Blob", got),
            RegResult::NotString);
  EXPECT_EQ(vplat::regGetString(RegRoot::LocalMachine, "SOFTWARE\\Veltro", nullptr, got),
            RegResult::Ok);
  EXPECT_EQ(got, "default");
  const std::string text = ReadText(file_);
  EXPECT_NE(text.find("\"Count\"=dword:0000002a\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Blob\"=hex:01,02,03,04,05\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Name\"=\"x\"\n"), std::string::npos) << text;
  // The key keeps the spelling it was first written with.
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltro]\n"), std::string::npos) << text;
}

TEST_F(RegistryFileTest, WritesEscapesTheWayRegeditDoes) {
  ASSERT_TRUE(
      vplat::regSetString(RegRoot::LocalMachine, "SOFTWARE\\X", "we\"ird\\name", "C:\\dir\\\"q\""));
  EXPECT_EQ(ReadText(file_),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n"
            "\"we\\\"ird\\\\name\"=\"C:\\\\dir\\\\\\\"q\\\"\"\n");
}

TEST_F(RegistryFileTest, EveryWriteReplacesTheFileAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(vplat::regSetString(RegRoot::LocalMachine, "SOFTWARE\\X", "A", "first"));
  const std::string before = ReadText(file_);
  // A reader that opened the file before a write still reads the whole earlier file: the write
  // renamed a new file over it instead of rewriting it in place.
  std::ifstream reader(file_, std::ios::binary);
  ASSERT_TRUE(reader.is_open());
  ASSERT_TRUE(vplat::regSetString(RegRoot::LocalMachine, "SOFTWARE\\X", "B",
                                  std::string(10000, 'b').c_str()));
  std::stringstream old;
  old << reader.rdbuf();
  EXPECT_EQ(old.str(), before);

  ASSERT_TRUE(vplat::regDeleteValue(RegRoot::LocalMachine, "SOFTWARE\\X", "A"));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(file_.parent_path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"registry.reg"});
  std::string got;
  EXPECT_EQ(vplat::regGetString(RegRoot::LocalMachine, "SOFTWARE\\X", "A", got),
            RegResult::NoValue);
  EXPECT_EQ(vplat::regGetString(RegRoot::LocalMachine, "SOFTWARE\\X", "B", got), RegResult::Ok);
  EXPECT_EQ(got.size(), 10000u);
}

TEST_F(RegistryFileTest, DefaultLocationFollowsXdgConfigHome) {
  EnvOverride noOverride("VEXILON_REGISTRY", nullptr);
  EnvOverride config("XDG_CONFIG_HOME", (scratch_.path() / "config").string().c_str());
  ASSERT_TRUE(vplat::regSetString(RegRoot::CurrentUser, "Software\\X", "A", "1"));
  EXPECT_TRUE(std::filesystem::exists(scratch_.path() / "config" / "vexilon" / "registry.reg"));
}

// The text format alone, on every platform: what the parser makes of a file.
TEST(RegText, ParsesWhatRegistryExportsContain) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n"
      "[HKEY_CURRENT_USER\\Software\\A\\]\r\n"
      "\"Path\"=\"C:\\\\x\\\\\"\r\n"
      "\"Gone\"=-\r\n"
      "\"Multi\"=hex(1):41,00,0a,00,\\\r\n"
      "  42,00,00,00\r\n"
      "garbage line\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Removed]\r\n"
      "\"Orphan\"=\"belongs to a removed key\"\r\n"
      "[hkey_current_user\\software\\a]\r\n"
      "\"path\"=\"D:\\\\later wins\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Deep\\Below\\Key]\r\n"
      "\"Half\"=\"no closing quote\r\n";
  const vplat::regtext::Document doc = vplat::regtext::Parse(text);
  struct Case {
    const char* key;
    const char* name;
    RegResult expected;
    const char* value;
  };
  const Case cases[] = {
      {"Software\\A", "Path", RegResult::Ok, "D:\\later wins"},
      {"Software\\A", "Gone", RegResult::NoValue, ""},
      {"Software\\A", "Multi", RegResult::Ok, "A\nB"},
      {"Software\\Removed", "Orphan", RegResult::NoKey, ""},
      // Parents of a listed key exist, as they would in the real registry.
      {"Software\\Deep", "Half", RegResult::NoValue, ""},
      {"Software\\Deep\\Below\\Key", "Half", RegResult::NoValue, ""},
  };
  for (const Case& c : cases) {
    std::string got;
    EXPECT_EQ(vplat::regtext::GetString(doc, RegRoot::CurrentUser, c.key, c.name, got), c.expected)
        << c.key << " " << c.name;
    if (c.expected == RegResult::Ok) {
      EXPECT_EQ(got, c.value);
    }
  }
}

TEST(RegText, WrittenDocumentParsesBackUnchanged) {
  vplat::regtext::Document doc;
  for (const Sample& s : kSamples) {
    vplat::regtext::SetString(doc, RegRoot::LocalMachine, "SOFTWARE\\V", s.name, s.value);
  }
  vplat::regtext::SetString(doc, RegRoot::ClassesRoot, "\\.cgr\\", nullptr, "Vexilon.Group");
  const vplat::regtext::Document back = vplat::regtext::Parse(vplat::regtext::Write(doc));
  ASSERT_EQ(back.keys.size(), doc.keys.size());
  for (size_t k = 0; k < doc.keys.size(); ++k) {
    EXPECT_EQ(back.keys[k].path, doc.keys[k].path);
    ASSERT_EQ(back.keys[k].values.size(), doc.keys[k].values.size());
    for (size_t v = 0; v < doc.keys[k].values.size(); ++v) {
      EXPECT_EQ(back.keys[k].values[v].name, doc.keys[k].values[v].name);
      EXPECT_EQ(back.keys[k].values[v].text, doc.keys[k].values[v].text);
      EXPECT_TRUE(back.keys[k].values[v].isString);
    }
  }
  EXPECT_EQ(doc.keys.back().path, "HKEY_CLASSES_ROOT\\.cgr");
}

}  // namespace
