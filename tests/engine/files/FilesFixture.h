// A real engine whose install folder is a fresh temporary folder holding copies of the base
// file plug-ins (from bin/channels, where the build puts them), a registry file of its own, and
// a recorder for every message. Tests choose which plug-ins the folder gets.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Vexilon.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace filestest {

struct BasePlugin {
  const char* file;  // without the extension
  GUID type;
};

constexpr BasePlugin kFileLoader = {"FileLoader", VLT_FILELOADER_GUID};
constexpr BasePlugin kFileSaver = {"FileSaver", VLT_FILESAVER_GUID};
constexpr BasePlugin kDirectory = {"Directory", VLT_DIRECTORY_GUID};
constexpr BasePlugin kTranslator = {"51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4",
                                    VLT_COMPRESSION_TRANSLATOR_GUID};

inline std::string ModuleFile(const char* name) {
  return std::string(name) + "." + vplat::moduleExtension();
}

inline std::string Bytes(const uint8_t* data, size_t size) {
  return data != nullptr ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
}

inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteAll(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

// The 25-byte stream: "CHIC" holding the byte 1, then "CHNA" holding "Channel" and its zero.
inline std::string GoldenStream() {
  const char bytes[25] = {'C', 'H', 'I', 'C', 1, 0, 0, 0, 1,  // flag block
                          'C', 'H', 'N', 'A', 8, 0, 0, 0, 'C', 'h', 'a', 'n', 'n', 'e', 'l', 0};
  return std::string(bytes, sizeof(bytes));
}

class FilesTest : public ::testing::Test {
 protected:
  // The plug-ins this test's install folder gets.
  virtual std::vector<BasePlugin> Plugins() const {
    return {kFileLoader, kFileSaver, kDirectory, kTranslator};
  }

  void SetUp() override {
    unsigned char id[16];
    vplat::newGuid(id);
    char name[48];
    std::snprintf(name, sizeof(name), "vexilon-files-%02x%02x%02x%02x%02x%02x", id[0], id[1], id[2],
                  id[3], id[4], id[5]);
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder_ / "channels");
    hadRegistry_ = vplat::getEnv("VEXILON_REGISTRY", oldRegistry_);
    vplat::setEnv("VEXILON_REGISTRY", (folder_ / "registry.reg").string().c_str());

    const std::filesystem::path built = std::filesystem::path(vplat::executableDir()) / "channels";
    for (const BasePlugin& plugin : Plugins())
      std::filesystem::copy_file(built / ModuleFile(plugin.file),
                                 folder_ / "channels" / ModuleFile(plugin.file));

    engine_ = std::make_unique<EngineInterface>();
    ext_ = engine_->GetExt();
    ext_->SetInstallDir(folder_.string().c_str());
    ext_->SetLumenarRegKey("SOFTWARE\\Vexilon Tests\\Files");
    ASSERT_TRUE(ext_->InitEngine(nullptr, "Vexilon Test Host"));
    // Registered the way the folder scan does, unless the scan already found them.
    for (const BasePlugin& plugin : Plugins()) {
      if (ext_->GetChannelList()->GetItem(plugin.type) != nullptr) continue;
      auto* item = new ChannelListItem();
      item->type.typeGuid = plugin.type;
      item->type.baseGuid = plugin.type;
      std::snprintf(item->fileName, sizeof(item->fileName), "%s", ModuleFile(plugin.file).c_str());
      ext_->GetChannelList()->AddItem(item);
    }
    messages_.messages.clear();
  }

  void TearDown() override {
    engine_.reset();
    vplat::setEnv("VEXILON_REGISTRY", hadRegistry_ ? oldRegistry_.c_str() : nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const char* name) const { return (folder_ / name).string(); }

  // Files in the install folder apart from the plug-ins, the registry and the registry cache.
  std::vector<std::string> LooseFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (entry.is_regular_file() && name != "registry.reg" && name != "channels.lst")
        names.push_back(name);
    }
    return names;
  }

  MessageRecorder messages_;
  std::filesystem::path folder_;
  std::unique_ptr<EngineInterface> engine_;
  EngineInterfaceExt* ext_ = nullptr;

 private:
  bool hadRegistry_ = false;
  std::string oldRegistry_;
};

}  // namespace filestest
