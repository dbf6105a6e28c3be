#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace vplat {

namespace {

thread_local uint32_t t_errorCode = 0;
thread_local std::string t_errorText;

void SetError(DWORD code) {
  t_errorCode = code;
  t_errorText.clear();
  if (code == 0) return;
  char* msg = nullptr;
  DWORD n = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&msg), 0, nullptr);
  if (n && msg) {
    t_errorText.assign(msg, n);
    while (!t_errorText.empty() && (t_errorText.back() == '\n' || t_errorText.back() == '\r'))
      t_errorText.pop_back();
  } else {
    t_errorText = "error " + std::to_string(code);
  }
  if (msg) ::LocalFree(msg);
}

bool IsFile(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The first PATH folder holding the file. Windows would search PATH as well, but only after
// the program's own and the system folders; the engine's folders must come first.
bool FindOnPath(const std::string& fileName, std::string& found) {
  std::string path;
  if (!getEnv("PATH", path)) return false;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t sep = path.find(';', pos);
    if (sep == std::string::npos) sep = path.size();
    std::string folder = path.substr(pos, sep - pos);
    pos = sep + 1;
    if (folder.empty()) continue;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    if (IsFile(folder + fileName)) {
      found = folder + fileName;
      return true;
    }
  }
  return false;
}

}  // namespace

ModuleHandle loadModule(const char* nameOrPath) {
  if (!nameOrPath || !*nameOrPath) {
    SetError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string name = nameOrPath;
  std::string path = name;
  if (name.find_first_of("\\/") == std::string::npos) FindOnPath(name, path);
  // No "cannot find the file" dialog: an unattended run must not block on it.
  DWORD oldMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE h = ::LoadLibraryA(path.c_str());
  DWORD code = h ? 0 : ::GetLastError();
  ::SetThreadErrorMode(oldMode, nullptr);
  SetError(code);
  return reinterpret_cast<ModuleHandle>(h);
}

void* findExport(ModuleHandle module, const char* name) {
  if (!module || !name) {
    SetError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  FARPROC p = ::GetProcAddress(static_cast<HMODULE>(module), name);
  SetError(p ? 0 : ::GetLastError());
  return reinterpret_cast<void*>(p);
}

void freeModule(ModuleHandle module) {
  if (module) ::FreeLibrary(static_cast<HMODULE>(module));
}

uint32_t lastErrorCode() { return t_errorCode; }

const char* lastErrorText() { return t_errorText.c_str(); }

}  // namespace vplat
