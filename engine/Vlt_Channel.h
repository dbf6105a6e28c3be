// Base class of every channel: a typed node with named link positions and a flat child list.
// Plug-ins derive from it across the module boundary, so the order of the virtual operations
// below is part of the binary interface and must not change.
#pragma once

#include "ChannelType.h"
#include "ChildCreation.h"
#include "DllInterface.h"
#include "Vlt_List.h"

class Vlt_ChannelGroup;
class VltFileLoader;
class VltFileSaver;
struct PublicCallInfo;
struct PublicInterface;
class ChannelPoolInfo;
class ChannelPoolManagement;

class VEXILON_API Vlt_Channel : public DllInterface {
  friend class ChannelInternal;
  // The engine block's reader and writer store and restore the channel's own records.
  friend class ChannelBlockReader;
  friend class ChannelBlockWriter;

 public:
  Vlt_Channel();
  Vlt_Channel(const Vlt_Channel&) = delete;
  Vlt_Channel& operator=(const Vlt_Channel&) = delete;

  ~Vlt_Channel() override;           // slot 0
  virtual void CallChannel();        // slot 1
  virtual void OneTimeInitialize();  // slot 2
  // data is pointer-sized: event 1 passes the address of the window message record.
  virtual void DoEvent(int event, uintptr_t data);                                    // slot 3
  virtual ChannelType GetChannelType();                                               // slot 4
  virtual bool SaveChannel(VltFileSaver* saver);                                      // slot 5
  virtual bool LoadChannel(VltFileLoader* loader, Vlt_ChannelGroup* group);           // slot 6
  virtual void SetChannelInterfaceType(int type);                                     // slot 7
  virtual Vlt_Channel* GetChannelFromChannel(Vlt_Channel* parent, ChildInfo* entry);  // slot 8
  virtual uint32_t GetTimeStamp();                                                    // slot 9
  virtual void SetTimeStamp();                                                        // slot 10
  virtual void DoDependencyInit(Vlt_List* dependencies);                              // slot 11
  virtual void CheckIndexNrRemoval(int indexNr);                                      // slot 12
  virtual Vlt_Channel* GetInternalChild(int index);                                   // slot 13
  virtual void CheckPublicChannelInstanceRemoval(Vlt_Channel* channel, int poolNr);   // slot 14

  void SetChannelName(const char* name);
  const char* GetChannelName() const { return name_; }
  Vlt_ChannelGroup* GetChannelGroup() const { return group_; }
  int GetChannelIDIndexNr() const { return indexNr_; }
  int GetChannelInterfaceType() const { return interfaceType_; }

  void SetChildCreationCount(int count);
  void SetChildCreateType(ChildCreation creation, int index);
  int GetChildCount() const { return children_.GetItemCount(); }
  Vlt_Channel* GetChild(int index);
  ChildInfo* GetChildInfo(int index) const {
    return static_cast<ChildInfo*>(children_.GetItem(index));
  }
  int GetChildLinkPositionCount(int position);
  Vlt_Channel* GetChildFromLinkPosition(int position, int rank);
  Vlt_Channel* GetChildFromLinkGuid(const GUID& type, int n);
  int GetChildTypeCount(const GUID& type);
  int SetChild(Vlt_Channel* child, int targetChannel, int linkPosition);
  void RemoveChild(int index);
  void RemoveChildren();

  void AddChannelGuidDepend(const GUID& type, Vlt_List* dependencies);
  void AddDLLDepend(const char* fileName, Vlt_List* dependencies);

  int GetPoolChannelCount();
  Vlt_Channel* GetPoolChannel(int index);
  bool GetIfUsePoolChannel() const { return usePoolChannel_ != 0; }
  void SetIfUsePoolChannel(bool use) { usePoolChannel_ = use ? 1 : 0; }
  void LinkPoolToChannel();

 protected:
  // True for the first call in the current tree pass; a channel reached along several paths
  // computes once.
  bool CheckRenderCount();

 private:
  // Resolves what a stored child stands for (public calls, parameters, indirect channels).
  Vlt_Channel* ResolveChild(Vlt_Channel* child, int index);
  // Resolves the GUID lookups' view of an entry: indirect channels are looked through.
  Vlt_Channel* MatchedChildOfEntry(ChildInfo* info);
  // Pools: the engine's pool manager, a pool user's entries brought up to date with the
  // manager's stamp, and the destructor's release of every membership.
  ChannelPoolManagement* GetPoolManagement() const;
  void RefreshPoolEntries();
  void LeavePools();

  ChannelType* typeCache_;
  int32_t lastTreeCount_;
  int32_t indexNr_;
  int32_t interfaceType_;
  PublicCallInfo* publicCallInfo_;
  void* interfaceData_;      // ParameterInfo for parameter channels
  Vlt_List children_;        // of ChildInfo, owned
  Vlt_List childCreations_;  // of ChildCreation, owned
  Vlt_List* pendingLinks_;   // links read from a file, not yet resolved
  Vlt_List* waitingCalls_;
  Vlt_List* resolvedCalls_;
  char* name_;
  Vlt_ChannelGroup* group_;
  uint8_t dropLastChild_;
  uint32_t callingTime_;
  uint8_t ignoreTreeCount_;
  uint32_t timeStamp_;
  uint8_t dynamicLoadPending_;
  uint8_t treeCountMode_;
  uint8_t treeRecalculateCount_;
  uint8_t usePoolChannel_;
  Vlt_List* poolNames_;  // of Vlt_String
  ChannelPoolInfo* poolInfo_;
  PublicInterface* publicInterface_;
  Vlt_List* groupInterfaceMap_;
};

// A pending link read from a file: target index, target position and an unused third value.
struct PendingLink {
  int32_t targetIndex;
  int32_t targetPosition;
  int32_t unused;
};
