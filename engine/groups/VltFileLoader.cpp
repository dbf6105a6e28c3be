#include "VltFileLoader.h"

#include "BaseChannelTypes.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "Vco_FileLoaderChannel.h"

VltFileLoader::VltFileLoader() : loader_(nullptr), engine_(globalEngine) {
  Create("File loader class not found");
}

VltFileLoader::VltFileLoader(EngineInterface* engine) : loader_(nullptr), engine_(engine) {
  Create("VltFileLoader::VltFileLoader: File loader class not found");
}

VltFileLoader::~VltFileLoader() { delete loader_; }

void VltFileLoader::Create(const char* failureText) {
  if (engine_ != nullptr)
    loader_ = static_cast<Vco_FileLoaderChannel*>(
        engine_->InitChannelFromType(VLT_FILELOADER_GUID, nullptr, false));
  if (loader_ != nullptr) return;
  // Reported once; afterwards every operation quietly answers its default.
  if (engine_ != nullptr)
    engine_->showErrorMessage_.ShowMessage(failureText);
  else
    ShowErrorMessage().ShowMessage(failureText);
}

bool VltFileLoader::LoadFile(const char* fileName) {
  return loader_ != nullptr && loader_->LoadFile(fileName);
}

void VltFileLoader::SetBlockSize(uint32_t size) {
  if (loader_ != nullptr) loader_->SetBlockSize(size);
}

void VltFileLoader::SetBuffer(const void* buffer, uint32_t size, bool copy) {
  if (loader_ != nullptr) loader_->SetBuffer(buffer, size, copy);
}

void* VltFileLoader::GetTagData() { return loader_ != nullptr ? loader_->GetTagData() : nullptr; }

bool VltFileLoader::CopyTagDataToPointer(void* destination) {
  return loader_ != nullptr && loader_->CopyTagDataToPointer(destination);
}

bool VltFileLoader::CheckHeader(const char* tag, bool consume) {
  return loader_ != nullptr && loader_->CheckHeader(tag, consume);
}

bool VltFileLoader::GotoTag(const char* tag, int mode) {
  return loader_ != nullptr && loader_->GotoTag(tag, mode);
}

bool VltFileLoader::GetInfoIfTag(const char* tag) {
  return loader_ != nullptr && loader_->GetInfoIfTag(tag);
}

uint32_t VltFileLoader::GetSizeDataBlock(bool advance) {
  return loader_ != nullptr ? loader_->GetSizeDataBlock(advance) : 0;
}

void VltFileLoader::ResetPosition() {
  if (loader_ != nullptr) loader_->ResetPosition();
}

uint8_t* VltFileLoader::GetBuffer() { return loader_ != nullptr ? loader_->GetBuffer() : nullptr; }

int VltFileLoader::GetBufferSize() { return loader_ != nullptr ? loader_->GetBufferSize() : 0; }

void VltFileLoader::AddBufferPos(uint32_t count) {
  if (loader_ != nullptr) loader_->AddBufferPos(count);
}

bool VltFileLoader::GetIfEndOfFile() { return loader_ != nullptr && loader_->GetIfEndOfFile(); }

bool VltFileLoader::SkipCurrentTag() { return loader_ != nullptr && loader_->SkipCurrentTag(); }

void VltFileLoader::SetURL(const char* url) {
  if (loader_ != nullptr) loader_->SetURL(url);
}

bool VltFileLoader::CheckULRCache(const char* url) {
  return loader_ != nullptr && loader_->CheckULRCache(url);
}

const char* VltFileLoader::GetChacheFileNameFromURL(const char* url) {
  return loader_ != nullptr ? loader_->GetChacheFileNameFromURL(url) : nullptr;
}

void VltFileLoader::SaveURLToCache(const char* url) {
  if (loader_ != nullptr) loader_->SaveURLToCache(url);
}

void VltFileLoader::SetBufferChar(uint32_t index, uint8_t value) {
  if (loader_ != nullptr) loader_->SetBufferChar(index, value);
}

void VltFileLoader::StopLoading() {
  if (loader_ != nullptr) loader_->StopLoading();
}

int VltFileLoader::GetCRC() { return loader_ != nullptr ? loader_->GetCRC() : 0; }

uint32_t VltFileLoader::GetAttributes() {
  return loader_ != nullptr ? loader_->GetAttributes() : 0;
}

void VltFileLoader::RunThreaded(uint32_t* state) {
  if (loader_ != nullptr) loader_->RunThreaded(state);
}
