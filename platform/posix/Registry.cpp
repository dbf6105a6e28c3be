// The registry of a Linux installation: one .reg text file. Every write re-reads the file,
// changes it and replaces it in one rename, so readers see the old or the new file, never a
// half-written one, and a crash loses at most the write in progress.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/Platform.h"
#include "platform/common/RegText.h"

namespace vplat {

namespace {

Lock& RegistryLock() {
  static Lock lock;
  return lock;
}

std::string RegistryPath() {
  std::string path;
  if (getEnv("VEXILON_REGISTRY", path) && !path.empty()) return path;
  std::string base;
  if (!getEnv("XDG_CONFIG_HOME", base) || base.empty()) {
    std::string home;
    if (!getEnv("HOME", home) || home.empty()) home = "/tmp";
    base = home + "/.config";
  }
  return base + "/vexilon/registry.reg";
}

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
  struct stat st;
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::string parent = Folder(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

bool ReadAll(const std::string& path, std::string& text) {
  text.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;  // no file yet: an empty registry
  char buf[8192];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return n == 0;
    }
    text.append(buf, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, const std::string& text) {
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// Writes the text beside the target and renames it over the target.
bool ReplaceFile(const std::string& path, const std::string& text) {
  static std::atomic<unsigned> counter{0};
  std::string temp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

// Holds the whole read-change-replace of one write against other threads (the Lock) and other
// processes (an advisory lock on the folder, which needs no extra file).
class WriteSession {
 public:
  explicit WriteSession(const std::string& folder) : guard_(RegistryLock()) {
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~WriteSession() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the flock
  }
  WriteSession(const WriteSession&) = delete;
  WriteSession& operator=(const WriteSession&) = delete;

 private:
  LockGuard guard_;
  int fd_ = -1;
};

template <class Change>
bool Modify(Change change) {
  std::string path = RegistryPath();
  std::string folder = Folder(path);
  if (!MakeFolders(folder)) return false;
  WriteSession session(folder);
  std::string text;
  if (!ReadAll(path, text)) return false;
  regtext::Document doc = regtext::Parse(text);
  if (!change(doc)) return false;
  return ReplaceFile(path, regtext::Write(doc));
}

}  // namespace

RegResult regGetString(RegRoot root, const char* key, const char* name, std::string& value) {
  std::string text;
  {
    LockGuard guard(RegistryLock());
    if (!ReadAll(RegistryPath(), text)) return RegResult::Failed;
  }
  return regtext::GetString(regtext::Parse(text), root, key, name, value);
}

bool regSetString(RegRoot root, const char* key, const char* name, const char* value) {
  return Modify([&](regtext::Document& doc) {
    regtext::SetString(doc, root, key, name, value);
    return true;
  });
}

bool regDeleteValue(RegRoot root, const char* key, const char* name) {
  return Modify([&](regtext::Document& doc) { return regtext::DeleteValue(doc, root, key, name); });
}

}  // namespace vplat
