#include "DirectoryChannel.h"

#include <cstdio>

#include "platform/Platform.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// '*' matches any run of characters, '?' any one; everything else ignoring case.
bool WildcardMatch(const char* mask, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*mask == '*') {
      star = mask++;
      resume = name;
    } else if (*mask == '?' || (*mask != '\0' && Lower(*mask) == Lower(*name))) {
      ++mask;
      ++name;
    } else if (star != nullptr) {
      mask = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*mask == '*') ++mask;
  return *mask == '\0';
}

}  // namespace

DirectoryChannel::DirectoryChannel() = default;
DirectoryChannel::~DirectoryChannel() = default;

void DirectoryChannel::SetAcceptedExtention(const char* extension) {
  extension_ = extension != nullptr ? extension : "";
  if (!extension_.empty() && extension_[0] == '.') extension_.erase(0, 1);
  // Plug-in libraries are asked for as "DLL"; on Linux they carry the platform's extension.
  if (EqualNoCase(extension_, "dll")) extension_ = vplat::moduleExtension();
}

bool DirectoryChannel::ReadDir(const char* pattern) {
  files_.clear();
  const std::string text = pattern != nullptr ? pattern : "";
  const size_t cut = text.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : text.substr(0, cut + 1);
  std::string mask = cut == std::string::npos ? text : text.substr(cut + 1);
  // As on Windows, "*.*" means every file, with or without a dot in its name.
  if (mask.empty() || mask == "*.*") mask = "*";
  std::vector<std::string> names;
  if (!vplat::listFolder(folder.c_str(), names)) return false;
  for (const std::string& name : names) {
    if (!WildcardMatch(mask.c_str(), name.c_str())) continue;
    if (!extension_.empty()) {
      const size_t dot = name.find_last_of('.');
      if (dot == std::string::npos || !EqualNoCase(name.substr(dot + 1), extension_)) continue;
    }
    files_.push_back(name);
  }
  return true;
}

int DirectoryChannel::GetTotalFiles() { return static_cast<int>(files_.size()); }

const char* DirectoryChannel::GetFileName(int index) {
  if (index < 0 || static_cast<size_t>(index) >= files_.size()) return nullptr;
  return files_[static_cast<size_t>(index)].c_str();
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new DirectoryChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "Directory", VLT_DIRECTORY_GUID, VLT_DIRECTORY_GUID, 0);
}
