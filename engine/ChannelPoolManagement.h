// Named, engine-wide pools of channels. Channels of any registered group join pools by an
// at-sign separated path ("Scene@Lights"); pool users stand in their parent's child list for
// every compatible member. The engine owns one manager (EngineInterfaceExt).
#pragma once

#include "VltExport.h"
#include "Vlt_List.h"

class EngineInterface;
class Vlt_Channel;

// One pool. Its id is its index in the manager's list of all pools.
struct PoolItem {
  static constexpr int kNameChars = 20;  // at most 19 characters are used

  Vlt_List subItems;  // of PoolItem, owned by the manager
  Vlt_List channels;  // of Vlt_Channel, not owned: the members in the order they joined
  char name[kNameChars] = {};
  PoolItem* parent = nullptr;  // none at the top level
  int32_t id = -1;             // -1 until registered
};

// One member a pool user draws: the pool's id and the member's index in that pool.
struct ChannelPoolItemInfo {
  int32_t itemId = -1;
  int32_t channelIndex = -1;
};

class VEXILON_API ChannelPoolManagement {
 public:
  ChannelPoolManagement();
  ChannelPoolManagement(const ChannelPoolManagement&) = delete;
  ChannelPoolManagement& operator=(const ChannelPoolManagement&) = delete;
  virtual ~ChannelPoolManagement();

  // Makes the channel a member of the pool named by path, creating missing pools on the way.
  PoolItem* CreatePoolItem(const char* path, Vlt_Channel* channel);
  // The pool named by path, or none when any component is missing.
  PoolItem* GetPoolItem(const char* path);
  // The pool called name under parent (the top level when parent is none), made if missing.
  PoolItem* CreateSubPoolItem(const char* name, PoolItem* parent);
  PoolItem* GetSubPoolItem(const char* name, PoolItem* parent);
  // Takes the channel out of the pool; pools left empty disappear.
  void ReleasePoolItem(const char* path, Vlt_Channel* channel);
  // Removes the pool if it has neither members nor sub-pools, then its ancestors likewise.
  void CleanUpItem(PoolItem* item);
  Vlt_Channel* GetChannelFromPoolItemInfo(ChannelPoolItemInfo* info);
  int GetMainGroupPoolItemCount();
  PoolItem* GetMainGroupPoolItem(int index);
  PoolItem* GetPoolItemFromID(int id);
  uint32_t GetTimeStamp();
  void SetTimeStamp();
  void SetEngineInterface(EngineInterface* engine);

  // Takes a channel that is going away out of every pool that still holds it, without the
  // group check: a pool must never keep a pointer to a destroyed channel.
  void ForgetChannel(Vlt_Channel* channel);

 private:
  // True when the channel may join or leave pools; reports the refusal otherwise.
  bool CheckPoolChannel(Vlt_Channel* channel);
  // Walks the path, making missing pools when create is set.
  PoolItem* FindPath(const char* path, bool create);
  void RemoveFromPool(PoolItem* item, Vlt_Channel* channel);
  PoolItem* FindMembership(Vlt_Channel* channel);

  EngineInterface* engine_;
  Vlt_List mainItems_;  // of PoolItem, the top-level pools
  uint32_t timeStamp_;
  Vlt_List allItems_;  // of PoolItem, every pool; ids are indices here
};
