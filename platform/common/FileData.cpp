#include <cstdio>

#include "platform/Platform.h"

namespace vplat {

bool readFile(const char* path, std::vector<uint8_t>& data) {
  data.clear();
  uint32_t attributes = 0;
  if (path == nullptr || !fileAttributes(path, attributes) ||
      (attributes & kAttributeDirectory) != 0)
    return false;
  std::FILE* file = std::fopen(nativePath(path).c_str(), "rb");
  if (file == nullptr) return false;
  // Read in chunks rather than trusting a size taken beforehand: the file may change under us.
  bool ok = true;
  uint8_t chunk[65536];
  for (;;) {
    size_t n = std::fread(chunk, 1, sizeof(chunk), file);
    data.insert(data.end(), chunk, chunk + n);
    if (n < sizeof(chunk)) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (!ok) data.clear();
  return ok;
}

}  // namespace vplat
