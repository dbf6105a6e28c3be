// Small helpers shared by the platform tests: a scratch folder and environment overrides that
// put everything back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat_test {

inline bool IsWindows() { return vplat::pathSeparator() == '\\'; }

// Sets a variable for the lifetime of the object, then restores the earlier state.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name) {
    had_ = vplat::getEnv(name, old_);
    vplat::setEnv(name, value);
  }
  ~EnvOverride() { vplat::setEnv(name_.c_str(), had_ ? old_.c_str() : nullptr); }
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

// A fresh folder below the system temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir() {
    unsigned char g[16];
    vplat::newGuid(g);
    char name[40];
    std::snprintf(name, sizeof name, "vexilon-test-%02x%02x%02x%02x%02x%02x", g[0], g[1], g[2],
                  g[3], g[4], g[5]);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << text;
}

}  // namespace vplat_test
