// The extended service object for hosts and engine-internal callers: start-up and release, the
// main-loop tick, plug-in loading by file name, projects, pools, flags and debug texts.
// The order of the virtual operations is part of the binary interface.
#pragma once

#include "ChannelType.h"

class ChannelList;
class ChannelPoolManagement;
class DllInterface;
class EngineInterface;
class ProjectFileLoader;
class Vco_FileLoaderChannel;
class Vlt_Channel;
class Vlt_ChannelGroup;
class Vlt_Tread;
class VltFileLoader;
struct PublicCallInfo;

class VEXILON_API EngineInterfaceExt {
 public:
  EngineInterfaceExt();
  EngineInterfaceExt(const EngineInterfaceExt&) = delete;
  EngineInterfaceExt& operator=(const EngineInterfaceExt&) = delete;

  virtual ~EngineInterfaceExt();                   // 0
  virtual void SetInstallDir(const char* folder);  // 1
  virtual void ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                    long lParam);                                 // 2
  virtual int GetInterfaceID();                                                   // 3
  virtual bool InitEngine(VltInstance instance, const char* className);           // 4
  virtual void UpdateChannelTree();                                               // 5
  virtual void ReleaseGroups();                                                   // 6
  virtual void CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr);       // 7
  virtual void CheckPublicCallChannelRemoval(Vlt_Channel* channel);               // 8
  virtual void CheckInterfaceChange(const char* poolName, Vlt_Channel* channel);  // 9
  virtual void IncreaseTreeCount();                                               // 10
  virtual Vlt_Channel* GetPublicChannel(PublicCallInfo* info);                    // 11
  virtual bool AddChannelRequest(int index, Vlt_Channel* channel);                // 12
  virtual void CheckChannelRequest(Vlt_ChannelGroup* group, int index,
                                   Vlt_Channel* channel);      // 13
  virtual DllInterface* GetDLLInstance(const char* fileName);  // 14
  virtual Vlt_Channel* CreateChannelFromDLL(const char* fileName, Vlt_ChannelGroup* group,
                                            bool createChildren);     // 15
  virtual void SetWindowHandle(VltWindow window);                     // 16
  virtual ChannelList* GetChannelList();                              // 17
  virtual void DebugOut(const char* text, int slot);                  // 18
  virtual const char* GetDebug(int slot);                             // 19
  virtual void KillTread(Vlt_Tread* thread);                          // 20
  virtual void SetIfTrackChannelCalling(bool track);                  // 21
  virtual void SetGraphRunning(bool running);                         // 22
  virtual bool GetGraphRunning();                                     // 23
  virtual int InitializeLmrFile(const char* fileName);                // 24
  virtual Vlt_ChannelGroup* GetLmrStartGroup();                       // 25
  virtual void SetStartGroup(int index);                              // 26
  virtual int GetStartGroup();                                        // 27
  virtual int GetProjectEditorVersion();                              // 28
  virtual void Release();                                             // 29
  virtual int GetUniqueChannelCount();                                // 30
  virtual void SetLumenarRegKey(const char* key);                     // 31
  virtual void TranslateFile(Vco_FileLoaderChannel* loader);          // 32
  virtual void TranslateFile(VltFileLoader* loader);                  // 33
  virtual bool SetRegData(const char* name, const char* value);       // 34
  virtual bool GetRegData(const char* name, char* buffer, int size);  // 35
  virtual Vlt_Tread* GetNewTread();                                   // 36
  virtual Vlt_Tread* GetTreadFromID(int id);                          // 37
  virtual int GetCurrentEvent();                                      // 38
  virtual bool GetIfKeepRunningApplication();                         // 39
  virtual void SetIfKeepRunningApplication(bool keepRunning);         // 40
  virtual void DoLinkPoolToChannel(Vlt_Channel* channel);             // 41
  virtual ChannelPoolManagement* GetChannelPoolManagement();          // 42
  virtual bool GetInitialized();                                      // 43
  virtual void SetInitialized(bool initialized);                      // 44

  void SetEngineInterface(EngineInterface* engineInterface);
  ChannelType GetDLLType(const char* fileName);
  ChannelType GetDLLType(VltInstance module);
  bool GetIfTrackChannelCalling() const { return trackChannelCalling_; }
  // LoadChannelGroup (fileName, poolName) of the EngineInterface from the file's bytes, read
  // beforehand (a background loader reads them off the engine's thread); the group's file name
  // becomes fileName. The caller keeps the bytes alive during the call.
  Vlt_ChannelGroup* LoadChannelGroupFromBuffer(const char* fileName, int size, void* buffer,
                                               const char* poolName);

 private:
  friend class Vlt_Channel;

  bool trackChannelCalling_;
  bool graphRunning_;
  ProjectFileLoader* projectFileLoader_;
  int32_t projectEditorVersion_;
  EngineInterface* engineInterface_;
  char debugTexts_[10][300];
  bool keepRunningApplication_;
  ChannelPoolManagement* channelPoolManagement_;
  bool initialized_;
};
