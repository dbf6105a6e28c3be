// Packed storage for the small records that every channel carries by the handful (its child list
// entries and link positions). The main loop reads a child list entry for every child it fetches;
// records allocated one by one lie between each channel's larger allocations, so each costs a
// cache line (and soon a page) of its own. Records from a pool lie side by side in the order they
// were made, which is the order a group file or a host builds a tree in, and so the order a pass
// walks it in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

class RecordPool {
 public:
  RecordPool(size_t recordSize, size_t alignment);
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;

  // A slot for a record of size bytes; a size other than the pool's gets its own allocation.
  void* Allocate(size_t size);
  // Gives back what Allocate returned for the same size. Slots are kept for the next records,
  // never returned to the system.
  void Free(void* record, size_t size);

 private:
  // A block of slots with one bit per slot (set: in use).
  struct Chunk {
    char* base;
    std::vector<uint64_t> used;
    size_t freeSlots;
    size_t firstFreeWord;  // no free slot in the words before it
  };

  static constexpr size_t kChunkBytes = 64 * 1024;

  void* TakeSlot(Chunk& chunk);

  vplat::Lock lock_;
  size_t recordSize_;
  size_t slotSize_;
  size_t slotsPerChunk_;
  // Sorted by address. The lowest free slot is always taken first, so that records made after
  // a group was released lie in the order they are made again, not in the order of release.
  std::vector<Chunk> chunks_;
  size_t firstFreeChunk_;  // no free slot in the chunks before it
};
