#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GroupFileDecoder.h"
#include "InspectFixtures.h"
#include "Inspector.h"

namespace vinspect_test {
namespace {

using vinspect::InspectField;
using vinspect::InspectNode;
using vinspect::Inspector;
using vinspect::InspectResult;

InspectResult Decode(const std::vector<uint8_t>& bytes) {
  Inspector inspector;
  return inspector.Inspect(bytes.data(), bytes.size());
}

std::string Text(const InspectNode& node, const char* field) {
  const InspectField* f = node.FindField(field);
  return f ? f->text : "<no field " + std::string(field) + ">";
}

int64_t Number(const InspectNode& node, const char* field) {
  const InspectField* f = node.FindField(field);
  EXPECT_NE(f, nullptr) << field;
  return f ? f->number : -99999;
}

std::vector<int64_t> List(const InspectNode& node, const char* field) {
  const InspectField* f = node.FindField(field);
  return f ? f->list : std::vector<int64_t>();
}

std::vector<const InspectNode*> Kind(const InspectNode& root, const char* kind) {
  std::vector<const InspectNode*> out;
  CollectKind(root, kind, out);
  return out;
}

TEST(InspectGroupFile, DecodesSlotsLinksRecordsAndClosingBlocks) {
  const ByteFixture file = GroupFile();
  const InspectResult r = Decode(file.Bytes());
  ASSERT_TRUE(r.ok) << r.ErrorText();
  EXPECT_FALSE(r.incomplete);
  EXPECT_EQ(Text(r.root, "kind"), "group file");

  const std::vector<const InspectNode*> slots = Kind(r.root, "slot");
  ASSERT_EQ(slots.size(), 5u);
  EXPECT_EQ(slots[1]->label_, "channel slot 1: empty");
  EXPECT_EQ(Text(*slots[0], "name"), "Root");
  EXPECT_EQ(Text(*slots[3], "name"), " ");
  EXPECT_EQ(Number(*slots[4], "index"), 4);

  // The variable position: three ranked children, then the empty head whose rank is derived.
  const std::vector<const InspectNode*> links = Kind(*slots[0], "link");
  ASSERT_EQ(links.size(), 4u);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(Number(*links[j], "child"), 2 + j);
    EXPECT_EQ(Number(*links[j], "rank"), j);
  }
  EXPECT_EQ(Number(*links[3], "child"), -1);
  EXPECT_EQ(Number(*links[3], "rank"), 3);

  // The type's own blocks after the engine block are shown with guessed values.
  const InspectNode* own = FindTag(*slots[0], "MYDA");
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(Number(*own, "int"), 77);
  const InspectNode* ownText = FindTag(*slots[0], "MYTX");
  ASSERT_NE(ownText, nullptr);
  EXPECT_EQ(Text(*ownText, "text"), "own data");

  // "CHES" is a marker before the engine block and the 696-byte record inside it.
  std::vector<const InspectNode*> markers = Kind(*slots[2], "marker");
  ASSERT_EQ(markers.size(), 1u);
  EXPECT_EQ(markers[0]->tag_, "CHES");
  const std::vector<const InspectNode*> records = Kind(*slots[2], "record");
  ASSERT_EQ(records.size(), 2u);
  const InspectNode& call = *records[0];
  EXPECT_EQ(call.label_, "PublicCallInfo");
  EXPECT_EQ(Text(call, "channelName"), "Target");
  EXPECT_EQ(Text(call, "poolName"), "Pool");
  EXPECT_EQ(Text(call, "targetPath"), "..\\media\\t.cgr");
  EXPECT_EQ(Number(call, "poolNr"), 3);
  EXPECT_EQ(Number(call, "autoLoadGroup"), 1);
  const InspectNode& position = *records[1];
  EXPECT_EQ(position.offset_, call.offset_ + 432);
  EXPECT_EQ(Text(position, "typeGuid"), kWildcard);
  EXPECT_EQ(Text(position, "linkName"), "Input");
  EXPECT_EQ(List(position, "version"), (std::vector<int64_t>{1, 57, 1}));
  EXPECT_EQ(Number(position, "requestLink"), -1);
  EXPECT_EQ(Number(position, "positionIndex"), 1);
  const InspectNode* mode = FindTag(*slots[2], "CHTM");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(Number(*mode, "value"), 2);

