#include <windows.h>
// commdlg.h needs the types of windows.h first.
#include <commdlg.h>

#include <string>

#include "platform/Platform.h"
#include "platform/common/FileDialog.h"

namespace vplat {

bool openFileDialog(WindowHandle owner, const char* filter, const char* extension,
                    std::string& path) {
  path.clear();
  std::string value;
  const bool headless = getEnv("VEXILON_HEADLESS", value) && value == "1";
  if (headless || (getEnv("VEXILON_OPEN_FILE", value) && !value.empty()))
    return detail::ScriptedOpenFile(filter, path);

  // Description, pattern, then every file; pairs of zero-terminated texts, ended by an empty one.
  const std::string ext = extension != nullptr && extension[0] != '\0' ? extension : "*";
  std::string filters = filter != nullptr ? filter : "";
  filters.push_back('\0');
  filters += "*." + ext;
  filters.push_back('\0');
  filters += "All files";
  filters.push_back('\0');
  filters += "*.*";
  filters.push_back('\0');
  filters.push_back('\0');

  char chosen[MAX_PATH] = "";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = chosen;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  // False both when the user cancels and when no dialog can be shown (no display).
  if (!::GetOpenFileNameA(&dialog)) return false;
  path = chosen;
  return !path.empty();
}

}  // namespace vplat
