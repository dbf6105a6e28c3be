#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "InspectCommand.h"
#include "InspectFixtures.h"
#include "JsonDocument.h"

namespace vinspect_test {
namespace {

namespace fs = std::filesystem;
using vinspect::InspectCommand;

class InspectCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("vexilon-inspect-" + std::to_string(random()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  int Run(const std::vector<std::string>& args) {
    out_.str(std::string());
    err_.str(std::string());
    return InspectCommand::Run(args, out_, err_);
  }

  // Runs with --json and parses standard output.
  JsonValue RunJson(const std::string& file, int expectedExit) {
    EXPECT_EQ(Run({"--json", file}), expectedExit) << err_.str();
    JsonValue doc;
    size_t faultAt = 0;
    EXPECT_TRUE(JsonDocument::Parse(out_.str(), doc, faultAt))
        << "invalid JSON at " << faultAt << ": " << out_.str().substr(faultAt, 40);
    return doc;
  }

  fs::path dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(InspectCommandTest, HelpDocumentsUsageOptionsAndExitCodes) {
  EXPECT_EQ(Run({"--help"}), InspectCommand::kOk);
  const std::string help = out_.str();
  for (const char* part : {"Usage: lumenar-inspect [--json] FILE", "--json", "VLTF", "CHEV",
                           "Exit status", "3  decoded only in part"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
}

TEST_F(InspectCommandTest, ExitCodesTellSuccessMalformedUsageAndIncomplete) {
  ByteFixture unknownTranslator;
  unknownTranslator.Guid("VLTF", kTypeA).Int("XXXX", 1);
  std::vector<uint8_t> cut = GroupFile().Bytes();
  cut.resize(cut.size() / 2);
  const std::string good = WriteFile("good.cgr", GroupFile().Bytes());
  const std::string bad = WriteFile("bad.cgr", cut);
  const std::string partial = WriteFile("partial.lmr", unknownTranslator.Bytes());
  struct Case {
    std::vector<std::string> args;
    int exit;
    const char* out;  // a part of standard output, or ""
    const char* err;  // a part of standard error, or ""
  } const cases[] = {
      {{good}, InspectCommand::kOk, "0000000c  VLTG", ""},
      {{good}, InspectCommand::kOk, "CHIX [4]  index of channel slot 1: value = -1", ""},
      {{bad}, InspectCommand::kMalformed, "error at offset", "error at offset"},
      {{partial}, InspectCommand::kIncomplete, "unknown translator", ""},
      {{(dir_ / "missing.cgr").string()}, InspectCommand::kMalformed, "", "cannot open"},
      {{}, InspectCommand::kUsage, "", "Usage"},
      {{"--yaml", good}, InspectCommand::kUsage, "", "unknown option --yaml"},
      {{good, bad}, InspectCommand::kUsage, "", "one file at a time"},
  };
  for (const Case& c : cases) {
    const std::string label = c.args.empty() ? "(no arguments)" : c.args[0];
    EXPECT_EQ(Run(c.args), c.exit) << label << "\n" << err_.str();
    EXPECT_NE(out_.str().find(c.out), std::string::npos) << label << "\n" << out_.str();
    EXPECT_NE(err_.str().find(c.err), std::string::npos) << label << "\n" << err_.str();
  }
}

const JsonValue* FindJsonTag(const JsonValue& node, const std::string& tag) {
  const JsonValue* t = node.Get("tag");
  if (t && t->text == tag) return &node;
  if (const JsonValue* children = node.Get("children")) {
    for (const JsonValue& child : children->items) {
      if (const JsonValue* found = FindJsonTag(child, tag)) return found;
    }
  }
  return nullptr;
}

const JsonValue* FindInBlocks(const JsonValue& doc, const std::string& tag) {
  const JsonValue* blocks = doc.Get("blocks");
  if (!blocks) return nullptr;
  for (const JsonValue& b : blocks->items) {
    if (const JsonValue* found = FindJsonTag(b, tag)) return found;
  }
  return nullptr;
}

// Every node carries kind, label and offset, and its fields are an object.
void ExpectNodeShape(const JsonValue& node) {
  ASSERT_EQ(node.type, JsonValue::Type::Object);
  for (const char* key : {"kind", "label"}) {
    ASSERT_NE(node.Get(key), nullptr) << key;
    EXPECT_EQ(node.Get(key)->type, JsonValue::Type::String);
  }
  ASSERT_NE(node.Get("offset"), nullptr);
  EXPECT_EQ(node.Get("offset")->type, JsonValue::Type::Number);
  ASSERT_NE(node.Get("fields"), nullptr);
  EXPECT_EQ(node.Get("fields")->type, JsonValue::Type::Object);
  if (const JsonValue* children = node.Get("children")) {
    for (const JsonValue& child : children->items) ExpectNodeShape(child);
  }
}

TEST_F(InspectCommandTest, JsonIsOneValidDocumentWithTheTree) {
  ByteFixture f;
  f.Marker("VLTG").Int("CHCO", 1).Int("CHIX", 0).Text("CHNA", "Caf\xE9 \"q\" \\").Int("CHLC", 0);
  const JsonValue doc = RunJson(WriteFile("cafe.cgr", ByteFixture::Compressed(f.Bytes())), 0);
  ASSERT_EQ(doc.type, JsonValue::Type::Object);
  EXPECT_EQ(doc.Get("kind")->text, "container");
  EXPECT_TRUE(doc.Get("ok")->boolean);
  EXPECT_EQ(doc.Get("error")->type, JsonValue::Type::Null);
  ASSERT_EQ(doc.Get("blocks")->type, JsonValue::Type::Array);
  for (const JsonValue& b : doc.Get("blocks")->items) ExpectNodeShape(b);

  const JsonValue* count = FindInBlocks(doc, "CHCO");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->Get("fields")->Get("value")->number, 1);
  EXPECT_EQ(count->Get("size")->number, 4);
  const JsonValue* name = FindInBlocks(doc, "CHNA");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->Get("fields")->Get("value")->text, "Caf\xE9 \"q\" \\");
  const JsonValue* header = FindInBlocks(doc, "VLTF");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->Get("fields")->Get("translator")->text, "51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4");
}

TEST_F(InspectCommandTest, JsonOfAMalformedFileCarriesTheErrorAndThePartialTree) {
  std::vector<uint8_t> bytes = ChannelListFile().Bytes();
  bytes.resize(100);  // inside the first type record
  const JsonValue doc = RunJson(WriteFile("channels.lst", bytes), InspectCommand::kMalformed);
  EXPECT_FALSE(doc.Get("ok")->boolean);
  const JsonValue* error = doc.Get("error");
  ASSERT_NE(error, nullptr);
  ASSERT_EQ(error->type, JsonValue::Type::Object);
  EXPECT_EQ(error->Get("offset")->number, 24);
  EXPECT_NE(error->Get("message")->text.find("\"CHTY\""), std::string::npos);
  EXPECT_NE(FindInBlocks(doc, "C1CC"), nullptr);
}

}  // namespace
}  // namespace vinspect_test
