// The engine's friend object for channels: the bookkeeping that is not part of a channel's own
// interface. One stateless instance, the exported global channelInternal. Plug-ins reach it
// through that global, so the order of the virtual operations is part of the binary interface.
#pragma once

#include "PublicCallInfo.h"
#include "Vlt_Channel.h"

class ChannelPoolInfo;
struct PoolItem;

class VEXILON_API ChannelInternal {
 public:
  ChannelInternal() = default;
  virtual ~ChannelInternal();                                                              // 0
  virtual int SetChildByType(Vlt_Channel* parent, Vlt_Channel* child, int targetChannel);  // 1
  virtual void RemoveChildPosition(Vlt_Channel* channel, int index);                       // 2
  virtual void RemoveChild(Vlt_Channel* parent, Vlt_Channel* child);                       // 3
  virtual void RecalculateNodeOffsets(Vlt_Channel* channel);                               // 4
  virtual void SortChilderen(Vlt_Channel* channel);                                        // 5
  virtual int GetChildCreationCount(Vlt_Channel* channel);                                 // 6
  virtual int GetChildLinkPosition(Vlt_Channel* channel, int index);                       // 7
  virtual bool CheckChannelRequest(Vlt_Channel* requester, int targetIndex, int targetPosition,
                                   Vlt_Channel* target, int linkPosition);       // 8
  virtual void SetChannelIDIndexNr(Vlt_Channel* channel, int indexNr);           // 9
  virtual void SetChannelGroup(Vlt_Channel* channel, Vlt_ChannelGroup* group);   // 10
  virtual bool GetIfExternalChild(Vlt_Channel* channel, int index);              // 11
  virtual bool SetPublicCallInfo(Vlt_Channel* channel, PublicCallInfo info);     // 12
  virtual PublicCallInfo GetPublicCallInfo(Vlt_Channel* channel);                // 13
  virtual void SetAutoLoadGroup(Vlt_Channel* channel, bool autoLoad);            // 14
  virtual void SetDynamicAutoLoadGroup(Vlt_Channel* channel, bool dynamicLoad);  // 15
  virtual bool GetAutoLoadGroup(Vlt_Channel* channel);                           // 16
  virtual bool GetDynamicAutoLoadGroup(Vlt_Channel* channel);                    // 17
  virtual bool CheckPublicChannelRequest(Vlt_Channel* caller, Vlt_Channel* candidate, int poolNr,
                                         const char* poolName);                    // 18
  virtual void SetRequestedPublicChannelNr(Vlt_Channel* channel, int poolNr);      // 19
  virtual void DoPublicChannelNameCheck(Vlt_Channel* channel);                     // 20
  virtual ParameterInfo* GetParameterInfo(Vlt_Channel* channel);                   // 21
  virtual void SetParameterInfo(Vlt_Channel* channel, int parameterNr);            // 22
  virtual void SetParameterInfo(Vlt_Channel* channel, ParameterInfo info);         // 23
  virtual int GetChannelGetChildTime(Vlt_Channel* channel);                        // 24
  virtual void UpdateCallingTime(Vlt_Channel* channel);                            // 25
  virtual bool GetIgnoreTreeCount(Vlt_Channel* channel);                           // 26
  virtual void SetIgnoreTreeCount(Vlt_Channel* channel, bool ignore);              // 27
  virtual void GetChannelDepenency(Vlt_Channel* channel, Vlt_List* dependencies);  // 28
  virtual void ReleaseChilderen(Vlt_Channel* channel);                             // 29

  ChildInfo* GetChildInfo(Vlt_Channel* channel, int index);
  Vlt_Channel* GetInternalChild(Vlt_Channel* channel, int index);
  ChildCreation* GetChildCreateType(Vlt_Channel* channel, int index);
  void SetTreeCountMode(Vlt_Channel* channel, int mode);
  int GetTreeCountMode(Vlt_Channel* channel);
  int GetTreeRecalculateCount(Vlt_Channel* channel);

  // Public calls: the channel a public-call channel stands for, or none.
  Vlt_Channel* GetInternalPublicChannelForPublicCall(Vlt_Channel* caller, bool activate);
  Vlt_Channel* GetPublicChannelForPublicCall(Vlt_Channel* caller, bool activate);
  // The flat index that carries parameter n of a called group.
  int TranslateGroupInterfaceNr(Vlt_Channel* caller, int n);

  // A public-call channel without a target has one variable position that accepts any type;
  // makes it (head at entry 0, dropLastChild set) when the channel has no position yet.
  void MakeUnresolvedPosition(Vlt_Channel* caller);
  // Drops a public call's positions and children, then asks for every position, so that the
  // positions mirror the target's current parameters.
  void ReCreateChildInterface(Vlt_Channel* caller);

  // Public interfaces: the parameter numbers of its group that a public channel shows its
  // callers, in their order.
  bool GetIfUsePublicInterface(Vlt_Channel* channel);
  int GetPublicInterfaceCount(Vlt_Channel* channel);
  int GetPublicInterfaceItemNr(Vlt_Channel* channel, int item);
  void CreatePublicInterface(Vlt_Channel* channel);
  void AddInterfaceItem(Vlt_Channel* channel, int parameterNr);
  void RemoveInterfaceItem(Vlt_Channel* channel, int item);
  void SwapInterfaceItems(Vlt_Channel* channel, int a, int b);
  // Records a link read from a file that waits for its target channel (see CheckChannelRequest).
  void AddPendingLink(Vlt_Channel* channel, int targetIndex, int targetPosition, int unused);

  // Pools: the names a channel entered (membership) and the pools a pool user draws from.
  void AddChannelToPool(Vlt_Channel* channel, const char* path);
  void RemoveChannelFromPool(Vlt_Channel* channel, const char* path);
  void AddPoolToChannel(Vlt_Channel* channel, const char* path);
  void RemovePoolFromChannel(Vlt_Channel* channel, const char* path);
  ChannelPoolInfo* GetChannelPoolInfo(Vlt_Channel* channel);
  // Rebuilds a pool user's entries from the pools it names and stamps them current.
  void RecalculateChannelPoolInfo(Vlt_Channel* channel);
  // Adds the compatible members of the pool and of all its sub-pools, depth first.
  void AddChannelsFromPoolToPoolInfo(Vlt_Channel* channel, PoolItem* pool);

 private:
  // The mirrored positions of a public call (PublicCallMirror.cpp). The target as resolved
  // without activation; without one the unresolved position is made, with one the arguments
  // that waited in the unresolved position move to their positions first.
  Vlt_Channel* PrepareMirror(Vlt_Channel* caller);
  // Positions a known target offers, and position i built on first request.
  int MirrorPositionCount(Vlt_Channel* target, bool useInterface);
  ChildCreation* MirrorPosition(Vlt_Channel* caller, Vlt_Channel* target, int i);
  void MoveUnresolvedArguments(Vlt_Channel* caller);
  // Moves the arguments of mirrored positions back into the unresolved position, each at the
  // rank of the position it held, for a call whose record changed.
  void ReturnToUnresolved(Vlt_Channel* caller);
  // Before parameters are read through flat indices: arguments that still wait in the
  // unresolved position of a call whose target is known take their mirrored positions.
  void SettleArguments(Vlt_Channel* caller);
};

VEXILON_API extern ChannelInternal* channelInternal;
