#include "platform/common/FileDialog.h"

#include <cstdio>

#include "platform/Platform.h"

namespace vplat {
namespace detail {

bool ScriptedOpenFile(const char* filter, std::string& path) {
  path.clear();
  std::string answer;
  if (!getEnv("VEXILON_OPEN_FILE", answer) || answer.empty()) {
    std::fprintf(stderr, "[open file] %s: nothing chosen\n", filter != nullptr ? filter : "");
    return false;
  }
  std::fprintf(stderr, "[open file] %s: %s\n", filter != nullptr ? filter : "", answer.c_str());
  path = answer;
  return true;
}

}  // namespace detail
}  // namespace vplat
