#include "platform/common/FileDialog.h"

#include "platform/Platform.h"

namespace vplat {

// No system file picker is used on Linux: every run is answered the headless way.
bool openFileDialog(WindowHandle, const char* filter, const char*, std::string& path) {
  return detail::ScriptedOpenFile(filter, path);
}

}  // namespace vplat
