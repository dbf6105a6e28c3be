// Loading plug-ins on Linux the way the engine expects from Windows: names written with '\\'
// and ".dll", matched ignoring case, and dependencies found through PATH (the engine puts the
// "channels" and "3rd" folders there; the Linux loader only reads its own search path, so the
// dependencies found there are loaded first, after which the loader matches them by soname).
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

namespace {

// Codes as Windows reports them, so that messages and tests read the same on both.
constexpr uint32_t kNotFound = 2;             // ERROR_FILE_NOT_FOUND
constexpr uint32_t kInvalidParameter = 87;    // ERROR_INVALID_PARAMETER
constexpr uint32_t kDependencyMissing = 126;  // ERROR_MOD_NOT_FOUND
constexpr uint32_t kExportMissing = 127;      // ERROR_PROC_NOT_FOUND
constexpr uint32_t kBadImage = 193;           // ERROR_BAD_EXE_FORMAT

thread_local uint32_t t_errorCode = 0;
thread_local std::string t_errorText;

void SetError(uint32_t code, const std::string& text) {
  t_errorCode = code;
  t_errorText = text;
}

// Dependencies loaded for each module handle, one list per loadModule call, released by the
// matching freeModule.
Lock& DepsLock() {
  static Lock lock;
  return lock;
}
std::map<void*, std::vector<std::vector<void*>>>& DepsTable() {
  static auto* table = new std::map<void*, std::vector<std::vector<void*>>>;
  return *table;
}

bool IsFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// '\\' -> '/', and "x.dll" -> "x.so".
std::string LinuxName(const char* name) {
  std::string n = name;
  for (char& c : n)
    if (c == '\\') c = '/';
  if (n.size() > 4 && ::strcasecmp(n.c_str() + n.size() - 4, ".dll") == 0)
    n.replace(n.size() - 4, 4, ".so");
  return n;
}

// The file name in the first PATH folder that holds it (ignoring case).
bool FindOnPath(const std::string& fileName, std::string& found) {
  std::string path;
  if (!getEnv("PATH", path)) return false;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t sep = path.find(':', pos);
    if (sep == std::string::npos) sep = path.size();
    std::string folder = path.substr(pos, sep - pos);
    pos = sep + 1;
    if (folder.empty()) continue;
    std::string candidate = nativePath((folder + "/" + fileName).c_str());
    if (IsFile(candidate)) {
      found = candidate;
      return true;
    }
  }
  return false;
}

bool ReadFile(const std::string& path, std::string& data) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[65536];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) data.append(buf, static_cast<size_t>(n));
  ::close(fd);
  return n == 0;
}

// DT_NEEDED names from the section table; every offset and size is checked against the file,
// since a damaged plug-in must fail to load, not crash the loader.
template <class Ehdr, class Shdr, class Dyn>
void NeededFromImage(const std::string& data, std::vector<std::string>& out) {
  Ehdr eh;
  if (data.size() < sizeof eh) return;
  std::memcpy(&eh, data.data(), sizeof eh);
  if (eh.e_shoff == 0 || eh.e_shentsize != sizeof(Shdr)) return;
  uint64_t shoff = eh.e_shoff, shnum = eh.e_shnum;
  if (shoff > data.size() || shnum > (data.size() - shoff) / sizeof(Shdr)) return;
  auto section = [&](uint64_t i) {
    Shdr sh;
    std::memcpy(&sh, data.data() + shoff + i * sizeof(Shdr), sizeof sh);
    return sh;
  };
  auto inFile = [&](uint64_t off, uint64_t size) {
    return off <= data.size() && size <= data.size() - off;
  };
  for (uint64_t i = 0; i < shnum; ++i) {
    Shdr dyn = section(i);
    if (dyn.sh_type != SHT_DYNAMIC || dyn.sh_link >= shnum) continue;
    Shdr str = section(dyn.sh_link);
    if (!inFile(dyn.sh_offset, dyn.sh_size) || !inFile(str.sh_offset, str.sh_size)) return;
    for (uint64_t off = 0; off + sizeof(Dyn) <= dyn.sh_size; off += sizeof(Dyn)) {
      Dyn d;
      std::memcpy(&d, data.data() + dyn.sh_offset + off, sizeof d);
      if (d.d_tag == DT_NULL) break;
      if (d.d_tag != DT_NEEDED || d.d_un.d_val >= str.sh_size) continue;
      const char* s = data.data() + str.sh_offset + d.d_un.d_val;
      size_t max = static_cast<size_t>(str.sh_size - d.d_un.d_val);
      out.emplace_back(s, ::strnlen(s, max));
    }
  }
}

