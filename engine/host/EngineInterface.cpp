#include "EngineInterface.h"

#include "Engine.h"
#include "EngineInterfaceExt.h"
#include "EngineListener.h"

EngineInterface::EngineInterface() : self_(nullptr), ext_(nullptr), engine_(nullptr) {
  engine_ = new Engine();
  engine_->Attach(this);
  self_ = this;
  ext_ = new EngineInterfaceExt();
  ext_->SetEngineInterface(this);
}

EngineInterface::~EngineInterface() {
  // Groups and channels still alive call back into both objects while they go, so an engine
  // that was never released is released while everything is still in place.
  if (engine_ != nullptr) engine_->ReleaseUnreleased();
  delete ext_;
  ext_ = nullptr;
  delete engine_;
  engine_ = nullptr;
  listeners_.ReleaseItems();
}

const char* EngineInterface::GetInstallDir() { return engine_->GetInstallDir(); }

const char* EngineInterface::GetEngineClassName() { return engine_->GetEngineClassName(); }

VltInstance EngineInterface::GetEngineInstance() { return engine_->GetEngineInstance(); }

VltWindow EngineInterface::GetWindowHandle() { return engine_->GetWindowHandle(); }

int EngineInterface::GetTreeCalculateCount() { return engine_->GetTreeCalculateCount(); }

void EngineInterface::SetTreeCalculateCount(int count) { engine_->SetTreeCalculateCount(count); }

Vlt_ChannelGroup* EngineInterface::CreateNewGroup(const char* name, bool isArray, int poolNr) {
  return engine_->CreateNewGroup(name, isArray, poolNr);
}

Vlt_ChannelGroup* EngineInterface::GetChannelGroup(const char* fileName, int poolNr) {
  return engine_->GetChannelGroup(fileName, poolNr);
}

Vlt_ChannelGroup* EngineInterface::GetChannelGroup(int index) {
  return engine_->GetChannelGroup(index);
}

Vlt_ChannelGroup* EngineInterface::GetPoolGroup(const char* poolName, int poolNr) {
  return engine_->GetPoolGroup(poolName, poolNr);
}

Vlt_ChannelGroup* EngineInterface::LoadChannelGroup(const char* fileName, const char* poolName) {
  return engine_->LoadChannelGroup(fileName, poolName);
}

int EngineInterface::GetHighInstance(const char* poolName) {
  return engine_->GetHighInstance(poolName);
}

void EngineInterface::DeleteChannelGroup(int index) { engine_->DeleteChannelGroup(index); }

int EngineInterface::GetChannelGroupCount() { return engine_->GetChannelGroupCount(); }

Vlt_Channel* EngineInterface::InitChannelFromType(GUID type, Vlt_ChannelGroup* group,
                                                  bool createChildren) {
  return engine_->InitChannelFromType(type, group, createChildren);
}

Vlt_Channel* EngineInterface::InitChannelFromType(ChannelType type, Vlt_ChannelGroup* group,
                                                  bool createChildren) {
  return engine_->InitChannelFromType(type.typeGuid, group, createChildren);
}

Vlt_Channel* EngineInterface::GetUniqueChannel(GUID type, const char* name) {
  return engine_->GetUniqueChannel(type, name);
}

Vlt_Channel* EngineInterface::GetUniqueChannel(ChannelType type, const char* name) {
  return engine_->GetUniqueChannel(type.typeGuid, name);
}

void EngineInterface::AddChannelToEvent(Vlt_Channel* channel, int event) {
  engine_->AddChannelToEvent(channel, event);
}

void EngineInterface::RemoveChannelFromEvent(Vlt_Channel* channel, int event) {
  engine_->RemoveChannelFromEvent(channel, event);
}

bool EngineInterface::GetGraphRunning() { return ext_ != nullptr && ext_->GetGraphRunning(); }

void EngineInterface::AddListener(EngineListener* listener) { listeners_.AddItemOrNULL(listener); }

void EngineInterface::RemoveListener(EngineListener* listener) {
  for (int i = 0; i < listeners_.GetItemCount(); ++i)
    if (listeners_.GetItem(i) == listener) listeners_.SetItem(nullptr, i);
}

void EngineInterface::AboutToReleaseChannel(Vlt_Channel* channel) {
  for (int i = 0; i < listeners_.GetItemCount(); ++i) {
    auto* listener = static_cast<EngineListener*>(listeners_.GetItem(i));
    if (listener != nullptr) listener->OnAboutToReleaseChannel(channel);
  }
}
