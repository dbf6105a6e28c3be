#include "EngineInterfaceExt.h"

#include <new>

#include "ChannelList.h"
#include "ChannelPoolManagement.h"
#include "DllInterface.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "HostText.h"
#include "ProjectFileLoader.h"
#include "Vco_FileLoaderChannel.h"
#include "Vco_TranslatorChannel.h"
#include "VltFileLoader.h"
#include "platform/Platform.h"

namespace {
constexpr int kDebugSlots = 10;
constexpr size_t kDebugTextChars = 298;
}  // namespace

EngineInterfaceExt::EngineInterfaceExt()
    : trackChannelCalling_(false),
      graphRunning_(true),
      projectFileLoader_(nullptr),
      projectEditorVersion_(0),
      engineInterface_(nullptr),
      keepRunningApplication_(false),
      channelPoolManagement_(new ChannelPoolManagement()),
      initialized_(false) {
  for (auto& text : debugTexts_) text[0] = '\0';
}

// The pool manager is this object's: it lives as long as the engine and goes with it, after the
// engine's groups (and so every pool member) were released.
EngineInterfaceExt::~EngineInterfaceExt() {
  delete projectFileLoader_;
  delete channelPoolManagement_;
}

void EngineInterfaceExt::SetEngineInterface(EngineInterface* engineInterface) {
  engineInterface_ = engineInterface;
  if (channelPoolManagement_ != nullptr)
    channelPoolManagement_->SetEngineInterface(engineInterface);
  delete projectFileLoader_;
  projectFileLoader_ = new (std::nothrow) ProjectFileLoader(engineInterface);
}

// The engine behind the interface, or null when there is none.
static Engine* EngineOf(EngineInterface* engineInterface) {
  return engineInterface != nullptr ? engineInterface->GetEngine() : nullptr;
}

void EngineInterfaceExt::SetInstallDir(const char* folder) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->SetInstallDir(folder);
}

void EngineInterfaceExt::SetLumenarRegKey(const char* key) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->SetRegKey(key);
}

void EngineInterfaceExt::ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                              long lParam) {
  if (Engine* engine = EngineOf(engineInterface_))
    engine->ProcessWindowMessage(window, message, wParam, lParam);
}

int EngineInterfaceExt::GetInterfaceID() { return VLT_ENGINE_VERSION; }

bool EngineInterfaceExt::InitEngine(VltInstance instance, const char* className) {
  Engine* engine = EngineOf(engineInterface_);
  if (engine == nullptr || !engine->InitEngine(instance, className)) return false;
  for (auto& text : debugTexts_) text[0] = '\0';
  return true;
}

void EngineInterfaceExt::UpdateChannelTree() {
  if (Engine* engine = EngineOf(engineInterface_)) engine->UpdateChannelTree();
}

void EngineInterfaceExt::ReleaseGroups() {
  if (Engine* engine = EngineOf(engineInterface_)) engine->ReleaseGroups();
}

void EngineInterfaceExt::CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr) {
  if (Engine* engine = EngineOf(engineInterface_))
    engine->CheckPublicChannelRemoval(channel, poolNr);
}

void EngineInterfaceExt::CheckPublicCallChannelRemoval(Vlt_Channel* channel) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->CheckPublicCallChannelRemoval(channel);
}

void EngineInterfaceExt::CheckInterfaceChange(const char* poolName, Vlt_Channel* channel) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->CheckInterfaceChange(poolName, channel);
}

void EngineInterfaceExt::IncreaseTreeCount() {
  if (Engine* engine = EngineOf(engineInterface_)) engine->IncreaseTreeCount();
}

Vlt_Channel* EngineInterfaceExt::GetPublicChannel(PublicCallInfo* info) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetPublicChannel(info) : nullptr;
}

bool EngineInterfaceExt::AddChannelRequest(int index, Vlt_Channel* channel) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr && engine->AddChannelRequest(index, channel);
}

void EngineInterfaceExt::CheckChannelRequest(Vlt_ChannelGroup* group, int index,
                                             Vlt_Channel* channel) {
  if (Engine* engine = EngineOf(engineInterface_))
    engine->CheckChannelRequest(group, index, channel);
}

DllInterface* EngineInterfaceExt::GetDLLInstance(const char* fileName) {
  Engine* engine = EngineOf(engineInterface_);
  if (engine == nullptr) return nullptr;
  DllInterface* instance = engine->GetDLLInstance(fileName);
  if (instance != nullptr) instance->engine = engineInterface_;
  return instance;
}

Vlt_Channel* EngineInterfaceExt::CreateChannelFromDLL(const char* fileName, Vlt_ChannelGroup* group,
                                                      bool createChildren) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->CreateChannelFromDLL(fileName, group, createChildren)
                           : nullptr;
}

ChannelType EngineInterfaceExt::GetDLLType(const char* fileName) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetDLLType(fileName) : ChannelType();
}

ChannelType EngineInterfaceExt::GetDLLType(VltInstance module) {
  return Engine::GetDLLType(module);
}

void EngineInterfaceExt::SetWindowHandle(VltWindow window) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->SetWindowHandle(window);
}

ChannelList* EngineInterfaceExt::GetChannelList() {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetChannelList() : nullptr;
}

void EngineInterfaceExt::DebugOut(const char* text, int slot) {
  if (slot < 0 || slot >= kDebugSlots) return;
  hosttext::CopyText(debugTexts_[slot], text, kDebugTextChars);
}

const char* EngineInterfaceExt::GetDebug(int slot) {
  if (slot < 0 || slot >= kDebugSlots) return nullptr;
  return debugTexts_[slot];
}

