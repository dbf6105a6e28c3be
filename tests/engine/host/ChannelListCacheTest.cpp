// The plug-in registry cache channels.lst against real plug-in files in a temporary install
// folder: what the first start probes and writes, what later starts trust, and when the cache
// is set aside.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "HostFixture.h"

namespace hosttest {
namespace {

namespace fs = std::filesystem;
using testplugins::kGoodType;
using testplugins::kNestType;

std::string Ext() { return std::string(".") + vplat::moduleExtension(); }

// The test plug-ins' library files, named after their types as built.
fs::path BuiltTestPlugin(const char* dllName) {
  std::string name(dllName);
  name = name.substr(0, name.size() - 4) + Ext();
  return fs::path(InstallDir()) / "channels" / name;
}

fs::path BuiltBasePlugin(const char* name) {
  return fs::path(vplat::executableDir()) / "channels" / (std::string(name) + Ext());
}

// Renames through a third name: a file system that ignores case may take a rename that only
// changes case for a rename onto itself and keep the old name.
void RenameCase(const fs::path& from, const fs::path& to) {
  const fs::path step = from.string() + ".renaming";
  fs::rename(from, step);
  fs::rename(step, to);
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class ChannelListCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsigned char id[16];
    vplat::newGuid(id);
    char name[64];
    // Unique, so that no install folder is a part of another in "PATH".
    std::snprintf(name, sizeof(name), "vexilon-cache-%02x%02x%02x%02x%02x%02x%02x%02x", id[0],
                  id[1], id[2], id[3], id[4], id[5], id[6], id[7]);
    install_ = fs::temp_directory_path() / name;
    fs::create_directories(install_ / "channels");
    ClearTestLog();
  }

  void TearDown() override {
    engine_.reset();
    ClearTestLog();
    std::error_code ignored;
    fs::remove_all(install_, ignored);
  }

  fs::path Channels() const { return install_ / "channels"; }
  fs::path Cache() const { return install_ / "channels.lst"; }

  // The file plug-ins the registry reads and writes through.
  void InstallFilePlugins() {
    for (const char* base : {"FileLoader", "FileSaver", "Directory"})
      Install(BuiltBasePlugin(base), std::string(base) + Ext());
  }
  void Install(const fs::path& from, const std::string& as) {
    fs::copy_file(from, Channels() / as, fs::copy_options::overwrite_existing);
  }
  std::string GoodFile() const {
    const std::string n = testplugins::kGoodFile;
    return n.substr(0, n.size() - 4) + Ext();
  }
  std::string NestFile() const {
    const std::string n = testplugins::kNestFile;
    return n.substr(0, n.size() - 4) + Ext();
  }

  // Starts an engine on the install folder; the log then tells which test libraries the start
  // probed (a probe loads and frees the library, which logs its unload).
  void Start(const char* className = "Vexilon Test Host") {
    engine_.reset();
    ClearTestLog();
    engine_ = std::make_unique<EngineInterface>();
    engine_->GetExt()->SetInstallDir(install_.string().c_str());
    engine_->GetExt()->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\Cache");
    ASSERT_TRUE(engine_->GetExt()->InitEngine(nullptr, className));
    startLog_ = TestLog();
  }
  void Stop() { engine_.reset(); }

  ChannelList* List() { return engine_->GetExt()->GetChannelList(); }

  std::vector<std::string> FileNamesOf(const GUID& type) {
    std::vector<std::string> names;
    for (int i = 0; i < List()->GetItemCount(); ++i) {
      ChannelListItem* item = List()->GetItem(i);
      if (item != nullptr && VltGuidEqual(item->type.typeGuid, type))
        names.push_back(item->fileName);
    }
    return names;
  }