  const InspectNode* interfaceType = FindTag(*slots[3], "CHIT");
  ASSERT_NE(interfaceType, nullptr);
  EXPECT_EQ(Text(*interfaceType, "name"), "VCO_PARAMETER");
  EXPECT_TRUE(slots[3]->notes_.empty()) << slots[3]->notes_[0];
  EXPECT_NE(FindTag(*slots[3], "CHEN"), nullptr);
  EXPECT_EQ(Text(*FindTag(*slots[4], "CPNP"), "value"), "Entered");
  EXPECT_EQ(Text(*FindTag(*slots[4], "CEPG"), "value"), kGroupGuid);

  const InspectNode* params = FindTag(r.root, "CGII");
  ASSERT_NE(params, nullptr);
  ASSERT_EQ(params->children_.size(), 2u);
  EXPECT_EQ(Text(params->children_[0], "name"), "Speed");
  EXPECT_EQ(Text(params->children_[0], "typeGuid"), kTypeA);
  EXPECT_EQ(Text(params->children_[1], "name"), "NoInterface");
  EXPECT_EQ(Text(params->children_[1], "typeGuid"), "00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(Text(*FindTag(r.root, "CINA"), "value"), "No Name Instance");
}

TEST(InspectGroupFile, NotesANewerVersionAndSkipsForeignBytesBeforeTheNextChannel) {
  ByteFixture f;
  f.Int("LVRS", 58).Marker("VLTG").Int("CHCO", 2);
  f.Int("CHIX", 0).Text("CHNA", "A").Int("CHLC", 0);
  f.Marker("MARK").Raw({1, 2, 3});  // a marker of the type's own: no longer a block walk
  f.Int("CHIX", 1).Text("CHNA", "B").Int("CHLC", 0);
  const InspectResult r = Decode(f.Bytes());
  ASSERT_TRUE(r.ok) << r.ErrorText();
  ASSERT_EQ(r.root.children_[0].notes_.size(), 1u);
  EXPECT_NE(r.root.children_[0].notes_[0].find("refuses"), std::string::npos);
  const std::vector<const InspectNode*> skipped = Kind(r.root, "bytes");
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0]->size_, 7);
  EXPECT_EQ(Text(*Kind(r.root, "slot")[1], "name"), "B");
}

TEST(InspectChannelList, DecodesTypeRecordsAndFileNames) {
  const InspectResult r = Decode(ChannelListFile().Bytes());
  ASSERT_TRUE(r.ok) << r.ErrorText();
  EXPECT_EQ(Text(r.root, "kind"), "channel list");
  const std::vector<const InspectNode*> items = Kind(r.root, "item");
  ASSERT_EQ(items.size(), 2u);
  const std::vector<const InspectNode*> types = Kind(*items[1], "record");
  ASSERT_EQ(types.size(), 1u);
  EXPECT_EQ(Text(*types[0], "name"), "Tick Count");
  EXPECT_EQ(Text(*types[0], "typeGuid"), kTypeB);
  EXPECT_EQ(Text(*types[0], "baseGuid"), kTypeB);
  EXPECT_EQ(List(*types[0], "version"), (std::vector<int64_t>{1, 57, 2}));
  EXPECT_EQ(List(*types[0], "reserved"), (std::vector<int64_t>{0, 0}));
  EXPECT_EQ(Text(*FindTag(*items[0], "C1FN"), "value"), std::string(kTypeA) + ".so");
}

