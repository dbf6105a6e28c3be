// Loading plug-ins on Linux the way the engine expects from Windows: names written with '\\'
// and ".dll", matched ignoring case, and dependencies found through PATH (the engine puts the
// "channels" and "3rd" folders there; the Linux loader only reads its own search path, so the
// dependencies found there are loaded first, after which the loader matches them by soname).
#include <dirent.h>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
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

std::string AsciiLower(const char* text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// ---------------------------------------------------------------- folder listings

// The case-insensitive search reads whole folders, and the PATH folders behind the engine's own
// are system folders with thousands of entries: reading them on every load cost far more than
// the load itself. So a listing is kept and read again only when its folder has changed.
// Folder times are coarse (a change in the same clock tick, or within two seconds on FAT, can
// leave the time as it was), so a listing is kept only once its folder has been still for a
// while; until then it is read anew each time, as if there were no cache.
struct FolderListing {
  dev_t device;
  ino_t inode;
  struct timespec modified;
  struct timespec changed;
  std::unordered_set<std::string> names;
  std::unordered_map<std::string, std::string> byLowerName;  // the smallest name of each
};

constexpr time_t kSettledSeconds = 2;
constexpr size_t kMaxListings = 64;

Lock& ListingsLock() {
  static Lock lock;
  return lock;
}
std::map<std::string, FolderListing>& Listings() {
  static auto* listings = new std::map<std::string, FolderListing>;
  return *listings;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Settled(const struct timespec& stamp) {
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  return stamp.tv_sec + kSettledSeconds < now.tv_sec ||
         (stamp.tv_sec + kSettledSeconds == now.tv_sec && stamp.tv_nsec < now.tv_nsec);
}

bool ReadListing(const std::string& folder, FolderListing& listing) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  while (dirent* e = ::readdir(dir)) {
    listing.names.insert(e->d_name);
    auto inserted = listing.byLowerName.emplace(AsciiLower(e->d_name), e->d_name);
    // Several names equal ignoring case: the smallest, so that the choice does not depend on
    // the order of readdir (nativePath chooses the same way).
    if (!inserted.second && inserted.first->second.compare(e->d_name) > 0)
      inserted.first->second = e->d_name;
  }
  ::closedir(dir);
  return true;
}

bool Lookup(const FolderListing& listing, const std::string& name, bool exactChecked,
            std::string& found) {
  if (!exactChecked && listing.names.count(name) != 0) {
    found = name;
    return true;
  }
  auto match = listing.byLowerName.find(AsciiLower(name.c_str()));
  if (match == listing.byLowerName.end()) return false;
  found = match->second;
  return true;
}

// The entry of folder (whose stat is given) named name: the name itself when it exists as
// written, else the smallest entry equal to it ignoring case. exactChecked: the caller already
// knows that the name as written does not exist.
bool FindInFolder(const std::string& folder, const struct stat& st, const std::string& name,
                  bool exactChecked, std::string& found) {
  LockGuard guard(ListingsLock());
  auto& listings = Listings();
  auto it = listings.find(folder);
  if (it != listings.end() && it->second.device == st.st_dev && it->second.inode == st.st_ino &&
      SameTime(it->second.modified, st.st_mtim) && SameTime(it->second.changed, st.st_ctim))
    return Lookup(it->second, name, exactChecked, found);
  if (it != listings.end()) listings.erase(it);

  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  if (!exactChecked && Exists(prefix + name)) {
    found = name;
    return true;
  }
  // The stamps are taken before the folder is read: a change while reading makes the next
  // look-up read it again.
  FolderListing fresh{st.st_dev, st.st_ino, st.st_mtim, st.st_ctim, {}, {}};
  if (!ReadListing(folder, fresh)) return false;
  const bool answered = Lookup(fresh, name, true, found);
  // The change time, unlike the modification time, cannot be set back by hand.
  if (Settled(st.st_ctim)) {
    if (listings.size() >= kMaxListings) listings.clear();
    listings.emplace(folder, std::move(fresh));
  }
  return answered;
}

bool FolderStat(const std::string& folder, struct stat& st) {
  return ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// What nativePath answers for a path with '/' separators, through the kept listings.
std::string ResolvePath(const std::string& p) {
  if (p.empty() || Exists(p)) return p;
  std::string out;
  bool resolving = true;
  size_t pos = 0;
  while (pos <= p.size()) {
    size_t slash = p.find('/', pos);
    if (slash == std::string::npos) slash = p.size();
    std::string part = p.substr(pos, slash - pos);
    if (resolving && !part.empty() && part != "." && part != ".." && !Exists(out + part)) {
      struct stat st;
      std::string found;
      if (FolderStat(out, st) && FindInFolder(out, st, part, true, found))
        part = found;
      else
        resolving = false;
    }
    out += part;
    if (slash < p.size()) out += '/';
    pos = slash + 1;
  }
  return out;
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
    struct stat st;
    // A folder written in another case than it has on disk is found as nativePath finds it.
    if (!FolderStat(folder, st)) {
      folder = ResolvePath(folder);
      if (!FolderStat(folder, st)) continue;
    }
    std::string name;
    if (!FindInFolder(folder, st, fileName, false, name)) continue;
    std::string candidate = folder + "/" + name;
    if (IsFile(candidate)) {
      found = candidate;
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- dependencies

// Reads size bytes at offset; false unless all of them are there.
bool ReadAt(int fd, uint64_t offset, void* out, size_t size) {
  char* to = static_cast<char*>(out);
  while (size > 0) {
    ssize_t n = ::pread(fd, to, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    to += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

// DT_NEEDED names from the section table. Only the headers, the dynamic section and its string
// table are read, not the whole image (a debug build's plug-in carries megabytes of debug
// data). Every offset and size is checked against the file, since a damaged plug-in must fail
// to load, not crash the loader.
template <class Ehdr, class Shdr, class Dyn>
void NeededFromImage(int fd, uint64_t fileSize, std::vector<std::string>& out) {
  Ehdr eh;
  if (!ReadAt(fd, 0, &eh, sizeof eh)) return;
  if (eh.e_shoff == 0 || eh.e_shentsize != sizeof(Shdr)) return;
  uint64_t shoff = eh.e_shoff, shnum = eh.e_shnum;
  if (shoff > fileSize || shnum > (fileSize - shoff) / sizeof(Shdr)) return;
  std::vector<Shdr> sections(static_cast<size_t>(shnum));
  if (shnum == 0 || !ReadAt(fd, shoff, sections.data(), sections.size() * sizeof(Shdr))) return;
  auto inFile = [&](uint64_t off, uint64_t size) {
    return off <= fileSize && size <= fileSize - off;
  };
  for (const Shdr& dyn : sections) {
    if (dyn.sh_type != SHT_DYNAMIC || dyn.sh_link >= shnum) continue;
    const Shdr& str = sections[dyn.sh_link];
    if (!inFile(dyn.sh_offset, dyn.sh_size) || !inFile(str.sh_offset, str.sh_size)) return;
    std::vector<char> dynamic(static_cast<size_t>(dyn.sh_size));
    std::vector<char> strings(static_cast<size_t>(str.sh_size));
    if (!ReadAt(fd, dyn.sh_offset, dynamic.data(), dynamic.size()) ||
        !ReadAt(fd, str.sh_offset, strings.data(), strings.size()))
      return;
    for (uint64_t off = 0; off + sizeof(Dyn) <= dyn.sh_size; off += sizeof(Dyn)) {
      Dyn d;
      std::memcpy(&d, dynamic.data() + off, sizeof d);
      if (d.d_tag == DT_NULL) break;
      if (d.d_tag != DT_NEEDED || d.d_un.d_val >= str.sh_size) continue;
      const char* s = strings.data() + d.d_un.d_val;
      size_t max = static_cast<size_t>(str.sh_size - d.d_un.d_val);
      out.emplace_back(s, ::strnlen(s, max));
    }
  }
}

std::vector<std::string> NeededOf(const std::string& path) {
  std::vector<std::string> out;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return out;
  struct stat st;
  unsigned char ident[EI_NIDENT];
  if (::fstat(fd, &st) == 0 && ReadAt(fd, 0, ident, sizeof ident) &&
      std::memcmp(ident, ELFMAG, SELFMAG) == 0 && ident[EI_DATA] == ELFDATA2LSB) {
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (ident[EI_CLASS] == ELFCLASS64)
      NeededFromImage<Elf64_Ehdr, Elf64_Shdr, Elf64_Dyn>(fd, size, out);
    else if (ident[EI_CLASS] == ELFCLASS32)
      NeededFromImage<Elf32_Ehdr, Elf32_Shdr, Elf32_Dyn>(fd, size, out);
  }
  ::close(fd);
  return out;
}

// A library the process already holds under this name (its soname or the name it was loaded
// by): the system loader binds the module to it, whatever PATH holds, so it needs no search.
// The system libraries every plug-in needs (the engine, the C and C++ runtimes) are all such.
bool AlreadyLoaded(const std::string& needed) {
  void* h = ::dlopen(needed.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!h) {
    ::dlerror();
    return false;
  }
  ::dlclose(h);
  return true;
}

// Loads the dependencies of path that sit in PATH folders (depth first), then path itself.
void* LoadWithDependencies(const std::string& path, std::vector<void*>& deps,
                           std::set<std::string>& seen) {
  seen.insert(path);
  for (const std::string& needed : NeededOf(path)) {
    std::string depPath;
    if (needed.find('/') != std::string::npos || AlreadyLoaded(needed) ||
        !FindOnPath(needed, depPath) || seen.count(depPath))
      continue;
    // A dependency that fails to load is reported by the dlopen of the module needing it.
    if (void* h = LoadWithDependencies(depPath, deps, seen)) deps.push_back(h);
  }
  ::dlerror();
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Exports found before, by module. The engine looks up a plug-in's InitDLL and GetType for
// every channel it makes from it, and dlsym hashes the name and searches the module's tables
// each time. A handle stays valid until dlclose, which only freeModule (and a failed load, for
// handles it opened itself) calls; both drop the handle's entries first.
struct FoundExport {
  std::string name;
  void* address;
};
Lock& ExportsLock() {
  static Lock lock;
  return lock;
}
std::unordered_map<void*, std::vector<FoundExport>>& Exports() {
  static auto* exports = new std::unordered_map<void*, std::vector<FoundExport>>;
  return *exports;
}

void ForgetExports(void* handle) {
  LockGuard guard(ExportsLock());
  Exports().erase(handle);
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
    path = ResolvePath(name);
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
    for (auto it = deps.rbegin(); it != deps.rend(); ++it) {
      ForgetExports(*it);
      ::dlclose(*it);
    }
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
  {
    LockGuard guard(ExportsLock());
    auto it = Exports().find(module);
    if (it != Exports().end()) {
      for (const FoundExport& known : it->second) {
        if (known.name == name) {
          SetError(0, "");
          return known.address;
        }
      }
    }
  }
  ::dlerror();
  void* p = ::dlsym(module, name);
  if (!p) {
    const char* why = ::dlerror();
    SetError(kExportMissing, why ? why : std::string(name) + ": not exported");
    return nullptr;
  }
  {
    LockGuard guard(ExportsLock());
    Exports()[module].push_back(FoundExport{name, p});
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
  ForgetExports(module);
  ::dlclose(module);
  // The module goes first: it still refers to its dependencies until it is gone.
  for (auto it = deps.rbegin(); it != deps.rend(); ++it) {
    ForgetExports(*it);
    ::dlclose(*it);
  }
}

uint32_t lastErrorCode() { return t_errorCode; }

const char* lastErrorText() { return t_errorText.c_str(); }

}  // namespace vplat
