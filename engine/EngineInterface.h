// The services object every channel, group and host talks to the running engine through.
// The order of the virtual operations is part of the binary interface.
#pragma once

#include "ChannelType.h"
#include "ShowDebugMessage.h"
#include "Vlt_List.h"

class Engine;
class EngineInterfaceExt;
class EngineListener;
class Vlt_Channel;
class Vlt_ChannelGroup;

class VEXILON_API EngineInterface {
 public:
  EngineInterface();
  EngineInterface(const EngineInterface&) = delete;
  EngineInterface& operator=(const EngineInterface&) = delete;

  virtual ~EngineInterface();                                                              // 0
  virtual const char* GetInstallDir();                                                     // 1
  virtual const char* GetEngineClassName();                                                // 2
  virtual VltInstance GetEngineInstance();                                                 // 3
  virtual VltWindow GetWindowHandle();                                                     // 4
  virtual int GetTreeCalculateCount();                                                     // 5
  virtual void SetTreeCalculateCount(int count);                                           // 6
  virtual Vlt_ChannelGroup* CreateNewGroup(const char* name, bool isArray, int poolNr);    // 7
  virtual Vlt_ChannelGroup* GetChannelGroup(const char* fileName, int poolNr);             // 8
  virtual Vlt_ChannelGroup* GetChannelGroup(int index);                                    // 9
  virtual Vlt_ChannelGroup* GetPoolGroup(const char* poolName, int poolNr);                // 10
  virtual Vlt_ChannelGroup* LoadChannelGroup(const char* fileName, const char* poolName);  // 11
  virtual int GetHighInstance(const char* poolName);                                       // 12
  virtual void DeleteChannelGroup(int index);                                              // 13
  virtual int GetChannelGroupCount();                                                      // 14
  virtual Vlt_Channel* InitChannelFromType(GUID type, Vlt_ChannelGroup* group,
                                           bool createChildren);  // 15
  virtual Vlt_Channel* InitChannelFromType(ChannelType type, Vlt_ChannelGroup* group,
                                           bool createChildren);              // 16
  virtual Vlt_Channel* GetUniqueChannel(GUID type, const char* name);         // 17
  virtual Vlt_Channel* GetUniqueChannel(ChannelType type, const char* name);  // 18
  virtual void AddChannelToEvent(Vlt_Channel* channel, int event);            // 19
  virtual void RemoveChannelFromEvent(Vlt_Channel* channel, int event);       // 20
  virtual bool GetGraphRunning();                                             // 21

  void AddListener(EngineListener* listener);
  void RemoveListener(EngineListener* listener);
  void AboutToReleaseChannel(Vlt_Channel* channel);

  EngineInterfaceExt* GetExt() const { return ext_; }
  Engine* GetEngine() const { return engine_; }

  ShowDebugMessage showDebugMessage_;
  ShowErrorMessage showErrorMessage_;
  ShowInfoMessage showInfoMessage_;
  ShowMessageBox showMessageBox_;
  ShowUserInfoMessage showUserInfoMessage_;
  ShowUserWarningMessage showUserWarningMessage_;
  ShowUserErrorMessage showUserErrorMessage_;

 private:
  EngineInterface* self_;
  EngineInterfaceExt* ext_;
  Engine* engine_;
  Vlt_List listeners_;  // of EngineListener, not owned
};
