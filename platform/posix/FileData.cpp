#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

bool fileAttributes(const char* path, uint32_t& attributes) {
  attributes = 0;
  if (path == nullptr) return false;
  struct stat st;
  if (::stat(nativePath(path).c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) attributes |= kAttributeDirectory;
  if ((st.st_mode & S_IWUSR) == 0) attributes |= kAttributeReadOnly;
  return true;
}

bool setReadOnly(const char* path, bool readOnly) {
  if (path == nullptr) return false;
  const std::string p = nativePath(path);
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  return ::chmod(p.c_str(), mode) == 0;
}

bool replaceFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  // rename() over an existing file is atomic within one file system.
  return ::rename(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

bool deleteFile(const char* path) {
  return path != nullptr && ::unlink(nativePath(path).c_str()) == 0;
}

bool listFolder(const char* folder, std::vector<std::string>& names) {
  names.clear();
  if (folder == nullptr) return false;
  std::string base = nativePath(folder);
  DIR* dir = ::opendir(base.empty() ? "." : base.c_str());
  if (dir == nullptr) return false;
  if (!base.empty() && base.back() != '/') base += '/';
  while (dirent* entry = ::readdir(dir)) {
    // The entry's type comes with the listing on most file systems; only links and entries of
    // unknown type need a look of their own (a plug-in folder is listed at every engine start).
    if (entry->d_type == DT_REG) {
      names.push_back(entry->d_name);
      continue;
    }
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
    struct stat st;
    if (::stat((base + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      names.push_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return true;
}

}  // namespace vplat
