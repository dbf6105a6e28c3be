// Project files built byte by byte, and an installation to read them in: a fresh temporary
// folder holding copies of the base plug-ins, an empty 3rd folder, a registry file of its
// own and recorders for every message and message box.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Vexilon.h"
#include "platform/Platform.h"
#include "support/MessageRecorder.h"

namespace projecttest {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- bytes of a project

inline std::string Int(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                         static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
  return std::string(bytes, 4);
}

// A size and its data, without a tag.
inline std::string Untagged(const std::string& data) {
  return Int(static_cast<int32_t>(data.size())) + data;
}

inline std::string Block(const char* tag, const std::string& data) {
  return std::string(tag, 4) + Untagged(data);
}

inline std::string IntBlock(const char* tag, int32_t value) { return Block(tag, Int(value)); }

// A text with its terminating zero.
inline std::string Text(const std::string& text) { return text + std::string(1, '\0'); }

inline std::string GuidBytes(const GUID& g) {
  std::string out = Int(static_cast<int32_t>(g.Data1));
  out += std::string(1, static_cast<char>(g.Data2 & 0xFF)) +
         std::string(1, static_cast<char>(g.Data2 >> 8));
  out += std::string(1, static_cast<char>(g.Data3 & 0xFF)) +
         std::string(1, static_cast<char>(g.Data3 >> 8));
  out += std::string(reinterpret_cast<const char*>(g.Data4), 8);
  return out;
}

// A dependency entry: type, minimum version words, checksum.
inline std::string Dependency(const GUID& type, int v0, int v1, int v2, int32_t checksum) {
  return Block("LNDB", GuidBytes(type)) + Untagged(Int(v0) + Int(v1) + Int(v2)) +
         Untagged(Int(checksum));
}

// An attached copy: name, size and bytes under the three tags given.
inline std::string Copy(const char* nameTag, const char* sizeTag, const char* dataTag,
                        const std::string& name, const std::string& bytes) {
  return Block(nameTag, Text(name)) + IntBlock(sizeTag, static_cast<int32_t>(bytes.size())) +
         Block(dataTag, bytes);
}

inline std::string ChannelCopy(const std::string& name, const std::string& bytes) {
  return Copy("LCAN", "LCAS", "LCAF", name, bytes);
}

inline std::string LibraryCopy(const std::string& name, const std::string& bytes) {
  return Copy("LDLN", "LDLS", "LDLF", name, bytes);
}

inline std::string SupportLibrary(const std::string& name) {
  return Block("LDDF", Text(name)) + IntBlock("LCRC", 0x1234);
}

// The usual head: editor version 3, start group "Start.cgr".
inline std::string Head() { return IntBlock("LSPT", 3) + Block("LSGR", Text("Start.cgr")); }

// CRC-32 (the zlib polynomial) of bytes, as the file loader's GetCRC reports it.
inline int32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return static_cast<int32_t>(~crc);
}

inline std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteAll(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

inline std::string ModuleFile(const char* name) {
  return std::string(name) + "." + vplat::moduleExtension();
}

// ---------------------------------------------------------------- the installation

constexpr const char* kRegKey = "SOFTWARE\\Vexilon Tests\\Projects";

struct BasePlugin {
  const char* file;  // without the extension
  GUID type;
};

// The base plug-ins every test installation gets.
constexpr BasePlugin kBasePlugins[] = {
    {"FileLoader", VLT_FILELOADER_GUID},
    {"FileSaver", VLT_FILESAVER_GUID},
    {"Directory", VLT_DIRECTORY_GUID},
    {"51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4", VLT_COMPRESSION_TRANSLATOR_GUID},
    {"FileDialog", VLT_FILEDIALOG_GUID},
};

// Registers the installed base plug-ins the way the folder scan does, unless it found them.
inline void RegisterBasePlugins(EngineInterface* engine) {
  ChannelList* list = engine->GetExt()->GetChannelList();
  for (const BasePlugin& plugin : kBasePlugins) {
    if (list->GetItem(plugin.type) != nullptr) continue;
    auto* item = new ChannelListItem();
    item->type.typeGuid = plugin.type;
    item->type.baseGuid = plugin.type;
    std::snprintf(item->fileName, sizeof(item->fileName), "%s", ModuleFile(plugin.file).c_str());
    list->AddItem(item);
  }
}

// A temporary folder <temp>/vexilon-projects-<id> with the installation in its "install"
// sub-folder, so that a path escaping the installation still lands inside the test's folder.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsigned char id[16];
    vplat::newGuid(id);
    char name[48];
    std::snprintf(name, sizeof(name), "vexilon-projects-%02x%02x%02x%02x%02x%02x", id[0], id[1],
                  id[2], id[3], id[4], id[5]);
    root_ = fs::temp_directory_path() / name;
    install_ = root_ / "install";
    fs::create_directories(install_ / "channels");
    fs::create_directories(install_ / "3rd");
    hadRegistry_ = vplat::getEnv("VEXILON_REGISTRY", oldRegistry_);
    vplat::setEnv("VEXILON_REGISTRY", (root_ / "registry.reg").string().c_str());

    const fs::path built = fs::path(vplat::executableDir()) / "channels";
    for (const BasePlugin& plugin : kBasePlugins)
      fs::copy_file(built / ModuleFile(plugin.file),
                    install_ / "channels" / ModuleFile(plugin.file));
  }

  void TearDown() override {
    vplat::regDeleteValue(vplat::RegRoot::LocalMachine, kRegKey, "LmrCrCCheck");
    vplat::setEnv("VEXILON_REGISTRY", hadRegistry_ ? oldRegistry_.c_str() : nullptr);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // Writes a project file into the project folder and answers its path.
  std::string WriteProject(const std::string& bytes, const char* name = "Project.lmr") {
    fs::create_directories(root_ / "project");
    const fs::path path = root_ / "project" / name;
    WriteAll(path, bytes);
    return path.string();
  }

  std::string ProjectFolder() const {
    return (root_ / "project").string() + std::string(1, vplat::pathSeparator());
  }

  // Texts of the message boxes shown so far.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_.boxes) texts.push_back(box.text);
    return texts;
  }

  // Every file below the test's folder, relative to it.
  std::vector<std::string> AllFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root_))
      if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), root_).string());
    return names;
  }

  fs::path root_;
  fs::path install_;
  MessageRecorder messages_;
  BoxRecorder boxes_;

 private:
  bool hadRegistry_ = false;
  std::string oldRegistry_;
};

}  // namespace projecttest
