// Plug-in loading: probing a library's type record, loading modules, the factory call under the
// engine lock, automatic children and one-time initialisation.
#include <cstring>

#include "ChannelInternal.h"
#include "ChannelList.h"
#include "ChildCreation.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "HostText.h"
#include "Vexilon.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_String.h"
#include "platform/Platform.h"

ChannelType Engine::GetDLLType(VltInstance module) {
  ChannelType record;
  if (module == nullptr) return record;
  auto getType = reinterpret_cast<GetTypeFn>(vplat::findExport(module, "GetType"));
  if (getType == nullptr) return record;
  const ChannelType* reported = getType();
  if (reported != nullptr) std::memcpy(&record, reported, sizeof(ChannelType));
  return record;
}

ChannelType Engine::GetDLLType(const char* fileName) {
  ChannelType record;
  if (fileName == nullptr) return record;

  // Probes load by the bare file name, so the library is found through the search path.
  char name[500];
  hosttext::CopyText(name, fileName, 498);
  Vlt_String helper;
  helper.MakeFULLName(name);
  VltInstance module = vplat::loadModule(name);
  if (module == nullptr) module = vplat::loadModule(name);
  if (module == nullptr) {
    engineInterface_->showErrorMessage_("GetLastError:", static_cast<int>(vplat::lastErrorCode()));
    engineInterface_->showErrorMessage_("Couldn't find or load a dll: ", fileName);
    return record;
  }
  record = GetDLLType(module);
  vplat::freeModule(module);

  if (record.version[1] != VLT_ENGINE_VERSION) {
    record.typeGuid = VLT_NULL_GUID;
    char typeName[sizeof(record.name) + 1];
    hosttext::CopyText(typeName, record.name, sizeof(record.name));
    engineInterface_->showErrorMessage_("Channel not compatible with current version: ", typeName);
    engineInterface_->showErrorMessage_("Engine version of channel is: ",
                                        static_cast<int>(record.version[1]));
  }
  return record;
}

VltInstance Engine::LoadModule(const char* fileName) {
  if (fileName == nullptr || std::strlen(fileName) < 2) return nullptr;
  VltInstance module = vplat::loadModule(fileName);
  if (module == nullptr) {
    engineInterface_->showErrorMessage_("GetLastError:", static_cast<int>(vplat::lastErrorCode()));
    engineInterface_->showErrorMessage_("Engine::GetDLLInstance: Error loading DLL file:",
                                        fileName);
    return nullptr;
  }
  // Every load is recorded, so that each system reference is released once at release.
  dllHandles_.AddItem(module);
  return module;
}

Vlt_Channel* Engine::Instantiate(VltInstance module) {
  auto initDll = reinterpret_cast<InitDLLFn>(vplat::findExport(module, "InitDLL"));
  if (initDll == nullptr) {
    engineInterface_->showErrorMessage_(
        "Engine::GetDLLInstance: Couldn't find external function InitDLL() in dll:");
    return nullptr;
  }
  Vlt_Channel* channel;
  {
    // Constructors inside InitDLL read the globals; the lock keeps engines in other threads from
    // changing them meanwhile.
    vplat::LockGuard guard(*engineLock_);
    globalEngine = engineInterface_;
    globalDllInstance = module;
    channel = initDll();
  }
  if (channel == nullptr) return nullptr;
  channel->dllInstance = module;
  channel->engine = engineInterface_;
  return channel;
}

DllInterface* Engine::GetDLLInstance(const char* fileName) {
  VltInstance module = LoadModule(fileName);
  if (module == nullptr) return nullptr;
  DllInterface* instance = Instantiate(module);
  if (instance != nullptr) instance->engine = engineInterface_;
  return instance;
}

void Engine::CreateDefaultChildren(Vlt_Channel* channel, Vlt_ChannelGroup* group,
                                   bool createChildren) {
  // The count is re-read each step.
  for (int i = 0; i < channelInternal->GetChildCreationCount(channel); ++i) {
    const ChildCreation* entry = channelInternal->GetChildCreateType(channel, i);
    if (entry == nullptr || entry->createDefaultChild == 0) continue;
    GUID type = VltGuidIsNull(entry->defaultChildType) ? entry->acceptedType.typeGuid
                                                       : entry->defaultChildType;
    char linkName[sizeof(entry->linkName) + 1];
    hosttext::CopyText(linkName, entry->linkName, sizeof(entry->linkName));
    int requestLink = entry->requestLink;

    Vlt_Channel* child = InitChannelFromType(type, group, createChildren);
    if (child == nullptr) {
      engineInterface_->showErrorMessage_("Couldn't initialize child");
      continue;
    }
    if (linkName[0] != '\0') child->SetChannelName(linkName);
    channel->SetChild(child, -1, requestLink);
  }
}

Vlt_Channel* Engine::FinishChannel(Vlt_Channel* channel, Vlt_ChannelGroup* group,
                                   bool createChildren) {
  if (group != nullptr) group->AddChannel(channel);
  if (createChildren) CreateDefaultChildren(channel, group, createChildren);
  channel->OneTimeInitialize();
  return channel;
}

Vlt_Channel* Engine::CreateChannelFromDLL(const char* fileName, Vlt_ChannelGroup* group,
                                          bool createChildren) {
  VltInstance module = LoadModule(fileName);
  if (module == nullptr) return nullptr;
  Vlt_Channel* channel = Instantiate(module);
  if (channel == nullptr) return nullptr;
  if (channelList_ != nullptr) channelList_->CheckChannelUpdate(channel);
  return FinishChannel(channel, group, createChildren);
}

Vlt_Channel* Engine::InitChannelFromType(const GUID& type, Vlt_ChannelGroup* group,
                                         bool createChildren) {
  if (channelList_ == nullptr) return nullptr;
  ChannelListItem* item = channelList_->GetItem(type);
  if (item == nullptr || item->failed) return nullptr;

  if (item->dllInstance != nullptr) {
    // The kept module: no new load and no registry comparison.
    Vlt_Channel* channel = Instantiate(item->dllInstance);
    if (channel == nullptr) return nullptr;
    return FinishChannel(channel, group, createChildren);
  }

  ChannelType probed = GetDLLType(item->fileName);
  if (VltGuidIsNull(probed.typeGuid)) {
    item->failed = true;
    return nullptr;
  }
  Vlt_Channel* channel = CreateChannelFromDLL(item->fileName, group, createChildren);
  if (channel == nullptr) return nullptr;
  item->dllInstance = channel->dllInstance;
  return channel;
}