std::vector<std::string> NeededOf(const std::string& path) {
  std::vector<std::string> out;
  std::string data;
  if (!ReadFile(path, data) || data.size() < EI_NIDENT ||
      std::memcmp(data.data(), ELFMAG, SELFMAG) != 0 || data[EI_DATA] != ELFDATA2LSB)
    return out;
  if (data[EI_CLASS] == ELFCLASS64)
    NeededFromImage<Elf64_Ehdr, Elf64_Shdr, Elf64_Dyn>(data, out);
  else if (data[EI_CLASS] == ELFCLASS32)
    NeededFromImage<Elf32_Ehdr, Elf32_Shdr, Elf32_Dyn>(data, out);
  return out;
}

// Loads the dependencies of path that sit in PATH folders (depth first), then path itself.
void* LoadWithDependencies(const std::string& path, std::vector<void*>& deps,
                           std::set<std::string>& seen) {
  seen.insert(path);
  for (const std::string& needed : NeededOf(path)) {
    std::string depPath;
    if (needed.find('/') != std::string::npos || !FindOnPath(needed, depPath) ||
        seen.count(depPath))
      continue;
    // A dependency that fails to load is reported by the dlopen of the module needing it.
    if (void* h = LoadWithDependencies(depPath, deps, seen)) deps.push_back(h);
  }
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

ModuleHandle loadModule(const char* nameOrPath) {
  if (!nameOrPath || !*nameOrPath) {
    SetError(kInvalidParameter, "no module name");
    return nullptr;
  }
  std::string name = LinuxName(nameOrPath);
  std::string path;
  if (name.find('/') != std::string::npos) {
    path = nativePath(name.c_str());
    if (!IsFile(path)) {
      SetError(kNotFound, name + ": no such file");
      return nullptr;
    }
  } else if (!FindOnPath(name, path)) {
    // Not in a PATH folder: the system's own search (LD_LIBRARY_PATH, the cache) may know it.
    ::dlerror();
    if (void* h = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      SetError(0, "");
      return h;
    }
    const char* why = ::dlerror();
    SetError(kNotFound, why ? why : name + ": not found");
    return nullptr;
  }

  std::vector<void*> deps;
  std::set<std::string> seen;
  ::dlerror();
  void* handle = LoadWithDependencies(path, deps, seen);
  if (!handle) {
    const char* why = ::dlerror();
    std::string text = why ? why : path + ": cannot be loaded";
    // The file is there, so "cannot open shared object file" is about one it needs.
    bool depMissing = text.find("cannot open shared object file") != std::string::npos;
    for (auto it = deps.rbegin(); it != deps.rend(); ++it) ::dlclose(*it);
    SetError(depMissing ? kDependencyMissing : kBadImage, text);
    return nullptr;
  }
  {
    LockGuard guard(DepsLock());
    DepsTable()[handle].push_back(std::move(deps));
  }
  SetError(0, "");
  return handle;
}

void* findExport(ModuleHandle module, const char* name) {
  if (!module || !name) {
    SetError(kInvalidParameter, "no module or no export name");
    return nullptr;
  }
  ::dlerror();
  void* p = ::dlsym(module, name);
  if (!p) {
    const char* why = ::dlerror();
    SetError(kExportMissing, why ? why : std::string(name) + ": not exported");
    return nullptr;
  }
  SetError(0, "");
  return p;
}

void freeModule(ModuleHandle module) {
  if (!module) return;
  std::vector<void*> deps;
  {
    LockGuard guard(DepsLock());
    auto it = DepsTable().find(module);
    if (it != DepsTable().end()) {
      deps = std::move(it->second.back());
      it->second.pop_back();
      if (it->second.empty()) DepsTable().erase(it);
    }
  }
  ::dlclose(module);
  // The module goes first: it still refers to its dependencies until it is gone.
  for (auto it = deps.rbegin(); it != deps.rend(); ++it) ::dlclose(*it);
}

uint32_t lastErrorCode() { return t_errorCode; }

const char* lastErrorText() { return t_errorText.c_str(); }

}  // namespace vplat