TEST(InspectChannelList, OtherEngineVersionIsNotedNotRefused) {
  ByteFixture f;
  f.Int("CHEV", 56).Int("C1CC", 0);
  const InspectResult r = Decode(f.Bytes());
  ASSERT_TRUE(r.ok) << r.ErrorText();
  ASSERT_EQ(r.root.children_[0].notes_.size(), 1u);
  EXPECT_NE(r.root.children_[0].notes_[0].find("rebuilds"), std::string::npos);
}

TEST(InspectProjectFile, DecodesDependenciesWithUntaggedBlocksAndAttachedCopies) {
  const InspectResult r = Decode(ProjectFile().Bytes());
  ASSERT_TRUE(r.ok) << r.ErrorText();
  EXPECT_EQ(Text(r.root, "kind"), "project file");
  EXPECT_EQ(Text(*FindTag(r.root, "LSGR"), "value"), "start.cgr");
  const std::vector<const InspectNode*> entries = Kind(r.root, "entry");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0]->children_.at(0).tag_, "LFDB");
  const std::vector<const InspectNode*> untagged = Kind(*entries[1], "untagged");
  ASSERT_EQ(untagged.size(), 2u);
  EXPECT_EQ(List(*untagged[0], "value"), (std::vector<int64_t>{1, 57, 1}));
  EXPECT_EQ(Text(*untagged[1], "value"), "efbeadde");
  EXPECT_TRUE(FindTag(*entries[1], "LCAF")->notes_.empty());
  EXPECT_EQ(Text(*FindTag(*entries[2], "LDDF"), "value"), "support.so");
}

TEST(InspectContainer, InflatesTwoNestedLevelsAndDecodesTheContent) {
  const std::vector<uint8_t> group = GroupFile().Bytes();
  const InspectResult r = Decode(ByteFixture::Compressed(ByteFixture::Compressed(group)));
  ASSERT_TRUE(r.ok) << r.ErrorText();
  EXPECT_EQ(Text(r.root, "kind"), "container");
  const std::vector<const InspectNode*> containers = Kind(r.root, "container");
  ASSERT_EQ(containers.size(), 2u);
  EXPECT_EQ(Text(*containers[0], "translator"), "51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4");
  const std::vector<const InspectNode*> translated = Kind(r.root, "translated");
  ASSERT_EQ(translated.size(), 2u);
  EXPECT_EQ(Text(*translated[0], "kind"), "container");
  EXPECT_EQ(Text(*translated[1], "kind"), "group file");
  EXPECT_EQ(translated[1]->size_, static_cast<int64_t>(group.size()));
  EXPECT_EQ(Kind(*translated[1], "slot").size(), 5u);
  // Below a container, offsets count from the start of the translated data.
  EXPECT_EQ(translated[1]->children_.at(0).tag_, "LVRS");
  EXPECT_EQ(translated[1]->children_.at(0).offset_, 0u);
}

TEST(InspectContainer, UnknownTranslatorStopsWithANote) {
  ByteFixture f;
  f.Guid("VLTF", kTypeA).Int("XXXX", 1);
  const InspectResult r = Decode(f.Bytes());
  EXPECT_TRUE(r.ok) << r.ErrorText();
  EXPECT_TRUE(r.incomplete);
  const std::vector<const InspectNode*> containers = Kind(r.root, "container");
  ASSERT_EQ(containers.size(), 1u);
  ASSERT_EQ(containers[0]->notes_.size(), 1u);
  EXPECT_NE(containers[0]->notes_[0].find(std::string("unknown translator ") + kTypeA),
            std::string::npos);
}

// The protected form: the plain group file, scrambled, behind "__3_" and its length.
std::vector<uint8_t> Protected(const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> body = plain;
  vinspect::GroupFileDecoder::Unscramble(body.data(), body.size());
  ByteFixture f;
  f.Marker("__3_").Int("OPRT", static_cast<int32_t>(body.size())).Block("WWRT", body);
  return f.Bytes();
}