  ScopedRegistry registry_;
  fs::path install_;
  std::unique_ptr<EngineInterface> engine_;
  std::string startLog_;
};

TEST_F(ChannelListCacheTest, FirstStartProbesAndWritesTheCacheTheSecondProbesNothing) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), GoodFile());
  Install(BuiltTestPlugin(testplugins::kNestFile), NestFile());

  Start();
  EXPECT_EQ(Count(startLog_, "unload:Good;"), 1) << startLog_;
  EXPECT_EQ(Count(startLog_, "unload:Nest;"), 1) << startLog_;
  EXPECT_EQ(FileNamesOf(kGoodType), std::vector<std::string>{GoodFile()});
  // The file plug-ins are channel libraries like any other, and the saver must be listed for the
  // cache to be written by type.
  EXPECT_EQ(FileNamesOf(VLT_FILESAVER_GUID).size(), 1u);
  const int items = List()->GetItemCount();
  EXPECT_FALSE(fs::exists(Cache())) << "written at release, not at start";
  Stop();
  ASSERT_TRUE(fs::exists(Cache()));
  EXPECT_EQ(fs::file_size(Cache()), 24u + static_cast<uintmax_t>(items) * (140 + 268));

  Start();
  EXPECT_EQ(startLog_, "") << "cached libraries are not probed again";
  EXPECT_EQ(List()->GetItemCount(), items);
  EXPECT_EQ(FileNamesOf(kNestType), std::vector<std::string>{NestFile()});
  const ChannelType cached = List()->GetChannelType(kGoodType);
  EXPECT_EQ(cached.version[1], VLT_ENGINE_VERSION);
  // A cached item is created from its library on first use like a scanned one.
  Vlt_Channel* good = engine_->InitChannelFromType(kGoodType, nullptr, false);
  ASSERT_NE(good, nullptr);
  delete good;
}

TEST_F(ChannelListCacheTest, CacheOfAnotherVersionIsIgnoredAndRewritten) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), GoodFile());
  Start();
  Stop();
  std::vector<uint8_t> bytes = ReadBytes(Cache());
  ASSERT_GE(bytes.size(), 12u);
  ASSERT_EQ(std::memcmp(bytes.data(), "CHEV\x04\0\0\0\x39\0\0\0", 12), 0);
  bytes[8] = 56;
  WriteBytes(Cache(), bytes);

  Start();
  EXPECT_EQ(Count(startLog_, "unload:Good;"), 1) << "the 56 cache was not trusted";
  EXPECT_EQ(FileNamesOf(kGoodType).size(), 1u);
  Stop();
  EXPECT_EQ(ReadBytes(Cache())[8], 57);
}

TEST_F(ChannelListCacheTest, DeletedLibraryDropsOutOfTheCache) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), GoodFile());
  Install(BuiltTestPlugin(testplugins::kNestFile), NestFile());
  Start();
  const int items = List()->GetItemCount();
  Stop();
  fs::remove(Channels() / NestFile());

  Start();
  EXPECT_EQ(startLog_, "");
  EXPECT_TRUE(FileNamesOf(kNestType).empty());
  EXPECT_EQ(List()->GetItemCount(), items - 1);
  Stop();
  EXPECT_EQ(fs::file_size(Cache()), 24u + static_cast<uintmax_t>(items - 1) * (140 + 268));
}

// A scanned name matches a listed one when the first letter is identical and the rest equal
// ignoring case.
TEST_F(ChannelListCacheTest, NamesDifferingInCaseAfterTheFirstLetterAreNotProbedAgain) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), "Foo" + Ext());
  Start();
  ASSERT_EQ(FileNamesOf(kGoodType), std::vector<std::string>{"Foo" + Ext()});
  Stop();

  RenameCase(Channels() / ("Foo" + Ext()), Channels() / ("FOO" + Ext()));
  Start();
  EXPECT_EQ(startLog_, "") << "FOO against Foo";
  EXPECT_EQ(FileNamesOf(kGoodType), std::vector<std::string>{"Foo" + Ext()});
  Stop();

  RenameCase(Channels() / ("FOO" + Ext()), Channels() / ("foo" + Ext()));
  Start();
  EXPECT_EQ(Count(startLog_, "unload:Good;"), 1) << "foo against Foo";
  EXPECT_EQ(FileNamesOf(kGoodType), (std::vector<std::string>{"Foo" + Ext(), "foo" + Ext()}));
}

