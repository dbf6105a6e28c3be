#include "VltFileSaver.h"

#include "BaseChannelTypes.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "Vco_FileSaverChannel.h"

VltFileSaver::VltFileSaver() : saver_(nullptr), engine_(globalEngine) {
  Create("File loader class not found");
}

VltFileSaver::VltFileSaver(EngineInterface* engine) : saver_(nullptr), engine_(engine) {
  Create("VltFileSaver::VltFileSaver: File loader class not found");
}

VltFileSaver::~VltFileSaver() { delete saver_; }

void VltFileSaver::Create(const char* failureText) {
  if (engine_ != nullptr)
    saver_ = static_cast<Vco_FileSaverChannel*>(
        engine_->InitChannelFromType(VLT_FILESAVER_GUID, nullptr, false));
  if (saver_ != nullptr) return;
  // Reported once; afterwards every operation quietly answers its default.
  if (engine_ != nullptr)
    engine_->showErrorMessage_.ShowMessage(failureText);
  else
    ShowErrorMessage().ShowMessage(failureText);
}

void VltFileSaver::OpenMemory() {
  if (saver_ != nullptr) saver_->OpenMemory();
}

void VltFileSaver::CloseMemory() {
  if (saver_ != nullptr) saver_->CloseMemory();
}

uint8_t* VltFileSaver::GetBuffer() { return saver_ != nullptr ? saver_->GetBuffer() : nullptr; }

uint32_t VltFileSaver::GetBufferSize() { return saver_ != nullptr ? saver_->GetBufferSize() : 0; }

bool VltFileSaver::OpenSaveFile(const char* fileName, bool flag) {
  return saver_ != nullptr && saver_->OpenSaveFile(fileName, flag);
}

int VltFileSaver::SaveTag(const char* tag) { return saver_ != nullptr ? saver_->SaveTag(tag) : 0; }

int VltFileSaver::SaveBlockSize(uint32_t size) {
  return saver_ != nullptr ? saver_->SaveBlockSize(size) : 0;
}

int VltFileSaver::SaveDataToFile(const void* data, uint32_t count) {
  return saver_ != nullptr ? saver_->SaveDataToFile(data, count) : 0;
}

bool VltFileSaver::CloseSaveFile() { return saver_ != nullptr && saver_->CloseSaveFile(); }

const char* VltFileSaver::GetSaveingFileName() {
  return saver_ != nullptr ? saver_->GetSaveingFileName() : nullptr;
}
