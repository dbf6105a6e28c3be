// A channel group owns a set of channels with stable indices; it is the unit that is loaded,
// saved, instantiated and run. Plug-ins use it across the module boundary, so the order of the
// virtual operations is part of the binary interface.
#pragma once

#include "PublicCallInfo.h"
#include "Vlt_List.h"
#include "Vlt_String.h"

class Vlt_Channel;
class EngineInterface;
class SmartChannel;
class VltFileLoader;
class VltFileSaver;

// A link waiting for its target channel while a group loads.
struct ChannelRequestInfo {
  int32_t targetIndex;
  int32_t targetPosition;
  Vlt_Channel* requester;
  int32_t linkPosition;
};

class VEXILON_API Vlt_ChannelGroup {
  // The group file's reader and writer fill and store the group's fields directly.
  friend class GroupFileReader;
  friend class GroupFileWriter;

 public:
  Vlt_ChannelGroup();
  explicit Vlt_ChannelGroup(EngineInterface* engine);
  Vlt_ChannelGroup(const Vlt_ChannelGroup&) = delete;
  Vlt_ChannelGroup& operator=(const Vlt_ChannelGroup&) = delete;

  virtual ~Vlt_ChannelGroup();                                                        // 0
  virtual void Release();                                                             // 1
  virtual bool SaveChannelGroup(VltFileSaver* saver);                                 // 2
  virtual bool SaveChannelGroup(const char* fileName);                                // 3
  virtual bool LoadChannelGroupFromFile(const char* fileName, bool useInstanceName);  // 4
  virtual bool LoadChannelGroupFromBuffer(const char* name, int size, void* buffer,
                                          bool useInstanceName);                  // 5
  virtual bool LoadChannelGroup(VltFileLoader* loader, bool useInstanceName);     // 6
  virtual int GetGroupIndex();                                                    // 7
  virtual void SetGroupIndex(int index);                                          // 8
  virtual void AddChannelRequest(ChannelRequestInfo info);                        // 9
  virtual void CheckPublicChannels();                                             // 10
  virtual void CheckRequestListForIndex(int index);                               // 11
  virtual int AddChannel(Vlt_Channel* channel);                                   // 12
  virtual bool RemoveChannel(Vlt_Channel* channel);                               // 13
  virtual bool RemoveChannel(int index);                                          // 14
  virtual bool TransferChannel(int index, Vlt_ChannelGroup* target);              // 15
  virtual int GetChannelCount();                                                  // 16
  virtual Vlt_Channel* GetChannel(const char* name);                              // 17
  virtual Vlt_Channel* GetChannel(int index);                                     // 18
  virtual void SetChannel(Vlt_Channel* channel, int index);                       // 19
  virtual const char* GetChannelGroupFileName();                                  // 20
  virtual bool GetIfChannelInGroup(Vlt_Channel* channel);                         // 21
  virtual Vlt_Channel* GetPublicChannel(PublicCallInfo* info);                    // 22
  virtual void CheckPublicChannelRemoval(Vlt_Channel* channel, int poolNr);       // 23
  virtual void CallStartChannel();                                                // 24
  virtual void SetStartChannel(int index);                                        // 25
  virtual int GetStartChannel();                                                  // 26
  virtual int GetPoolNr();                                                        // 27
  virtual void SetPoolNr(int poolNr);                                             // 28
  virtual const char* GetPoolName();                                              // 29
  virtual void SetPoolName(const char* name);                                     // 30
  virtual Vlt_Channel* GetParameterChannel(int n);                                // 31
  virtual void SetParameterChannel(Vlt_Channel* channel);                         // 32
  virtual int GetParameterCount();                                                // 33
  virtual ParameterInterfaceInfo GetParameterInfo(int n);                         // 34
  virtual void SetParameterInfo(ParameterInterfaceInfo info, int n);              // 35
  virtual int AddParameterInfo(ParameterInterfaceInfo info);                      // 36
  virtual void RemoveParameterInfo(int n);                                        // 37
  virtual bool CheckDuplicatePublicChannelName(Vlt_Channel* channel);             // 38
  virtual void CheckInterfaceChange(const char* poolName, Vlt_Channel* channel);  // 39
  virtual GUID GetUniqueGroupGuid();                                              // 40
  virtual void SetChannelGroupFileName(const char* fileName);                     // 41
  virtual bool GetIfArrayGroup();                                                 // 42
  virtual void SetIfArrayGroup(bool isArray);                                     // 43
  virtual VltWindow GetParentWindow();                                            // 44
  virtual void SetParentWindow(VltWindow window);                                 // 45
  virtual bool GetReadOnly();                                                     // 46
  virtual void SetReadOnly(bool readOnly);                                        // 47
  virtual void SetChannelTypeChangeSave(int index, GUID type);                    // 48
  virtual int GetChannelTypeChangeSave(GUID* type);                               // 49
  virtual void SetGroupIsProtected(bool isProtected);                             // 50
  virtual bool GetGroupIsProtected();                                             // 51
  virtual bool EnCrypt(const char* fileName);                                     // 52
  virtual bool DeCrypt(VltFileLoader* loader);                                    // 53

  // The engine's tree-calculate count plus this group's share.
  int GetTreeCalculateCount();
  void IncreaseTreeCount();
  EngineInterface* GetEngineInterface() const { return engine_; }

 private:
  void Construct(EngineInterface* engine);

  bool readOnly_;
  Vlt_List channels_;  // of Vlt_Channel, owned; slot i holds the channel with index i
  Vlt_List requests_;  // of ChannelRequestInfo, owned
  int32_t reserved_;
  Vlt_String fileName_;
  Vlt_String poolName_;
  int32_t groupIndex_;
  int32_t startChannel_;
  int32_t poolNr_;
  SmartChannel* parameterChannel_;
  Vlt_List parameterInfos_;  // of ParameterInterfaceInfo, owned
  int32_t localTreeCount_;
  GUID uniqueGroupGuid_;
  bool arrayGroup_;
  bool releasing_;
  EngineInterface* engine_;
  VltWindow parentWindow_;
  int32_t changeSaveIndex_;
  GUID changeSaveType_;
  bool groupIsProtected_;
};
