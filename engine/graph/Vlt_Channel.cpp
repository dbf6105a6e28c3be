// The channel object: construction and release, naming, link-position declaration, child
// resolution, the render-count test, interface-type switching, time stamps and dependencies.
// Linking and the list queries live in Vlt_ChannelLinks.cpp.
#include "Vlt_Channel.h"

#include <cstring>

#include "ChannelDependency.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_String.h"
#include "graph/ChannelPoolInfo.h"
#include "graph/GraphReport.h"
#include "graph/GraphText.h"
#include "groups/ChannelBlockReader.h"
#include "groups/ChannelBlockWriter.h"
#include "platform/Platform.h"

namespace {

constexpr int kMaxNameChars = 500;

// Seeds change stamps so that two runs rarely start from the same value.
uint32_t NextStartStamp() {
  static uint32_t state = 0;
  if (state == 0) state = vplat::tickCount() * 2654435761u | 1u;
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

}  // namespace

Vlt_Channel::Vlt_Channel()
    : typeCache_(nullptr),
      lastTreeCount_(-1),
      indexNr_(-1),
      interfaceType_(VCO_NONE),
      publicCallInfo_(nullptr),
      interfaceData_(nullptr),
      pendingLinks_(nullptr),
      waitingCalls_(nullptr),
      resolvedCalls_(nullptr),
      name_(nullptr),
      group_(nullptr),
      dropLastChild_(0),
      callingTime_(vplat::tickCount()),
      ignoreTreeCount_(0),
      timeStamp_(NextStartStamp()),
      dynamicLoadPending_(0),
      treeCountMode_(1),
      treeRecalculateCount_(0),
      usePoolChannel_(0),
      poolNames_(nullptr),
      poolInfo_(nullptr),
      publicInterface_(nullptr),
      groupInterfaceMap_(nullptr) {}

Vlt_Channel::~Vlt_Channel() {
  SetChildCreationCount(0);
  if (pendingLinks_ != nullptr) {
    for (int i = 0; i < pendingLinks_->GetItemCount(); ++i)
      delete static_cast<PendingLink*>(pendingLinks_->GetItem(i));
    pendingLinks_->ReleaseItems();
    delete pendingLinks_;
  }
  // Both call caches hold markers and channels owned elsewhere: only the lists go.
  delete waitingCalls_;
  delete resolvedCalls_;
  delete groupInterfaceMap_;
  delete publicCallInfo_;
  delete static_cast<ParameterInfo*>(interfaceData_);
  delete publicInterface_;
  LeavePools();
  if (poolNames_ != nullptr) {
    for (int i = 0; i < poolNames_->GetItemCount(); ++i)
      delete static_cast<Vlt_String*>(poolNames_->GetItem(i));
    poolNames_->ReleaseItems();
    delete poolNames_;
  }
  delete poolInfo_;
  delete typeCache_;
  delete[] name_;
}

void Vlt_Channel::CallChannel() {}

void Vlt_Channel::OneTimeInitialize() {}

void Vlt_Channel::DoEvent(int, uintptr_t) {}

ChannelType Vlt_Channel::GetChannelType() {
  if (typeCache_ == nullptr) {
    if (engine == nullptr || engine->GetExt() == nullptr) {
      ChannelType none;
      std::memset(none.name, 0, sizeof(none.name));
      none.baseGuid = VLT_NULL_GUID;
      return none;
    }
    typeCache_ = new ChannelType(engine->GetExt()->GetDLLType(dllInstance));
  }
  return *typeCache_;
}

bool Vlt_Channel::SaveChannel(VltFileSaver* saver) {
  return ChannelBlockWriter::Write(this, saver);
}

bool Vlt_Channel::LoadChannel(VltFileLoader* loader, Vlt_ChannelGroup* group) {
  return ChannelBlockReader::Read(this, loader, group);
}

void Vlt_Channel::SetChannelInterfaceType(int type) {
  if (type == interfaceType_) return;
  if (interfaceType_ == VCO_PUBLICCALL) {
    vgraph::ReportError(
        engine, "Vlt_Channel::SetChannelInterfaceType interface can't be changed VCO_PUBLICCALL");
    return;
  }
  if (interfaceType_ == VCO_PARAMETER) {
    vgraph::ReportError(
        engine, "Vlt_Channel::SetChannelInterfaceType interface can't be changed VCO_PARAMETER");
    return;
  }
  if (interfaceType_ == VCO_INDIRECT && type != VCO_PUBLICINDIRECT) return;

  if ((interfaceType_ == VCO_PUBLIC && type == VCO_NONE) ||
      (interfaceType_ == VCO_PUBLICINDIRECT && type == VCO_INDIRECT)) {
    if (engine != nullptr && engine->GetExt() != nullptr)
      engine->GetExt()->CheckPublicChannelRemoval(this,
                                                  group_ != nullptr ? group_->GetPoolNr() : -1);
  }

  interfaceType_ = type;
  delete static_cast<ParameterInfo*>(interfaceData_);
  interfaceData_ = nullptr;
  delete publicCallInfo_;
  publicCallInfo_ = nullptr;
  delete resolvedCalls_;
  resolvedCalls_ = nullptr;

  switch (type) {
    case VCO_PUBLIC:
    case VCO_PUBLICINDIRECT:
      channelInternal->DoPublicChannelNameCheck(this);
      break;
    case VCO_PUBLICCALL:
      channelInternal->ReleaseChilderen(this);
      publicCallInfo_ = new PublicCallInfo();
      delete groupInterfaceMap_;
      groupInterfaceMap_ = new Vlt_List();
      break;
    case VCO_PARAMETER:
      channelInternal->ReleaseChilderen(this);
      interfaceData_ = new ParameterInfo();
      break;
    default:
      break;
  }
}

Vlt_Channel* Vlt_Channel::GetChannelFromChannel(Vlt_Channel* parent, ChildInfo* entry) {
  if (usePoolChannel_ == 0 || parent == nullptr || entry == nullptr) return nullptr;
  if (entry->poolSnapshot != GetPoolChannelCount()) {
    // The pool changed since the parent was linked: have it relinked on the next tick.
    if (engine != nullptr && engine->GetExt() != nullptr)
      engine->GetExt()->DoLinkPoolToChannel(parent);
    return nullptr;
  }
  return GetPoolChannel(entry->poolIndex);
}

uint32_t Vlt_Channel::GetTimeStamp() { return timeStamp_; }

void Vlt_Channel::SetTimeStamp() { timeStamp_ += vplat::tickCount() + 1u; }

void Vlt_Channel::DoDependencyInit(Vlt_List*) {}

void Vlt_Channel::CheckIndexNrRemoval(int indexNr) {
  // Stand-ins (public calls, parameters, indirect channels) are matched by themselves, every
  // other child resolves to itself; so the stored channel decides in every case.
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    ChildInfo* info = static_cast<ChildInfo*>(children_.GetItem(i));
    if (info != nullptr && info->channel != nullptr && info->channel->indexNr_ == indexNr)
      info->channel = nullptr;
  }
}