TEST(InspectProtectedGroup, BodyIsUnscrambledAndDecodedAlsoInsideAContainer) {
  const std::vector<uint8_t> plain = GroupFile().Bytes();
  for (const std::vector<uint8_t>& file :
       {Protected(plain), ByteFixture::Compressed(Protected(plain)),
        Protected(ByteFixture::Compressed(plain))}) {
    const InspectResult r = Decode(file);
    ASSERT_TRUE(r.ok) << r.ErrorText();
    EXPECT_FALSE(r.incomplete);
    EXPECT_EQ(Kind(r.root, "slot").size(), 5u);
    const InspectNode* body = FindTag(r.root, "WWRT");
    ASSERT_NE(body, nullptr);
    ASSERT_EQ(body->children_.size(), 1u);
    EXPECT_EQ(body->children_[0].size_,
              static_cast<int64_t>(FindTag(r.root, "OPRT")->fields_.at(0).number));
  }
  // A length that does not match the body is refused at the body.
  std::vector<uint8_t> wrong = Protected(plain);
  ByteFixture::PutI32(wrong, 12, 5);
  const InspectResult r = Decode(wrong);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.errorOffset, 16u);
  EXPECT_NE(r.errorMessage.find("\"OPRT\" gives 5"), std::string::npos) << r.ErrorText();
}

// Every prefix of every fixture: the decoder never reads past the end, and a file cut where
// a required block is missing or inside a block fails with an offset within the prefix.
TEST(InspectTruncated, EveryPrefixFailsCleanlyUnlessTheRestIsOptional) {
  struct Case {
    const char* name;
    ByteFixture fixture;
  };
  ByteFixture container;
  container.Raw(ByteFixture::Compressed(GroupFile().Bytes()));
  ByteFixture protectedGroup;
  protectedGroup.Raw(Protected(GroupFile().Bytes()));
  const Case cases[] = {{"group", GroupFile()},
                        {"protected group", protectedGroup},
                        {"channel list", ChannelListFile()},
                        {"project", ProjectFile()},
                        {"container", container}};
  for (const Case& c : cases) {
    const std::vector<uint8_t>& full = c.fixture.Bytes();
    for (size_t len = 0; len < full.size(); ++len) {
      // A copy of exactly the prefix, so that ASan sees any read past it.
      const std::vector<uint8_t> prefix(full.begin(), full.begin() + static_cast<long>(len));
      const InspectResult r = Decode(prefix);
      if (c.fixture.MayEndAt(len)) {
        EXPECT_TRUE(r.ok) << c.name << " cut at " << len << ": " << r.ErrorText();
      } else {
        ASSERT_FALSE(r.ok) << c.name << " cut at " << len;
        EXPECT_LE(r.errorOffset, len) << c.name << " " << r.ErrorText();
        EXPECT_FALSE(r.errorMessage.empty());
      }
    }
  }
}

