#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat {

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name ignoring case; the smallest such name when the
// folder holds several, so that the choice does not depend on the order of readdir.
bool FindNoCase(const std::string& folder, const std::string& name, std::string& found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (dirent* e = ::readdir(dir)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0 && (!any || found.compare(e->d_name) > 0)) {
      found = e->d_name;
      any = true;
    }
  }
  ::closedir(dir);
  return any;
}

}  // namespace

const char* moduleExtension() { return "so"; }
char pathSeparator() { return '/'; }
char pathListSeparator() { return ':'; }

std::string nativePath(const char* path) {
  std::string p = path ? path : "";
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || Exists(p)) return p;

  // Rebuild the path component by component; once a component matches nothing, the rest is
  // kept as written (it cannot exist below a folder that does not exist).
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= p.size()) {
    size_t slash = p.find('/', pos);
    if (slash == std::string::npos) slash = p.size();
    parts.push_back(p.substr(pos, slash - pos));
    pos = slash + 1;
  }
  std::string out;
  bool resolving = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    std::string name = part;
    if (resolving && !part.empty() && part != "." && part != "..") {
      std::string candidate = out + part;
      if (!Exists(candidate)) {
        std::string found;
        if (FindNoCase(out, part, found))
          name = found;
        else
          resolving = false;
      }
    }
    out += name;
    if (i + 1 < parts.size()) out += '/';
  }
  return out;
}

bool fileExists(const char* path) { return Exists(nativePath(path)); }

bool appendToFile(const char* path, const void* data, size_t size) {
  std::string p = nativePath(path);
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  bool ok = true;
  while (size > 0) {
    ssize_t n = ::write(fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

std::string executableDir() {
  std::vector<char> buf(PATH_MAX);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return ".";
  std::string exe(buf.data(), static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  return slash == 0 ? "/" : exe.substr(0, slash);
}

}  // namespace vplat