Vlt_Channel* Vlt_Channel::GetInternalChild(int index) {
  ChildInfo* info = GetChildInfo(index);
  return info != nullptr ? info->channel : nullptr;
}

void Vlt_Channel::CheckPublicChannelInstanceRemoval(Vlt_Channel* channel, int poolNr) {
  if (interfaceType_ != VCO_PUBLICCALL || resolvedCalls_ == nullptr || channel == nullptr) return;
  if (resolvedCalls_->GetItem(poolNr) == channel) resolvedCalls_->SetItem(nullptr, poolNr);
}

void Vlt_Channel::SetChannelName(const char* name) {
  if (name == nullptr) return;
  char* copy = new char[kMaxNameChars + 1];
  vgraph::CopyBounded(copy, kMaxNameChars + 1, name);
  delete[] name_;
  name_ = copy;
}

void Vlt_Channel::SetChildCreationCount(int) {
  for (int i = 0; i < childCreations_.GetItemCount(); ++i)
    delete static_cast<ChildCreation*>(childCreations_.GetItem(i));
  childCreations_.ReleaseItems();
  for (int i = 0; i < children_.GetItemCount(); ++i)
    delete static_cast<ChildInfo*>(children_.GetItem(i));
  children_.ReleaseItems();
  // A public call's interface map tells which position carries which parameter: it goes with
  // the positions.
  if (groupInterfaceMap_ != nullptr) groupInterfaceMap_->ReleaseItems();
}

void Vlt_Channel::SetChildCreateType(ChildCreation creation, int index) {
  if (creation.requestLink != -1) {
    for (int i = 0; i < childCreations_.GetItemCount(); ++i) {
      ChildCreation* cc = static_cast<ChildCreation*>(childCreations_.GetItem(i));
      if (cc != nullptr && cc->requestLink == creation.requestLink) {
        vgraph::ReportError(engine, "Can't add child creation with the same request link!");
        return;
      }
    }
  }
  if (interfaceType_ == VCO_PUBLICCALL || index < 0) return;

  ChildCreation* cc = new ChildCreation();
  cc->acceptedType = creation.acceptedType;
  cc->requestLink = creation.requestLink;
  cc->createDefaultChild = creation.createDefaultChild;
  vgraph::CopyBounded(cc->linkName, sizeof(cc->linkName), creation.linkName);
  cc->defaultChildType = creation.defaultChildType;
  cc->positionIndex = index;
  delete static_cast<ChildCreation*>(childCreations_.GetItem(index));
  childCreations_.SetItem(cc, index);

  ChildInfo* head = new ChildInfo();
  head->channel = nullptr;
  head->linkPosition = index;
  head->isHead = 1;
  head->isVariable = creation.requestLink == -1 ? 1 : 0;
  head->count = 0;
  head->index = index;
  delete static_cast<ChildInfo*>(children_.GetItem(index));
  children_.SetItem(head, index);
  cc->head = head;
}

