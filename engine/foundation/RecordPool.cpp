#include "foundation/RecordPool.h"

#include <algorithm>
#include <new>

#include "ChildCreation.h"

namespace {

// Under the address sanitizer every record keeps an allocation of its own, so that an overrun or
// a use after delete is still caught at the record.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

// Index of the lowest clear bit of a word that has one.
int LowestClearBit(uint64_t word) {
  int bit = 0;
  while ((word & 1u) != 0) {
    word >>= 1;
    ++bit;
  }
  return bit;
}

// Made on first use and never destroyed: records may be deleted while the process shuts down.
RecordPool& ChildInfoPool() {
  static auto* pool = new RecordPool(sizeof(ChildInfo), alignof(ChildInfo));
  return *pool;
}

RecordPool& ChildCreationPool() {
  static auto* pool = new RecordPool(sizeof(ChildCreation), alignof(ChildCreation));
  return *pool;
}

}  // namespace

RecordPool::RecordPool(size_t recordSize, size_t alignment)
    : recordSize_(recordSize), slotSize_(0), slotsPerChunk_(0), firstFreeChunk_(0) {
  if (alignment == 0) alignment = 1;
  slotSize_ = (recordSize + alignment - 1) / alignment * alignment;
  if (slotSize_ == 0) slotSize_ = alignment;
  slotsPerChunk_ = kChunkBytes / slotSize_;
}

void* RecordPool::TakeSlot(Chunk& chunk) {
  size_t word = chunk.firstFreeWord;
  while (chunk.used[word] == ~uint64_t{0}) ++word;
  chunk.firstFreeWord = word;
  const size_t slot = word * 64 + static_cast<size_t>(LowestClearBit(chunk.used[word]));
  chunk.used[word] |= uint64_t{1} << (slot % 64);
  --chunk.freeSlots;
  return chunk.base + slot * slotSize_;
}

void* RecordPool::Allocate(size_t size) {
  if (!kPooled || size != recordSize_ || slotsPerChunk_ == 0) return ::operator new(size);
  vplat::LockGuard guard(lock_);
  while (firstFreeChunk_ < chunks_.size() && chunks_[firstFreeChunk_].freeSlots == 0)
    ++firstFreeChunk_;
  if (firstFreeChunk_ < chunks_.size()) return TakeSlot(chunks_[firstFreeChunk_]);

  Chunk fresh;
  fresh.base = static_cast<char*>(::operator new(slotsPerChunk_* slotSize_));
  // The bits past the last slot count as used, so that a full chunk has every bit set.
  fresh.used.assign((slotsPerChunk_ + 63) / 64, 0);
  if (slotsPerChunk_ % 64 != 0) fresh.used.back() = ~uint64_t{0} << (slotsPerChunk_ % 64);
  fresh.freeSlots = slotsPerChunk_;
  fresh.firstFreeWord = 0;
  auto at = std::upper_bound(chunks_.begin(), chunks_.end(), fresh.base,
                             [](const char* base, const Chunk& c) { return base < c.base; });
  const size_t index = static_cast<size_t>(at - chunks_.begin());
  chunks_.insert(at, std::move(fresh));
  // Every other chunk is full.
  firstFreeChunk_ = index;
  return TakeSlot(chunks_[index]);
}

void RecordPool::Free(void* record, size_t size) {
  if (record == nullptr) return;
  if (!kPooled || size != recordSize_ || slotsPerChunk_ == 0) {
    ::operator delete(record);
    return;
  }
  vplat::LockGuard guard(lock_);
  char* at = static_cast<char*>(record);
  auto it = std::upper_bound(chunks_.begin(), chunks_.end(), at,
                             [](const char* p, const Chunk& c) { return p < c.base; });
  // A record of the right size that no chunk holds was made with the global new (by a module
  // built before records had their own): it goes back the same way.
  if (it == chunks_.begin() || at >= (it - 1)->base + slotsPerChunk_ * slotSize_) {
    ::operator delete(record);
    return;
  }
  Chunk& chunk = *(it - 1);
  const size_t slot = static_cast<size_t>(at - chunk.base) / slotSize_;
  chunk.used[slot / 64] &= ~(uint64_t{1} << (slot % 64));
  ++chunk.freeSlots;
  chunk.firstFreeWord = std::min(chunk.firstFreeWord, slot / 64);
  firstFreeChunk_ = std::min(firstFreeChunk_, static_cast<size_t>(it - 1 - chunks_.begin()));
}

void* ChildInfo::operator new(size_t size) { return ChildInfoPool().Allocate(size); }

void ChildInfo::operator delete(void* record, size_t size) { ChildInfoPool().Free(record, size); }

void* ChildCreation::operator new(size_t size) { return ChildCreationPool().Allocate(size); }

void ChildCreation::operator delete(void* record, size_t size) {
  ChildCreationPool().Free(record, size);
}
