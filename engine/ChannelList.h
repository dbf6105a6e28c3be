// The registry of installed channel types: for every plug-in library, its file name and type
// record. The order of the virtual operations is part of the binary interface.
#pragma once

#include "ChannelType.h"
#include "Vlt_List.h"

class EngineInterface;
class Vco_DirectoryChannel;
class Vlt_Channel;

struct VEXILON_API ChannelListItem {
  // Default type record (version 1, 57, 1, null GUIDs), empty name, not failed, no module.
  ChannelListItem();

  ChannelType type;
  char fileName[260];
  bool failed;
  VltInstance dllInstance;
};

class VEXILON_API ChannelList {
 public:
  explicit ChannelList(EngineInterface* engineInterface);
  ChannelList(const ChannelList&) = delete;
  ChannelList& operator=(const ChannelList&) = delete;

  virtual ~ChannelList();                                      // 0
  virtual bool CreateChannelList();                            // 1
  virtual bool SaveChannelList();                              // 2
  virtual bool LoadChannelList();                              // 3
  virtual void SortChannelList();                              // 4
  virtual void Release();                                      // 5
  virtual void AddDirectory(char* folder, int unused);         // 6
  virtual ChannelListItem* GetItem(GUID type);                 // 7
  virtual ChannelListItem* GetItem(int index);                 // 8
  virtual int GetItemCount();                                  // 9
  virtual ChannelType GetChannelType(GUID type);               // 10
  virtual void SetChannelDir(char* folder);                    // 11
  virtual void CheckChannelUpdate(Vlt_Channel* channel);       // 12
  virtual void SetVersionInfo(GUID type, int versionInfo[3]);  // 13

  // Adds an item (first empty entry, or appended) and returns its index. The registry owns it.
  int AddItem(ChannelListItem* item);

 private:
  // The engine's install folder, or an empty text.
  const char* InstallDir() const;
  // One pass of the folder scan: probes and adds every listed library of the extension,
  // skipping names already listed when skipListed is set (first letter exact, the rest ignoring
  // case).
  void ScanFolder(Vco_DirectoryChannel* lister, const char* folder, const char* extension,
                  bool skipListed);

  Vlt_List items_;  // of ChannelListItem, owned
  char channelDir_[260];
  EngineInterface* engineInterface_;
};