struct HostileCase {
  const char* name;
  std::vector<uint8_t> bytes;
  uint64_t offset;
  const char* message;  // a part of the error message
};

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const std::vector<uint8_t>& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<HostileCase> HostileCases() {
  std::vector<HostileCase> cases;
  const std::vector<uint8_t> groupHead = ByteFixture().Marker("VLTG").Int("CHCO", 1).Bytes();
  cases.push_back(
      {"name size past the end",
       Cat({groupHead, ByteFixture().Int("CHIX", 0).Tag("CHNA").U32(0xFFFFFFF0u).Bytes()}), 28,
       "runs past the end"});
  cases.push_back({"index block of 5 bytes",
                   Cat({groupHead, ByteFixture().Block("CHIX", {0, 0, 0, 0, 0}).Bytes()}), 16,
                   "size 5, expected 4"});
  cases.push_back({"slot count far beyond the data",
                   ByteFixture().Marker("VLTG").Int("CHCO", 0x7FFFFFFF).Int("CHIX", -1).Bytes(), 28,
                   "expected the block \"CHIX\""});
  cases.push_back(
      {"link count far beyond the data",
       Cat({groupHead,
            ByteFixture().Int("CHIX", 0).Text("CHNA", "A").Int("CHLC", 0x7FFFFFFF).Bytes()}),
       50, "expected the block \"CHLI\""});
  cases.push_back({"more parameter records than the block holds",
                   Cat({ByteFixture().Marker("VLTG").Int("CHCO", 0).Int("CGIC", 3).Bytes(),
                        ByteFixture().Block("CGII", ParameterRecord("P", kTypeA)).Bytes()}),
                   28, "\"CGIC\" gives 3 records"});
  cases.push_back({"item count far beyond the data",
                   ByteFixture()
                       .Int("CHEV", 57)
                       .Int("C1CC", 1000000)
                       .Block("CHTY", ChannelTypeRecord("T", kTypeA))
                       .Bytes(),
                   164, "item 1 of 1000000"});
  cases.push_back({"type record of 131 bytes",
                   ByteFixture()
                       .Int("CHEV", 57)
                       .Int("C1CC", 1)
                       .Block("CHTY", std::vector<uint8_t>(131))
                       .Bytes(),
                   24, "size 131, expected 132"});
  cases.push_back({"container header of 15 bytes",
                   ByteFixture().Block("VLTF", std::vector<uint8_t>(15)).Bytes(), 0,
                   "size 15, expected 16"});
  cases.push_back(
      {"not a stored file", ByteFixture().Int("ABCD", 1).Bytes(), 0, "not a stored file"});

  const std::vector<uint8_t> plain = GroupFile().Bytes();
  std::vector<uint8_t> packed = ByteFixture::Compressed(plain);
  std::vector<uint8_t> huge = packed;
  ByteFixture::PutI32(huge, 32, -1);  // "ZIOS" = 0xFFFFFFFF
  cases.push_back({"size before compression far too big", huge, 48, "\"ZIOS\" gives 4294967295"});
  std::vector<uint8_t> small = packed;
  ByteFixture::PutI32(small, 32, 10);
  cases.push_back({"size before compression too small", small, 48, "more than the 10 bytes"});
  std::vector<uint8_t> damaged = packed;
  damaged[56] ^= 0xFF;  // the zlib header
  cases.push_back({"damaged zlib stream", damaged, 0, "damaged"});
  std::vector<uint8_t> wrongCount = packed;
  ByteFixture::PutI32(wrongCount, 44, 3);
  cases.push_back({"compressed size differs from the block", wrongCount, 48, "\"ZINS\" gives 3"});

  std::vector<uint8_t> deep = plain;
  for (int i = 0; i < Inspector::kMaxContainerDepth + 1; ++i) deep = ByteFixture::Compressed(deep);
  cases.push_back({"containers nested too deep", deep, 0, "nest more than"});
  return cases;
}

TEST(InspectHostile, FailsWithTheOffsetOfTheFaultyBlock) {
  for (const HostileCase& c : HostileCases()) {
    const InspectResult r = Decode(c.bytes);
    ASSERT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.errorMessage.find(c.message), std::string::npos) << c.name << ": " << r.ErrorText();
    if (std::string(c.message) != "damaged" && std::string(c.message) != "nest more than") {
      EXPECT_EQ(r.errorOffset, c.offset) << c.name << ": " << r.ErrorText();
    }
  }
}

TEST(InspectHostile, ErrorInsideTranslatedDataSaysWhereItsOffsetCounts) {
  const std::vector<uint8_t> notAGroup = ByteFixture().Int("LVRS", 57).Int("CHCO", 1).Bytes();
  const InspectResult r = Decode(ByteFixture::Compressed(notAGroup));
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.errorOffset, 12u);
  EXPECT_NE(r.errorMessage.find("expected the marker \"VLTG\""), std::string::npos);
  EXPECT_EQ(r.errorContext, "in the data translated from the container at offset 0");
  // What was decoded before the fault is kept.
  EXPECT_NE(FindTag(r.root, "LVRS"), nullptr);
}

}  // namespace
}  // namespace vinspect_test