void EngineInterfaceExt::KillTread(Vlt_Tread* thread) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->KillTread(thread);
}

void EngineInterfaceExt::SetIfTrackChannelCalling(bool track) { trackChannelCalling_ = track; }

void EngineInterfaceExt::SetGraphRunning(bool running) { graphRunning_ = running; }

bool EngineInterfaceExt::GetGraphRunning() { return graphRunning_; }

int EngineInterfaceExt::InitializeLmrFile(const char* fileName) {
  if (projectFileLoader_ == nullptr) return 1;
  const int result = projectFileLoader_->Load(fileName);
  projectEditorVersion_ = projectFileLoader_->GetEditorVersion();
  return result;
}

Vlt_ChannelGroup* EngineInterfaceExt::GetLmrStartGroup() {
  if (projectFileLoader_ == nullptr || engineInterface_ == nullptr) return nullptr;
  const char* path = projectFileLoader_->GetStartGroupFileName();
  Vlt_ChannelGroup* group = engineInterface_->LoadChannelGroup(path, nullptr);
  if (group == nullptr) {
    constexpr size_t kTextChars = 398;
    char text[kTextChars + 1];
    hosttext::CopyText(text, "Unable to load startup channelgroup : ", kTextChars);
    hosttext::AppendText(text, path, kTextChars);
    vplat::messageBox(nullptr, text, "Lumenar Error", vplat::Buttons::Ok, vplat::Icon::Error);
  }
  return group;
}

Vlt_ChannelGroup* EngineInterfaceExt::LoadChannelGroupFromBuffer(const char* fileName, int size,
                                                                 void* buffer,
                                                                 const char* poolName) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->LoadChannelGroupFromBuffer(fileName, size, buffer, poolName)
                           : nullptr;
}

void EngineInterfaceExt::SetStartGroup(int index) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->SetStartGroup(index);
}

int EngineInterfaceExt::GetStartGroup() {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetStartGroup() : -1;
}

int EngineInterfaceExt::GetProjectEditorVersion() { return projectEditorVersion_; }

void EngineInterfaceExt::Release() {
  if (Engine* engine = EngineOf(engineInterface_)) engine->Release();
}

int EngineInterfaceExt::GetUniqueChannelCount() {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetUniqueChannelCount() : 0;
}

void EngineInterfaceExt::TranslateFile(Vco_FileLoaderChannel* loader) {
  if (loader == nullptr) return;
  // Unwrap a copy in a facade of its own and hand the result back. From the start of the data,
  // so that the buffer pointer and the buffer size describe the same bytes.
  loader->ResetPosition();
  VltFileLoader unwrap;
  if (unwrap.GetLoaderChannel() == nullptr) return;
  unwrap.SetBuffer(loader->GetBuffer(), static_cast<uint32_t>(loader->GetBufferSize()), true);
  if (!unwrap.CheckHeader("VLTF", false)) return;
  TranslateFile(&unwrap);
  unwrap.ResetPosition();
  loader->SetBuffer(unwrap.GetBuffer(), static_cast<uint32_t>(unwrap.GetBufferSize()), true);
}

void EngineInterfaceExt::TranslateFile(VltFileLoader* loader) {
  if (loader == nullptr || engineInterface_ == nullptr) return;
  // A container may decompress to itself; nesting deeper than any writer makes is refused.
  constexpr int kMaxNesting = 16;
  for (int level = 0; level < kMaxNesting && loader->CheckHeader("VLTF", false); ++level) {
    GUID type = {};
    // The header block must hold exactly a GUID: a larger size would overrun it.
    if (!loader->CheckHeader("VLTF", true) || loader->GetSizeDataBlock(false) != sizeof(GUID) ||
        !loader->CopyTagDataToPointer(&type))
      return;
    Vlt_Channel* translator = engineInterface_->InitChannelFromType(type, nullptr, false);
    if (translator == nullptr) return;
    const bool translated =
        static_cast<Vco_TranslatorChannel*>(translator)->Translate(loader->GetLoaderChannel());
    delete translator;
    if (!translated) return;
  }
}

bool EngineInterfaceExt::SetRegData(const char* name, const char* value) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr && engine->SetRegData(name, value);
}

bool EngineInterfaceExt::GetRegData(const char* name, char* buffer, int size) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr && engine->GetRegData(name, buffer, size);
}

Vlt_Tread* EngineInterfaceExt::GetNewTread() {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetNewTread() : nullptr;
}

Vlt_Tread* EngineInterfaceExt::GetTreadFromID(int id) {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetTreadFromID(id) : nullptr;
}

int EngineInterfaceExt::GetCurrentEvent() {
  Engine* engine = EngineOf(engineInterface_);
  return engine != nullptr ? engine->GetCurrentEvent() : -1;
}

bool EngineInterfaceExt::GetIfKeepRunningApplication() { return keepRunningApplication_; }

void EngineInterfaceExt::SetIfKeepRunningApplication(bool keepRunning) {
  keepRunningApplication_ = keepRunning;
}

void EngineInterfaceExt::DoLinkPoolToChannel(Vlt_Channel* channel) {
  if (Engine* engine = EngineOf(engineInterface_)) engine->DoLinkPoolToChannel(channel);
}

ChannelPoolManagement* EngineInterfaceExt::GetChannelPoolManagement() {
  return channelPoolManagement_;
}

bool EngineInterfaceExt::GetInitialized() { return initialized_; }

void EngineInterfaceExt::SetInitialized(bool initialized) { initialized_ = initialized; }
