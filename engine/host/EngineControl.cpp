#include "EngineControl.h"

#include <new>

#include "DebugOutPut.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "HostText.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "foundation/OutsideSlotCall.h"
#include "platform/Platform.h"

bool runtimeHost = false;

namespace {

const char* const kErrorCaption = "Lumenar Error";

// The outside file dialog channel that asks the user for a project file.
const GUID kFileDialogType = {
    0xE6F1B38A, 0x7C25, 0x4D90, {0xB4, 0xE3, 0x18, 0xA9, 0xD2, 0xC6, 0x5F, 0x07}};

// The slot layout of that outside type up to the operation the engine calls. Never constructed
// here: only used to reach slot 32 of an object the plug-in created.
class FileDialogChannel : public Vlt_Channel {
 public:
  virtual void Slot15() = 0;
  virtual void Slot16() = 0;
  virtual void Slot17() = 0;
  virtual void Slot18() = 0;
  virtual void Slot19() = 0;
  virtual void Slot20() = 0;
  virtual void Slot21() = 0;
  virtual void Slot22() = 0;
  virtual void Slot23() = 0;
  virtual void Slot24() = 0;
  virtual void Slot25() = 0;
  virtual void Slot26() = 0;
  virtual void Slot27() = 0;
  virtual void Slot28() = 0;
  virtual void Slot29() = 0;
  virtual void Slot30() = 0;
  virtual void Slot31() = 0;
  // Leaves the chosen path in the 260-character buffer, or leaves it empty.
  virtual void ChooseFile(const char* filter, const char* extension, char* path) = 0;  // 32
};

OUTSIDE_SLOT_CALL void ChooseFile(Vlt_Channel* dialog, char* path) {
  static_cast<FileDialogChannel*>(dialog)->ChooseFile("Lumenar file (*.lmr)", "lmr", path);
}

}  // namespace

EngineControl::EngineControl()
    : engineInterface_(nullptr),
      startGroup_(nullptr),
      initialized_(false),
      debugOutPut_(nullptr),
      inLoop_(false) {
  commandLine_[0] = '\0';
  installDir_[0] = '\0';
  regKey_[0] = '\0';
}

EngineControl::~EngineControl() {
  if (!initialized_) {
    if (engineInterface_ != nullptr)
      engineInterface_->showErrorMessage_(
          "EngineControl: Engine is already deleted or being deleted at this time. Request to "
          "release engine is ignored.");
    return;
  }
  initialized_ = false;
  engineInterface_->GetExt()->Release();
  delete engineInterface_;
  engineInterface_ = nullptr;
  delete debugOutPut_;
  debugOutPut_ = nullptr;
  debugOutPut = nullptr;
}

bool EngineControl::InitEngine(VltInstance instance, char* className, VltWindow window) {
  initialized_ = false;
  runtimeHost = true;

  engineInterface_ = new (std::nothrow) EngineInterface();
  if (engineInterface_ != nullptr) {
    engineInterface_->GetExt()->SetInstallDir(installDir_);
    engineInterface_->GetExt()->SetLumenarRegKey(regKey_);
  }
  debugOutPut_ = new (std::nothrow) ErrorLogOutPut(engineInterface_);
  debugOutPut = debugOutPut_;

  if (engineInterface_ == nullptr) {
    // Nothing would ever remove a sink that has no engine behind it.
    delete debugOutPut_;
    debugOutPut_ = nullptr;
    debugOutPut = nullptr;
    vplat::messageBox(nullptr, "EngineControl::InitEngine: Out of memory", kErrorCaption,
                      vplat::Buttons::Ok, vplat::Icon::None);
    return false;
  }

  EngineInterfaceExt* ext = engineInterface_->GetExt();
  if (!ext->InitEngine(instance, className)) {
    vplat::messageBox(engineInterface_->GetWindowHandle(),
                      "An error occured during the initalization of Lumenar", kErrorCaption,
                      vplat::Buttons::Ok, vplat::Icon::Error);
    delete debugOutPut_;
    debugOutPut_ = nullptr;
    debugOutPut = nullptr;
    ext->Release();
    delete engineInterface_;
    engineInterface_ = nullptr;
    return false;
  }
  ext->SetWindowHandle(window);
  initialized_ = true;
  return true;
}

int EngineControl::LoadProject() {
  if (engineInterface_ == nullptr) return 1;
  EngineInterfaceExt* ext = engineInterface_->GetExt();

  char path[260] = "";
  if (commandLine_[0] != '\0') {
    hosttext::CopyText(path, commandLine_, 258);
  } else {
    Vlt_Channel* dialog = engineInterface_->InitChannelFromType(kFileDialogType, nullptr, false);
    if (dialog == nullptr) {
      vplat::messageBox(nullptr,
                        "The lumenar viewer was unable to start the file dialog module. Please "
                        "re-install the viewer package.",
                        kErrorCaption, vplat::Buttons::Ok, vplat::Icon::Error);
      return 1;
    }
    ChooseFile(dialog, path);
    delete dialog;
    // The dialog may fill the whole buffer; never read past it.
    path[sizeof(path) - 1] = '\0';
  }

  ext->ReleaseGroups();
  if (path[0] == '\0') return 3;

  int result = ext->InitializeLmrFile(path);
  if (result != 0) return result;
  startGroup_ = ext->GetLmrStartGroup();
  return startGroup_ != nullptr ? 0 : 4;
}

void EngineControl::EngineLoop() {
  if (inLoop_ || !initialized_) return;
  inLoop_ = true;
  EngineInterfaceExt* ext = engineInterface_->GetExt();
  ext->IncreaseTreeCount();
  // Looked up on every pass: a channel may switch or delete the start group during a pass.
  startGroup_ = engineInterface_->GetChannelGroup(ext->GetStartGroup());
  if (startGroup_ != nullptr) startGroup_->CallStartChannel();
  inLoop_ = false;
}

void EngineControl::SetCommandLine(char* text) {
  if (text != nullptr) hosttext::CopyText(commandLine_, text, sizeof(commandLine_) - 1);
}

EngineInterface* EngineControl::GetEngineInterface() { return engineInterface_; }

void EngineControl::ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                         long lParam) {
  if (engineInterface_ != nullptr && initialized_)
    engineInterface_->GetExt()->ProcessWindowMessage(window, message, wParam, lParam);
}

void EngineControl::SetInstallDir(const char* folder) {
  if (folder != nullptr) hosttext::CopyText(installDir_, folder, sizeof(installDir_) - 1);
}

void EngineControl::SetLumenarRegKey(const char* key) {
  if (key != nullptr) hosttext::CopyText(regKey_, key, sizeof(regKey_) - 1);
}

bool EngineControl::GetIfKeepRunningApplication() {
  return engineInterface_ != nullptr && engineInterface_->GetExt()->GetIfKeepRunningApplication();
}

EngineControl* GetEngineControlInstance() { return new (std::nothrow) EngineControl(); }

int GetEngineVersion() { return VLT_ENGINE_VERSION; }
