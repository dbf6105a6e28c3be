#include "FileDialogChannel.h"

#include <cstdio>
#include <string>

#include "platform/Platform.h"

namespace {
constexpr size_t kPathChars = 259;
}  // namespace

FileDialogChannel::FileDialogChannel() = default;

FileDialogChannel::~FileDialogChannel() = default;

void FileDialogChannel::Reserved15() {}
void FileDialogChannel::Reserved16() {}
void FileDialogChannel::Reserved17() {}
void FileDialogChannel::Reserved18() {}
void FileDialogChannel::Reserved19() {}
void FileDialogChannel::Reserved20() {}
void FileDialogChannel::Reserved21() {}
void FileDialogChannel::Reserved22() {}
void FileDialogChannel::Reserved23() {}
void FileDialogChannel::Reserved24() {}
void FileDialogChannel::Reserved25() {}
void FileDialogChannel::Reserved26() {}
void FileDialogChannel::Reserved27() {}
void FileDialogChannel::Reserved28() {}
void FileDialogChannel::Reserved29() {}
void FileDialogChannel::Reserved30() {}
void FileDialogChannel::Reserved31() {}

void FileDialogChannel::ChooseFile(const char* filter, const char* extension, char* path) {
  if (path == nullptr) return;
  path[0] = '\0';
  std::string chosen;
  VltWindow owner = engine != nullptr ? engine->GetWindowHandle() : nullptr;
  if (!vplat::openFileDialog(owner, filter, extension, chosen)) return;
  // A path too long for the buffer would name another file once cut: nothing is chosen then.
  if (chosen.size() > kPathChars) return;
  std::snprintf(path, kPathChars + 1, "%s", chosen.c_str());
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new FileDialogChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "File Dialog", VLT_FILEDIALOG_GUID, VLT_FILEDIALOG_GUID, 0);
}