Vlt_Channel* Vlt_Channel::GetChild(int index) {
  // Hot path: one list lookup, the tracking flag and one switch.
  EngineInterfaceExt* ext = engine != nullptr ? engine->GetExt() : nullptr;
  const bool track = ext != nullptr && ext->trackChannelCalling_;
  if (track) channelInternal->UpdateCallingTime(this);
  ChildInfo* info = static_cast<ChildInfo*>(children_.GetItem(index));
  if (info == nullptr || info->channel == nullptr) return nullptr;
  Vlt_Channel* child = info->channel;
  if (track) channelInternal->UpdateCallingTime(child);
  if (child->interfaceType_ == VCO_NONE || child->interfaceType_ == VCO_PUBLIC) return child;
  Vlt_Channel* resolved = ResolveChild(child, index);
  if (track && resolved != nullptr && child->interfaceType_ != VCO_PARAMETER)
    channelInternal->UpdateCallingTime(resolved);
  return resolved;
}

Vlt_Channel* Vlt_Channel::ResolveChild(Vlt_Channel* child, int index) {
  switch (child->interfaceType_) {
    case VCO_PUBLICCALL:
      return channelInternal->GetPublicChannelForPublicCall(child, true);
    case VCO_PARAMETER:
      if (group_ == nullptr || child->interfaceData_ == nullptr) return nullptr;
      return group_->GetParameterChannel(
          static_cast<ParameterInfo*>(child->interfaceData_)->parameterNr);
    case VCO_INDIRECT:
    case VCO_PUBLICINDIRECT:
      return child->GetChannelFromChannel(this, GetChildInfo(index));
    default:
      return child;
  }
}

bool Vlt_Channel::CheckRenderCount() {
  if (ignoreTreeCount_ != 0) {
    treeRecalculateCount_ = 0;
    return true;
  }
  const int count = group_ != nullptr ? group_->GetTreeCalculateCount()
                                      : (engine != nullptr ? engine->GetTreeCalculateCount() : 0);
  if (count != lastTreeCount_) {
    lastTreeCount_ = count;
    treeRecalculateCount_ = 0;
    return true;
  }
  ++treeRecalculateCount_;
  return false;
}

void Vlt_Channel::AddChannelGuidDepend(const GUID& type, Vlt_List* dependencies) {
  if (dependencies == nullptr) return;
  for (int i = 0; i < dependencies->GetItemCount(); ++i) {
    ChannelDependency* dep = static_cast<ChannelDependency*>(dependencies->GetItem(i));
    if (dep != nullptr && VltGuidEqual(dep->typeGuid, type)) return;
  }
  if (engine == nullptr) return;
  Vlt_Channel* temporary = engine->InitChannelFromType(type, nullptr, false);
  if (temporary == nullptr) return;
  channelInternal->GetChannelDepenency(temporary, dependencies);
  delete temporary;
}

void Vlt_Channel::AddDLLDepend(const char* fileName, Vlt_List* dependencies) {
  if (fileName == nullptr || dependencies == nullptr) return;
  const GUID own = GetChannelType().typeGuid;
  for (int i = 0; i < dependencies->GetItemCount(); ++i) {
    ChannelDependency* dep = static_cast<ChannelDependency*>(dependencies->GetItem(i));
    if (dep != nullptr && VltGuidEqual(dep->typeGuid, own)) {
      Vlt_String* copy = new Vlt_String();
      copy->SetString(fileName);
      dep->fileNames.AddItem(copy);
      return;
    }
  }
}

Vlt_Channel* Vlt_Channel::MatchedChildOfEntry(ChildInfo* info) {
  if (info == nullptr || info->channel == nullptr) return nullptr;
  Vlt_Channel* stored = info->channel;
  if (stored->interfaceType_ == VCO_INDIRECT || stored->interfaceType_ == VCO_PUBLICINDIRECT)
    return stored->GetChannelFromChannel(this, info);
  return stored;
}
