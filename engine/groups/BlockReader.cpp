// Bounded block reads over the file loader facade.
#include "groups/BlockReader.h"

#include <cstring>

#include "VltFileLoader.h"
#include "groups/StoredRecords.h"

namespace vgroups {

BlockReader::BlockReader(VltFileLoader* loader)
    : loader_(loader), dataSize_(0), failed_(false), scratch_(small_) {
  const int size = loader_ != nullptr ? loader_->GetBufferSize() : 0;
  dataSize_ = size > 0 ? static_cast<uint32_t>(size) : 0;
}

bool BlockReader::Has(const char* tag) { return loader_ != nullptr && loader_->GetInfoIfTag(tag); }

bool BlockReader::SkipTo(const char* tag) { return loader_ != nullptr && loader_->GotoTag(tag, 0); }

bool BlockReader::ReadScratch(uint32_t* size) {
  if (loader_ == nullptr) return Fail();
  const uint32_t n = loader_->GetSizeDataBlock(false);
  if (n > dataSize_) return Fail();
  // One byte more, so that a text can always be terminated.
  if (n < sizeof(small_)) {
    scratch_ = small_;
  } else {
    large_.resize(static_cast<size_t>(n) + 1);
    scratch_ = large_.data();
  }
  if (!loader_->CopyTagDataToPointer(scratch_)) return Fail();
  scratch_[n] = 0;
  *size = n;
  return true;
}

bool BlockReader::ReadSmall(uint8_t* out, size_t size) {
  if (loader_ == nullptr) return Fail();
  // The common case copies straight into place; the loader checks the size against the data.
  if (loader_->GetSizeDataBlock(false) == size) {
    if (!loader_->CopyTagDataToPointer(out)) return Fail();
    return true;
  }
  uint32_t n = 0;
  if (!ReadScratch(&n)) return false;
  std::memset(out, 0, size);
  std::memcpy(out, scratch_, n < size ? n : size);
  return true;
}

bool BlockReader::ReadInt(int32_t* value) {
  uint8_t bytes[4];
  if (!ReadSmall(bytes, sizeof(bytes))) return false;
  *value = static_cast<int32_t>(GetU32(bytes));
  return true;
}

bool BlockReader::ReadByte(uint8_t* value) { return ReadSmall(value, 1); }

bool BlockReader::ReadGuid(GUID* value) {
  uint8_t bytes[kGuidBytes];
  if (!ReadSmall(bytes, sizeof(bytes))) return false;
  *value = GetGuid(bytes);
  return true;
}

bool BlockReader::ReadRecord(uint8_t* record, size_t size) {
  if (loader_ == nullptr || loader_->GetSizeDataBlock(false) != size) return Fail();
  if (!loader_->CopyTagDataToPointer(record)) return Fail();
  return true;
}

bool BlockReader::ReadData(std::vector<uint8_t>* data) {
  uint32_t n = 0;
  if (!ReadScratch(&n)) return false;
  data->assign(scratch_, scratch_ + n);
  return true;
}

bool BlockReader::ReadText(const char** text, uint32_t* size) {
  uint32_t n = 0;
  if (!ReadScratch(&n)) return false;
  *text = reinterpret_cast<const char*>(scratch_);
  if (size != nullptr) *size = n;
  return true;
}

bool BlockReader::ReadText(std::string* text, uint32_t* size) {
  const char* stored = nullptr;
  if (!ReadText(&stored, size)) return false;
  text->assign(stored);
  return true;
}

}  // namespace vgroups
