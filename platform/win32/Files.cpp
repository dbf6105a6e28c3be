#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace vplat {

const char* moduleExtension() { return "dll"; }
char pathSeparator() { return '\\'; }
char pathListSeparator() { return ';'; }

// Windows already accepts both separators and ignores case.
std::string nativePath(const char* path) { return path ? path : ""; }

bool fileExists(const char* path) {
  return path && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool appendToFile(const char* path, const void* data, size_t size) {
  HANDLE h = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const char* bytes = static_cast<const char*>(data);
  bool ok = true;
  while (size > 0) {
    DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(h, bytes, chunk, &written, nullptr) || written == 0) {
      ok = false;
      break;
    }
    bytes += written;
    size -= written;
  }
  return ::CloseHandle(h) && ok;
}

std::string executableDir() {
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameA(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return ".";
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  size_t slash = buf.find_last_of("\\/");
  return slash == std::string::npos ? "." : buf.substr(0, slash);
}

}  // namespace vplat