TEST_F(ChannelListCacheTest, EditorOnlyLibrariesOnlyForTheEditor) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), "Tools.dle");
  Start("Lumenar Viewer");
  EXPECT_EQ(startLog_, "");
  EXPECT_TRUE(FileNamesOf(kGoodType).empty());
  Stop();

  Start("lumenar editor");  // the class name is compared exactly
  EXPECT_TRUE(FileNamesOf(kGoodType).empty());
  Stop();

  Start("Lumenar Editor");
  EXPECT_EQ(Count(startLog_, "unload:Good;"), 1);
  EXPECT_EQ(FileNamesOf(kGoodType), std::vector<std::string>{"Tools.dle"});
  Stop();

  // Listed now: the editor trusts the cache, a runtime host takes the library once more.
  Start("Lumenar Editor");
  EXPECT_EQ(startLog_, "");
  Stop();
  runtimeHost = true;
  Start("Lumenar Editor");
  runtimeHost = false;
  EXPECT_EQ(Count(startLog_, "unload:Good;"), 1);
  EXPECT_EQ(FileNamesOf(kGoodType), (std::vector<std::string>{"Tools.dle", "Tools.dle"}));
}

// ------------------------------------------------------------------ the bytes of the cache

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag, uint32_t size) {
  out.insert(out.end(), tag, tag + 4);
  PutU32(out, size);
}

// A type record laid out by hand: name (80), type GUID, base GUID, three versions, two
// reserved words.
std::vector<uint8_t> TypeBytes(const char* name, const std::vector<uint8_t>& guid,
                               const std::vector<uint8_t>& base, int v0, int v1, int v2) {
  std::vector<uint8_t> out(80, 0);
  std::memcpy(out.data(), name, std::strlen(name));
  // Byte by byte: GCC 12 at -O3 misreads a range insert after a sized construction as an overrun.
  for (uint8_t byte : guid) out.push_back(byte);
  for (uint8_t byte : base) out.push_back(byte);
  for (int v : {v0, v1, v2, 0, 0}) PutU32(out, static_cast<uint32_t>(v));
  return out;
}

std::vector<uint8_t> NameField(const std::string& name) {
  std::vector<uint8_t> out(260, 0);
  std::memcpy(out.data(), name.data(), name.size());
  return out;
}

ChannelListItem* MakeItem(const char* name, const GUID& type, int v2, const std::string& file) {
  auto* item = new ChannelListItem();
  std::snprintf(item->type.name, sizeof(item->type.name), "%s", name);
  item->type.typeGuid = type;
  item->type.version[2] = v2;
  std::snprintf(item->fileName, sizeof(item->fileName), "%s", file.c_str());
  return item;
}

