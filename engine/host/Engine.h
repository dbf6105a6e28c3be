// The engine core: owns the groups, the unique channels, the plug-in registry, the loaded plug-in
// modules, the event subscriptions and the pending public channel requests. Internal to the
// engine library; channels and hosts reach it through EngineInterface and EngineInterfaceExt.
#pragma once

#include <cstdint>

#include "ChannelType.h"
#include "Vlt_List.h"

class ChannelList;
class DllInterface;
class EngineInterface;
class Vlt_Channel;
class Vlt_ChannelGroup;
class Vlt_Tread;
struct PublicCallInfo;
namespace vplat {
class Lock;
}

struct EventChannel {
  Vlt_Channel* channel;
  int event;
};

struct PublicChannelRequest {
  Vlt_Channel* channel;  // the requesting channel
  int index;             // the public index asked for
};

struct WindowMessageInfo {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
  VltWindow window;
};

class Engine {
 public:
  Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  virtual ~Engine();
  virtual const char* GetInstallDir();
  virtual Vlt_ChannelGroup* CreateNewGroup(const char* name, bool isArray, int poolNr);
  virtual void DeleteChannelGroup(int index);
  virtual int GetChannelGroupCount();
  virtual void ReleaseGroups();
  virtual void CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr);
  virtual void CheckPublicCallChannelRemoval(Vlt_Channel* channel);
  virtual void CheckInterfaceChange(const char* poolName, Vlt_Channel* channel);
  virtual Vlt_Channel* GetPublicChannel(PublicCallInfo* info);
  virtual bool AddChannelRequest(int index, Vlt_Channel* channel);
  virtual void CheckChannelRequest(Vlt_ChannelGroup* group, int index, Vlt_Channel* channel);
  virtual VltWindow GetWindowHandle();
  virtual void SetWindowHandle(VltWindow window);
  virtual void Attach(EngineInterface* engineInterface);
  virtual bool SetRegData(const char* name, const char* value);
  virtual bool GetRegData(const char* name, char* buffer, int size);
  virtual Vlt_Tread* GetNewTread();
  virtual void KillTread(Vlt_Tread* thread);
  virtual Vlt_Tread* GetTreadFromID(int id);
  virtual int GetCurrentEvent();
  virtual void DoEvent(int event, uintptr_t parameter);
  virtual void AddChannelToEvent(Vlt_Channel* channel, int event);
  virtual void RemoveChannelFromEvent(Vlt_Channel* channel, int event);
  virtual void ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                    long lParam);
  virtual void SetStartGroup(int index);
  virtual int GetStartGroup();

  // Groups.
  Vlt_ChannelGroup* GetChannelGroup(int index);
  Vlt_ChannelGroup* GetChannelGroup(const char* fileName, int poolNr);
  Vlt_ChannelGroup* GetPoolGroup(const char* poolName, int poolNr);
  Vlt_ChannelGroup* LoadChannelGroup(const char* fileName, const char* poolName);
  // As LoadChannelGroup, from bytes already read from fileName; the caller keeps them alive
  // while the group loads.
  Vlt_ChannelGroup* LoadChannelGroupFromBuffer(const char* fileName, int size, void* buffer,
                                               const char* poolName);
  int GetHighInstance(const char* poolName);
  void UpdateChannelTree();

  // Life cycle and the per-frame tick.
  bool InitEngine(VltInstance instance, const char* className);
  void Release();
  // Releases what an engine destroyed without Release still owns (groups, channels, modules).
  void ReleaseUnreleased();
  bool GetInitialized() const { return initialized_; }
  void IncreaseTreeCount();
  void DoLinkPoolToChannel(Vlt_Channel* channel);
  int GetTreeCalculateCount() const { return treeCalculateCount_; }
  void SetTreeCalculateCount(int count) { treeCalculateCount_ = count; }

  // Unique channels.
  Vlt_Channel* GetUniqueChannel(const GUID& type, const char* name);
  int GetUniqueChannelCount();

  // Plug-in loading (EnginePlugins.cpp).
  Vlt_Channel* InitChannelFromType(const GUID& type, Vlt_ChannelGroup* group, bool createChildren);
  Vlt_Channel* CreateChannelFromDLL(const char* fileName, Vlt_ChannelGroup* group,
                                    bool createChildren);
  DllInterface* GetDLLInstance(const char* fileName);
  ChannelType GetDLLType(const char* fileName);
  static ChannelType GetDLLType(VltInstance module);

  // Host settings.
  void SetInstallDir(const char* folder);
  void SetRegKey(const char* key);
  const char* GetEngineClassName() const { return engineClassName_; }
  VltInstance GetEngineInstance() const { return engineInstance_; }
  ChannelList* GetChannelList() const { return channelList_; }

 private:
  // Puts the group into the first empty entry (or appends it) and tells it its index.
  void AddGroup(Vlt_ChannelGroup* group);
  // The steps of LoadChannelGroup around the load itself: the refusals, the group added to the
  // list, the pool name and number after loading, and the public channels published.
  Vlt_ChannelGroup* LoadGroup(const char* fileName, int size, void* buffer, bool fromBuffer,
                              const char* poolName);
  // Puts the install folder's channels and 3rd folders in front of the module search path.
  void ExtendSearchPath();
  // Release from the point where no event is dispatched any more.
  void ReleaseResources();
  // Calls the outside notification channel that must hear about group release.
  void NotifyGroupRelease();
  // Takes out the event entries emptied by removals during a dispatch.
  void DropRemovedEventChannels();
  // True while a group of this engine still holds the channel: a channel waiting for its pool
  // link may have been deleted since it asked.
  bool HoldsChannel(Vlt_Channel* channel);

  // Loads a plug-in module by the name as given and records it; null on failure (reported).
  VltInstance LoadModule(const char* fileName);
  // One object from a loaded module, created under the engine lock.
  Vlt_Channel* Instantiate(VltInstance module);
  // Group, automatic children and one-time initialisation of a new channel.
  Vlt_Channel* FinishChannel(Vlt_Channel* channel, Vlt_ChannelGroup* group, bool createChildren);
  void CreateDefaultChildren(Vlt_Channel* channel, Vlt_ChannelGroup* group, bool createChildren);

  Vlt_ChannelGroup* uniqueChannels_;
  Vlt_List groups_;  // of Vlt_ChannelGroup, owned
  int treeCalculateCount_;
  ChannelList* channelList_;
  VltWindow windowHandle_;
  Vlt_List channelRequests_;  // of PublicChannelRequest, owned
  char engineClassName_[260];
  VltInstance engineInstance_;
  char installDir_[300];
  char regKey_[300];
  EngineInterface* engineInterface_;
  bool initialized_;
  Vlt_List threads_;        // of Vlt_Tread, owned; an entry's index is the thread's class ID
  Vlt_List dllHandles_;     // one entry per successful plug-in module load
  Vlt_List eventChannels_;  // of EventChannel, owned, in subscription order
  int eventDispatchDepth_;  // dispatches under way; removals then only mark their entries
  int currentEvent_;
  WindowMessageInfo windowMessage_;
  int startGroup_;
  Vlt_List poolLinkRequests_;  // of Vlt_Channel, not owned

  // The process-wide lock held around a plug-in's InitDLL; lives while any Engine lives.
  static vplat::Lock* engineLock_;
  static int livingEngines_;
};
