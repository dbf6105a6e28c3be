#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

bool fileAttributes(const char* path, uint32_t& attributes) {
  attributes = 0;
  if (path == nullptr) return false;
  DWORD found = ::GetFileAttributesA(path);
  if (found == INVALID_FILE_ATTRIBUTES) return false;
  attributes = static_cast<uint32_t>(found);
  return true;
}

bool setReadOnly(const char* path, bool readOnly) {
  if (path == nullptr) return false;
  DWORD found = ::GetFileAttributesA(path);
  if (found == INVALID_FILE_ATTRIBUTES) return false;
  DWORD wanted = readOnly ? (found | FILE_ATTRIBUTE_READONLY) : (found & ~FILE_ATTRIBUTE_READONLY);
  return wanted == found || ::SetFileAttributesA(path, wanted) != 0;
}

bool replaceFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool deleteFile(const char* path) { return path != nullptr && ::DeleteFileA(path) != 0; }

bool listFolder(const char* folder, std::vector<std::string>& names) {
  names.clear();
  if (folder == nullptr) return false;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return true;
}

}  // namespace vplat
