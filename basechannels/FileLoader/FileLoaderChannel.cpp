#include "FileLoaderChannel.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/Platform.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != *prefix) return false;
  }
  return true;
}

}  // namespace

FileLoaderChannel::FileLoaderChannel()
    : data_(nullptr), size_(0), position_(0), attributes_(0), blockSize_(0) {}

FileLoaderChannel::~FileLoaderChannel() = default;

void FileLoaderChannel::Clear() {
  std::vector<uint8_t>().swap(own_);
  data_ = nullptr;
  size_ = 0;
  position_ = 0;
  attributes_ = 0;
}

bool FileLoaderChannel::LoadFile(const char* fileName) {
  Clear();
  // Web addresses are not read by this loader.
  if (fileName == nullptr || *fileName == '\0' || StartsWithNoCase(fileName, "http")) return false;
  std::vector<uint8_t> bytes;
  if (!vplat::readFile(fileName, bytes)) return false;
  // Sizes and positions are 32-bit, and GetBufferSize answers an int.
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
  own_.swap(bytes);
  data_ = own_.data();
  size_ = static_cast<uint32_t>(own_.size());
  uint32_t attributes = 0;
  if (vplat::fileAttributes(fileName, attributes)) attributes_ = attributes;
  return true;
}

void FileLoaderChannel::SetBlockSize(uint32_t size) { blockSize_ = size; }

void FileLoaderChannel::SetBuffer(const void* buffer, uint32_t size, bool copy) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (bytes == nullptr) size = 0;
  // Bytes inside our own copy must be copied before that copy is released.
  const bool insideOwn = bytes != nullptr && !own_.empty() && bytes >= own_.data() &&
                         bytes < own_.data() + own_.size();
  if (copy || insideOwn) {
    std::vector<uint8_t> kept(bytes, bytes + size);
    own_.swap(kept);
    data_ = own_.data();
  } else {
    std::vector<uint8_t>().swap(own_);
    data_ = bytes;
  }
  size_ = size;
  position_ = 0;
  attributes_ = 0;
}

bool FileLoaderChannel::PeekSize(uint32_t& value) const {
  if (Remaining() < 4) return false;
  const uint8_t* p = data_ + position_;
  value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
          (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  return true;
}

void* FileLoaderChannel::GetTagData() {
  uint32_t size = 0;
  if (!PeekSize(size) || size > Remaining() - 4) return nullptr;
  return const_cast<uint8_t*>(data_ + position_ + 4);
}

bool FileLoaderChannel::CopyTagDataToPointer(void* destination) {
  uint32_t size = 0;
  if (!PeekSize(size) || size > Remaining() - 4) return false;
  if (size > 0) {
    if (destination == nullptr) return false;
    std::memcpy(destination, data_ + position_ + 4, size);
  }
  position_ += 4 + size;
  return true;
}

bool FileLoaderChannel::CheckHeader(const char* tag, bool consume) {
  if (tag == nullptr || Remaining() < 4 || std::memcmp(data_ + position_, tag, 4) != 0)
    return false;
  if (consume) position_ += 4;
  return true;
}

bool FileLoaderChannel::GotoTag(const char* tag, int) {
  if (tag == nullptr || Remaining() < 4) return false;
  // A byte scan: markers carry no size, so the blocks in between cannot be walked.
  const uint32_t last = size_ - 4;
  for (uint32_t at = position_; at <= last; ++at) {
    const void* hit = std::memchr(data_ + at, tag[0], last - at + 1);
    if (hit == nullptr) return false;
    at = static_cast<uint32_t>(static_cast<const uint8_t*>(hit) - data_);
    if (std::memcmp(data_ + at, tag, 4) == 0) {
      position_ = at + 4;
      return true;
    }
  }
  return false;
}

bool FileLoaderChannel::GetInfoIfTag(const char* tag) { return CheckHeader(tag, true); }

uint32_t FileLoaderChannel::GetSizeDataBlock(bool advance) {
  uint32_t size = 0;
  // A size that points past the end is answered as 0, so no caller allocates or reads for it.
  if (!PeekSize(size) || size > Remaining() - 4) return 0;
  if (advance) position_ += 4;
  return size;
}

void FileLoaderChannel::ResetPosition() { position_ = 0; }

uint8_t* FileLoaderChannel::GetBuffer() {
  return data_ != nullptr ? const_cast<uint8_t*>(data_ + position_) : nullptr;
}

int FileLoaderChannel::GetBufferSize() { return static_cast<int>(size_); }

void FileLoaderChannel::AddBufferPos(uint32_t count) {
  position_ = count > Remaining() ? size_ : position_ + count;
}

bool FileLoaderChannel::GetIfEndOfFile() { return position_ >= size_; }

bool FileLoaderChannel::SkipCurrentTag() {
  // Skips a whole sized block (tag, size, data) at the position.
  if (Remaining() < 8) return false;
  position_ += 4;
  uint32_t size = 0;
  if (!PeekSize(size) || size > Remaining() - 4) {
    position_ -= 4;
    return false;
  }
  position_ += 4 + size;
  return true;
}

void FileLoaderChannel::SetBufferChar(uint32_t index, uint8_t value) {
  if (index >= size_) return;
  // The caller's bytes are never written: the first change makes our own copy.
  if (own_.empty() || data_ != own_.data()) {
    std::vector<uint8_t> kept(data_, data_ + size_);
    own_.swap(kept);
    data_ = own_.data();
  }
  own_[index] = value;
}

int FileLoaderChannel::GetCRC() {
  const uLong crc = crc32(0L, Z_NULL, 0);
  if (size_ == 0) return static_cast<int>(crc);
  return static_cast<int>(static_cast<uint32_t>(crc32(crc, data_, size_)));
}

uint32_t FileLoaderChannel::GetAttributes() { return attributes_; }

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new FileLoaderChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "File Loader", VLT_FILELOADER_GUID, VLT_FILELOADER_GUID, 0);
}
