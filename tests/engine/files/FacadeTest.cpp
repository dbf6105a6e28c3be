// Without the file plug-ins the facades report once, at construction, and then answer every
// operation with its default.
#include "FilesFixture.h"

namespace {

using filestest::BasePlugin;
using filestest::FilesTest;

class NoFilePluginsTest : public FilesTest {
 protected:
  std::vector<BasePlugin> Plugins() const override { return {filestest::kDirectory}; }
};

// globalEngine for the constructors without arguments, put back afterwards.
class GlobalEngineScope {
 public:
  explicit GlobalEngineScope(EngineInterface* engine) : old_(globalEngine) {
    globalEngine = engine;
  }
  ~GlobalEngineScope() { globalEngine = old_; }
  GlobalEngineScope(const GlobalEngineScope&) = delete;
  GlobalEngineScope& operator=(const GlobalEngineScope&) = delete;

 private:
  EngineInterface* old_;
};

TEST_F(NoFilePluginsTest, ConstructorsReportTheMissingClass) {
  struct Case {
    const char* what;
    void (*make)(EngineInterface* engine);
    const char* text;
  };
  const Case cases[] = {
      {"loader with engine", [](EngineInterface* e) { VltFileLoader loader(e); },
       "VltFileLoader::VltFileLoader: File loader class not found"},
      {"saver with engine", [](EngineInterface* e) { VltFileSaver saver(e); },
       "VltFileSaver::VltFileSaver: File loader class not found"},
      {"loader from globalEngine",
       [](EngineInterface* e) {
         GlobalEngineScope scope(e);
         VltFileLoader loader;
       },
       "File loader class not found"},
      {"saver from globalEngine",
       [](EngineInterface* e) {
         GlobalEngineScope scope(e);
         VltFileSaver saver;
       },
       "File loader class not found"},
      {"loader without any engine",
       [](EngineInterface*) {
         GlobalEngineScope scope(nullptr);
         VltFileLoader loader;
       },
       "File loader class not found"},
  };
  for (const Case& c : cases) {
    messages_.messages.clear();
    c.make(engine_.get());
    ASSERT_EQ(messages_.messages.size(), 1u) << c.what;
    EXPECT_EQ(messages_.messages[0].text, c.text) << c.what;
    EXPECT_EQ(messages_.messages[0].type, VLT_MSG_ERROR) << c.what;
  }
}

TEST_F(NoFilePluginsTest, EveryOperationAnswersItsDefaultWithoutFurtherReports) {
  VltFileLoader loader(engine_.get());
  VltFileSaver saver(engine_.get());
  EXPECT_EQ(loader.GetLoaderChannel(), nullptr);
  EXPECT_EQ(saver.GetSaverChannel(), nullptr);
  messages_.messages.clear();

  const std::string path = PathOf("group.cgr");
  uint32_t state = 7;
  char target[4] = "";
  loader.SetBuffer("CHIC", 4, true);
  loader.SetBlockSize(16);
  loader.ResetPosition();
  loader.AddBufferPos(1);
  loader.SetURL("http://example.invalid");
  loader.SaveURLToCache("http://example.invalid");
  loader.SetBufferChar(0, 'x');
  loader.StopLoading();
  loader.RunThreaded(&state);
  EXPECT_FALSE(loader.LoadFile(path.c_str()));
  EXPECT_EQ(loader.GetTagData(), nullptr);
  EXPECT_FALSE(loader.CopyTagDataToPointer(target));
  EXPECT_FALSE(loader.CheckHeader("CHIC", false));
  EXPECT_FALSE(loader.GotoTag("CHIC", 0));
  EXPECT_FALSE(loader.GetInfoIfTag("CHIC"));
  EXPECT_EQ(loader.GetSizeDataBlock(true), 0u);
  EXPECT_EQ(loader.GetBuffer(), nullptr);
  EXPECT_EQ(loader.GetBufferSize(), 0);
  EXPECT_FALSE(loader.GetIfEndOfFile());
  EXPECT_FALSE(loader.SkipCurrentTag());
  EXPECT_FALSE(loader.CheckULRCache("http://example.invalid"));
  EXPECT_EQ(loader.GetChacheFileNameFromURL("http://example.invalid"), nullptr);
  EXPECT_EQ(loader.GetCRC(), 0);
  EXPECT_EQ(loader.GetAttributes(), 0u);
  EXPECT_EQ(state, 7u);

  EXPECT_FALSE(saver.OpenSaveFile(path.c_str(), false));
  saver.OpenMemory();
  EXPECT_EQ(saver.SaveTag("CHIC"), 0);
  EXPECT_EQ(saver.SaveBlockSize(1), 0);
  EXPECT_EQ(saver.SaveDataToFile("x", 1), 0);
  saver.CloseMemory();
  EXPECT_FALSE(saver.CloseSaveFile());
  EXPECT_EQ(saver.GetSaveingFileName(), nullptr);
  EXPECT_EQ(saver.GetBuffer(), nullptr);
  EXPECT_EQ(saver.GetBufferSize(), 0u);

  EXPECT_FALSE(vplat::fileExists(path.c_str()));
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(FilesTest, FacadesMadeFromTheGlobalEngineWork) {
  GlobalEngineScope scope(engine_.get());
  VltFileLoader loader;
  VltFileSaver saver;
  EXPECT_NE(loader.GetLoaderChannel(), nullptr);
  EXPECT_NE(saver.GetSaverChannel(), nullptr);
  EXPECT_EQ(loader.GetEngine(), engine_.get());
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