TEST_F(ChannelListCacheTest, TwoItemsAreWrittenByteForByteAndReadBack) {
  // Only the saver: no cache is read and no folder scanned, so the registry holds exactly
  // the two items given.
  Install(BuiltBasePlugin("FileSaver"), "FileSaver" + Ext());
  Start();
  ASSERT_EQ(List()->GetItemCount(), 0);
  // The saver's own item (its base GUID left null, so that creating the saver leaves the
  // record as given), and one more.
  List()->AddItem(MakeItem("Saver", VLT_FILESAVER_GUID, 3, "FileSaver" + Ext()));
  List()->AddItem(MakeItem("Good", kGoodType, 0, "Good" + Ext()));
  ASSERT_TRUE(List()->SaveChannelList());

  const std::vector<uint8_t> saverGuid = {0x3D, 0x07, 0xB8, 0xF2, 0xC1, 0x94, 0x5E, 0x4A,
                                          0x8D, 0x26, 0xC5, 0xE3, 0xA9, 0x1B, 0x7F, 0x08};
  const std::vector<uint8_t> goodGuid = {0xD4, 0xC3, 0xB2, 0xA1, 0x01, 0x00, 0x00, 0x4E,
                                         0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
  const std::vector<uint8_t> null(16, 0);
  std::vector<uint8_t> golden;
  PutTag(golden, "CHEV", 4);
  PutU32(golden, 57);
  PutTag(golden, "C1CC", 4);
  PutU32(golden, 2);
  for (const auto& [type, file] :
       {std::make_pair(TypeBytes("Saver", saverGuid, null, 1, 57, 3), "FileSaver" + Ext()),
        std::make_pair(TypeBytes("Good", goodGuid, null, 1, 57, 0), "Good" + Ext())}) {
    PutTag(golden, "CHTY", 132);
    golden.insert(golden.end(), type.begin(), type.end());
    PutTag(golden, "C1FN", 260);
    const std::vector<uint8_t> name = NameField(file);
    golden.insert(golden.end(), name.begin(), name.end());
  }
  ASSERT_EQ(golden.size(), 840u);
  EXPECT_EQ(ReadBytes(Cache()), golden);
  Stop();  // writes it again at release, the same

  // Read back by a start with the loader: both items come from the cache, none is probed.
  EXPECT_EQ(ReadBytes(Cache()), golden);
  Install(BuiltBasePlugin("FileLoader"), "FileLoader" + Ext());
  WriteBytes(Channels() / ("Good" + Ext()), {});  // only its presence is looked at
  Start();
  ASSERT_EQ(List()->GetItemCount(), 2);
  const ChannelType saver = List()->GetItem(0)->type;
  EXPECT_STREQ(saver.name, "Saver");
  EXPECT_TRUE(VltGuidEqual(saver.typeGuid, VLT_FILESAVER_GUID));
  EXPECT_TRUE(VltGuidIsNull(saver.baseGuid));
  EXPECT_EQ(saver.version[2], 3);
  EXPECT_EQ(std::string(List()->GetItem(1)->fileName), "Good" + Ext());
  EXPECT_FALSE(List()->GetItem(1)->failed);
}

// A damaged cache never overruns a record and is set aside as a whole: every library is
// probed again and the registry comes out complete.
TEST_F(ChannelListCacheTest, DamagedCacheIsSetAsideAndRebuilt) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), GoodFile());
  Start();
  const int items = List()->GetItemCount();
  Stop();
  const std::vector<uint8_t> good = ReadBytes(Cache());
  ASSERT_EQ(good.size(), 24u + static_cast<size_t>(items) * 408);

  auto withSize = [&good](size_t at, uint32_t size) {
    std::vector<uint8_t> b = good;
    if (at + 4 > b.size()) return b;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(size >> (8 * i));
    return b;
  };
  auto cut = [&good](size_t length) {
    return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(length));
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } const cases[] = {
      {"cut inside CHEV", cut(10)},
      {"cut inside C1CC", cut(20)},
      {"cut inside the first type record", cut(24 + 8 + 60)},
      {"cut inside the last file name", cut(good.size() - 100)},
      {"type record of 200 bytes", withSize(28, 200)},
      {"file name of 300 bytes", withSize(24 + 140 + 4, 300)},
      {"size past the end", withSize(28, 0xFFFFFFF0u)},
  };
  for (const Case& c : cases) {
    WriteBytes(Cache(), c.bytes);
    Start();
    EXPECT_EQ(Count(startLog_, "unload:Good;"), 1) << c.what;
    EXPECT_EQ(List()->GetItemCount(), items) << c.what;
    Stop();
    EXPECT_EQ(ReadBytes(Cache()).size(), good.size()) << c.what;
  }
}

TEST_F(ChannelListCacheTest, CachedNamesThatAreNoFileInTheFolderAreDropped) {
  InstallFilePlugins();
  Install(BuiltTestPlugin(testplugins::kGoodFile), GoodFile());
  Start();
  const int items = List()->GetItemCount();
  Stop();
  // Extra items naming the channels folder itself (empty name), a path out of it, and a
  // folder inside it.
  fs::create_directories(Channels() / "sub");
  std::vector<uint8_t> bytes = ReadBytes(Cache());
  const std::vector<uint8_t> firstItem(bytes.begin() + 24, bytes.begin() + 24 + 408);
  for (const std::string& name : {std::string(), "../channels/" + GoodFile(), std::string("sub")}) {
    bytes.insert(bytes.end(), firstItem.begin(), firstItem.begin() + 148);
    const std::vector<uint8_t> field = NameField(name);
    bytes.insert(bytes.end(), field.begin(), field.end());
  }
  bytes[20] = static_cast<uint8_t>(items + 3);
  WriteBytes(Cache(), bytes);

  Start();
  EXPECT_EQ(startLog_, "");
  EXPECT_EQ(List()->GetItemCount(), items);
}

}  // namespace
}  // namespace hosttest
