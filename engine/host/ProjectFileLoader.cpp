#include "ProjectFileLoader.h"

#include <cstring>
#include <vector>

#include "BaseChannelTypes.h"
#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "HostText.h"
#include "VltFileLoader.h"
#include "VltFileSaver.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "platform/Platform.h"

namespace {

const char* const kErrorCaption = "Lumenar Error";
// Where a newer viewer is published.
const char* const kViewerPage = "https://vexilon.example.org/viewer";

constexpr size_t kPathChars = 398;
constexpr size_t kLoadTextChars = 298;
constexpr size_t kDependencyTextChars = 498;
constexpr uint32_t kMaxStartGroupName = 400;

enum Result { kOk = 0, kUnreadable = 1, kCannotRun = 2 };
// An entry of which nothing is there: every later turn of the count would read nothing too.
constexpr int kNoEntry = -1;

int32_t Int32At(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

GUID GuidAt(const uint8_t* p) {
  GUID g;
  g.Data1 = static_cast<uint32_t>(Int32At(p));
  g.Data2 = static_cast<uint16_t>(p[4] | (p[5] << 8));
  g.Data3 = static_cast<uint16_t>(p[6] | (p[7] << 8));
  for (int i = 0; i < 8; ++i) g.Data4[i] = p[8 + i];
  return g;
}

// Bounded reads of the block data at the loader's position (just after a tag, at the size
// field). A size that points past the end, or that differs from the field's fixed size, is a
// malformed file: nothing is read and the answer is false.
class ProjectBlocks {
 public:
  explicit ProjectBlocks(VltFileLoader& file) : file_(file) {}

  bool Bytes(std::vector<uint8_t>& out) {
    const uint32_t size = file_.GetSizeDataBlock(false);
    const auto* data = static_cast<const uint8_t*>(file_.GetTagData());
    if (data == nullptr) return false;
    out.assign(data, data + size);
    file_.AddBufferPos(4 + size);
    return true;
  }

  bool Fixed(uint8_t* out, uint32_t size) {
    if (file_.GetTagData() == nullptr || file_.GetSizeDataBlock(false) != size) return false;
    return file_.CopyTagDataToPointer(out);
  }

  bool Int(int32_t& value) {
    uint8_t bytes[4];
    if (!Fixed(bytes, 4)) return false;
    value = Int32At(bytes);
    return true;
  }

  // A zero-terminated text, cut at maxChars characters.
  bool Text(char* out, size_t maxChars) {
    std::vector<uint8_t> bytes;
    if (!Bytes(bytes)) return false;
    size_t n = 0;
    for (; n < maxChars && n < bytes.size() && bytes[n] != 0; ++n)
      out[n] = static_cast<char>(bytes[n]);
    out[n] = '\0';
    return true;
  }

 private:
  VltFileLoader& file_;
};

// An attached copy of a library: its file name and, when the size block matched the bytes, the
// bytes.
struct AttachedCopy {
  char name[260] = "";
  bool present = false;
  std::vector<uint8_t> bytes;
};

// Reads nameTag, then sizeTag and dataTag when they follow. False on a malformed block.
bool ReadAttachedCopy(VltFileLoader& file, const char* nameTag, const char* sizeTag,
                      const char* dataTag, AttachedCopy& copy) {
  ProjectBlocks read(file);
  if (!file.GetInfoIfTag(nameTag)) return true;
  if (!read.Text(copy.name, sizeof(copy.name) - 1)) return false;
  bool sized = false;
  int32_t size = 0;
  if (file.GetInfoIfTag(sizeTag)) {
    if (!read.Int(size)) return false;
    sized = true;
  }
  if (file.GetInfoIfTag(dataTag)) {
    if (!read.Bytes(copy.bytes)) return false;
    copy.present = sized && size >= 0 && static_cast<uint32_t>(size) == copy.bytes.size();
  }
  return true;
}

// Whether a file name taken from a project stays inside the folder it is written to: no root,
// no drive, no parent step.
bool StaysInFolder(const char* name) {
  if (name == nullptr || name[0] == '\0' || name[0] == '\\' || name[0] == '/') return false;
  size_t segment = 0;
  for (size_t i = 0;; ++i) {
    const char c = name[i];
    if (c == ':') return false;
    if (c == '\\' || c == '/' || c == '\0') {
      if (i - segment == 2 && name[segment] == '.' && name[segment + 1] == '.') return false;
      if (c == '\0') return true;
      segment = i + 1;
    }
  }
}

void ErrorBox(const char* text) {
  vplat::messageBox(nullptr, text, kErrorCaption, vplat::Buttons::Ok, vplat::Icon::Error);
}

void DependencyBox(const char* prefix, const GUID& type) {
  char guid[37];
  VltGuidToText(type, guid);
  char text[kDependencyTextChars + 1];
  hosttext::CopyText(text, prefix, kDependencyTextChars);
  hosttext::AppendText(text, guid, kDependencyTextChars);
  ErrorBox(text);
}

// install folder + separator + sub-folder + separator + name, cut at 398 characters.
void InstallPath(char (&out)[kPathChars + 1], const char* installDir, const char* folder,
                 const char* name) {
  out[0] = '\0';
  hosttext::AppendText(out, installDir, kPathChars);
  hosttext::AppendChar(out, vplat::pathSeparator(), kPathChars);
  hosttext::AppendText(out, folder, kPathChars);
  hosttext::AppendChar(out, vplat::pathSeparator(), kPathChars);
  hosttext::AppendText(out, name, kPathChars);
}

// The checks of one project, with the engine's services at hand.
class ProjectCheck {
 public:
  ProjectCheck(EngineInterface* engine, VltFileLoader& file, bool checkCrc)
      : engine_(engine), file_(file), read_(file), checkCrc_(checkCrc) {
    const char* dir = engine->GetInstallDir();
    installDir_ = dir != nullptr ? dir : "";
  }

  int Dependency() {
    if (file_.GetInfoIfTag("LFDB")) return kOk;
    if (!file_.GetInfoIfTag("LNDB")) return kNoEntry;
    uint8_t guidBytes[16];
    uint8_t versionBytes[12];
    int32_t checksum = 0;
    if (!read_.Fixed(guidBytes, 16) || !read_.Fixed(versionBytes, 12) || !read_.Int(checksum))
      return kUnreadable;
    const GUID type = GuidAt(guidBytes);
    int minimum[3];
    for (int i = 0; i < 3; ++i) minimum[i] = Int32At(versionBytes + 4 * i);

    bool failed = false;
    ChannelList* list = engine_->GetExt()->GetChannelList();
    ChannelListItem* item = list != nullptr ? list->GetItem(type) : nullptr;
    if (item == nullptr) {
      DependencyBox(
          "A channel that is needed for this project was not found in the installation path : ",
          type);
      failed = true;
    } else if (item->failed) {
      DependencyBox("A channel that is needed for this project failed to initialize : ", type);
      failed = true;
    }

    const ChannelType installed = list != nullptr ? list->GetChannelType(type) : ChannelType();
    if (installed.version[0] < minimum[0] || installed.version[1] < minimum[1] ||
        installed.version[2] < minimum[2]) {
      DependencyBox("A channel that is needed for this project has an incorrect engine version : ",
                    type);
      failed = true;
    }

    if (checkCrc_ && item != nullptr && installed.version[0] == minimum[0] &&
        installed.version[1] == minimum[1] && installed.version[2] == minimum[2]) {
      char path[kPathChars + 1];
      InstallPath(path, installDir_, "channels", item->fileName);
      VltFileLoader library(engine_);
      if (library.LoadFile(path) && library.GetCRC() != checksum) {
        ErrorBox("A needed channel is probably corrupt. It has an incorrect crc");
        failed = true;
      }
    }

    AttachedCopy copy;
    if (!ReadAttachedCopy(file_, "LCAN", "LCAS", "LCAF", copy)) return kUnreadable;
    if (!failed) return kOk;
    if (!copy.present || !WriteCopy("channels", copy)) return kCannotRun;
    if (list != nullptr) list->SetVersionInfo(type, minimum);
    return kOk;
  }

  int SupportLibrary() {
    if (file_.GetInfoIfTag("LDFF")) return kOk;
    if (!file_.GetInfoIfTag("LDDF")) return kNoEntry;
    char name[260];
    if (!read_.Text(name, sizeof(name) - 1)) return kUnreadable;
    int32_t checksum = 0;  // stored, never compared
    if (file_.GetInfoIfTag("LCRC") && !read_.Int(checksum)) return kUnreadable;
    AttachedCopy copy;
    if (!ReadAttachedCopy(file_, "LDLN", "LDLS", "LDLF", copy)) return kUnreadable;

    if (!SupportLibraryMissing(name)) return kOk;
    ErrorBox("Unable to locate third party dll");
    ErrorBox(name);
    if (!copy.present || !WriteCopy("3rd", copy)) return kCannotRun;
    return kOk;
  }

 private:
  // A support library is missing when it cannot be loaded from the 3rd folder, whatever its
  // name. A name reaching outside that folder is never loaded.
  bool SupportLibraryMissing(const char* name) {
    if (!StaysInFolder(name)) return true;
    char path[kPathChars + 1];
    InstallPath(path, installDir_, "3rd", name);
    vplat::ModuleHandle module = vplat::loadModule(path);
    if (module == nullptr) return true;
    vplat::freeModule(module);
    return false;
  }

  // Writes an attached copy into a folder of the installation. A name that would leave that
  // folder is refused, so a project can never write elsewhere.
  bool WriteCopy(const char* folder, const AttachedCopy& copy) {
    if (!StaysInFolder(copy.name)) {
      engine_->showErrorMessage_.ShowMessage(
          "ProjectFileLoader: attached copy refused, its name leaves the installation folder");
      return false;
    }
    char path[kPathChars + 1];
    InstallPath(path, installDir_, folder, copy.name);
    VltFileSaver saver(engine_);
    if (!saver.OpenSaveFile(path, false)) return false;
    const uint32_t size = static_cast<uint32_t>(copy.bytes.size());
    if (size > 0) saver.SaveDataToFile(copy.bytes.data(), size);
    // A copy that did not reach the disk whole is no copy.
    return saver.CloseSaveFile();
  }

  EngineInterface* engine_;
  VltFileLoader& file_;
  ProjectBlocks read_;
  bool checkCrc_;
  const char* installDir_;
};

}  // namespace

ProjectFileLoader::ProjectFileLoader(EngineInterface* engineInterface)
    : engineInterface_(engineInterface), editorVersion_(0) {
  startGroupFileName_[0] = '\0';
}

ProjectFileLoader::~ProjectFileLoader() = default;

const char* ProjectFileLoader::GetStartGroupFileName() { return startGroupFileName_; }

int ProjectFileLoader::GetEditorVersion() { return editorVersion_; }

int ProjectFileLoader::Load(const char* fileName) {
  if (engineInterface_ == nullptr) return kUnreadable;
  EngineInterfaceExt* ext = engineInterface_->GetExt();
  VltFileLoader file(engineInterface_);

  char setting[16] = "";
  const bool checkCrc = ext->GetRegData("LmrCrCCheck", setting, sizeof(setting)) &&
                        hosttext::EqualsIgnoreCase(setting, "Yes");

  if (fileName == nullptr) {
    ErrorBox("Invalid filename of lmr file");
    return kUnreadable;
  }

  char folder[400];
  hosttext::CopyText(folder, fileName, sizeof(folder) - 1);
  size_t folderLength = 0;
  for (size_t i = 0; folder[i] != '\0'; ++i)
    if (folder[i] == '\\' || folder[i] == '/') folderLength = i + 1;
  folder[folderLength] = '\0';

  Vlt_Channel* loaderProbe =
      engineInterface_->InitChannelFromType(VLT_FILELOADER_GUID, nullptr, false);
  if (loaderProbe == nullptr) {
    vplat::messageBox(engineInterface_->GetWindowHandle(),
                      "The lumenar viewer was unable to start the file loading module. Please "
                      "re-install the viewer package.",
                      kErrorCaption, vplat::Buttons::Ok, vplat::Icon::Error);
    return kUnreadable;
  }
  delete loaderProbe;

  while (!file.LoadFile(fileName)) {
    const bool web = std::strstr(fileName, "http") != nullptr;
    char text[kLoadTextChars + 1];
    hosttext::CopyText(text,
                       web ? "There was an error downloading the lmr file : "
                           : "There was an error loading the lmr file : ",
                       kLoadTextChars);
    hosttext::AppendText(text, fileName, kLoadTextChars);
    if (vplat::messageBox(engineInterface_->GetWindowHandle(), text, "Warning",
                          vplat::Buttons::RetryCancel,
                          vplat::Icon::Warning) != vplat::Answer::Retry)
      return kUnreadable;
  }

  if (file.CheckHeader("VLTF", false)) ext->TranslateFile(&file);

  ProjectBlocks read(file);
  int32_t editorVersion = 0;
  if (!file.GetInfoIfTag("LSPT") || !read.Int(editorVersion)) {
    ErrorBox("Lmr file corrupt");
    return kUnreadable;
  }
  editorVersion_ = editorVersion;

  char name[kMaxStartGroupName] = "";
  if (file.GetInfoIfTag("LSGR")) {
    // A name too long for the buffer is left unread: the blocks after it are then not found.
    if (file.GetTagData() != nullptr && file.GetSizeDataBlock(false) < kMaxStartGroupName &&
        !read.Text(name, sizeof(name) - 1)) {
      ErrorBox("Lmr file corrupt");
      return kUnreadable;
    }
  }
  hosttext::CopyText(startGroupFileName_, folder, kPathChars);
  hosttext::AppendText(startGroupFileName_, name, kPathChars);

  int32_t neededVersion = 0;
  if (file.GetInfoIfTag("LHPV") && !read.Int(neededVersion)) {
    ErrorBox("Lmr file corrupt");
    return kUnreadable;
  }
  if (neededVersion > ext->GetInterfaceID()) {
    char text[200];
    hosttext::CopyText(text,
                       "Incorrect viewer version for lmr file. Please use new viewer found at ",
                       sizeof(text) - 1);
    hosttext::AppendText(text, kViewerPage, sizeof(text) - 1);
    ErrorBox(text);
    return kCannotRun;
  }

  if (file.GetInfoIfTag("LFKR")) ext->SetIfKeepRunningApplication(true);

  if (!file.GetInfoIfTag("LDDC")) return kOk;
  ProjectCheck check(engineInterface_, file, checkCrc);
  int32_t count = 0;
  if (!read.Int(count)) {
    ErrorBox("Lmr file corrupt");
    return kUnreadable;
  }
  for (int32_t i = 0; i < count; ++i) {
    const int result = check.Dependency();
    if (result == kNoEntry) break;
    if (result == kUnreadable) ErrorBox("Lmr file corrupt");
    if (result != kOk) return result;
  }

  if (file.GetInfoIfTag("LDGC")) {
    if (!read.Int(count)) {
      ErrorBox("Lmr file corrupt");
      return kUnreadable;
    }
    for (int32_t i = 0; i < count; ++i) {
      const int result = check.SupportLibrary();
      if (result == kNoEntry) break;
      if (result == kUnreadable) ErrorBox("Lmr file corrupt");
      if (result != kOk) return result;
    }
  }
  return kOk;
}
