// Link positions and the entries of a channel's flat child list.
#pragma once

#include <cstddef>

#include "ChannelType.h"

class Vlt_Channel;

// One entry of the flat child list.
struct VEXILON_API ChildInfo {
  ChildInfo();
  // From the engine's packed pool (a pass reads one entry for every child it fetches): made and
  // deleted with new and delete, on either side of the module boundary.
  static void* operator new(size_t size);
  static void operator delete(void* record, size_t size);
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}

  Vlt_Channel* channel;  // not owned
  int32_t linkPosition;  // the position this entry belongs to
  uint8_t isHead;        // made by SetChildCreateType; never deleted by child removal
  uint8_t isVariable;    // head of a variable position
  int32_t count;         // variable head: entries before it; other entries: their rank
  int32_t index;         // own index in the flat list
  int32_t reserved;
  int32_t poolSnapshot;
  int32_t poolIndex;
};

// Declares one link position (264 bytes when stored).
struct VEXILON_API ChildCreation {
  // Wildcard accepted type, requestLink -1 (variable), positionIndex 1, everything else zero.
  ChildCreation();
  // From the engine's packed pool, like ChildInfo, so that a channel's link positions do not
  // stand between the data a pass reads.
  static void* operator new(size_t size);
  static void operator delete(void* record, size_t size);
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}

  ChannelType acceptedType;
  int32_t requestLink;
  uint8_t flag;
  uint8_t createDefaultChild;
  char linkName[99];
  GUID defaultChildType;
  ChildInfo* head;
  int32_t positionIndex;
};
