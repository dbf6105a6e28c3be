#include "FileSaverChannel.h"

#include <cstring>
#include <limits>

#include "platform/Platform.h"

FileSaverChannel::FileSaverChannel() : target_(Target::None), file_(nullptr), failed_(false) {}

FileSaverChannel::~FileSaverChannel() { AbandonFile(); }

void FileSaverChannel::AbandonFile() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  vplat::deleteFile(tempName_.c_str());
  if (target_ == Target::File) target_ = Target::None;
}

bool FileSaverChannel::OpenSaveFile(const char* fileName, bool) {
  AbandonFile();
  if (target_ == Target::File) target_ = Target::None;
  fileName_ = fileName != nullptr ? fileName : "";
  if (fileName_.empty()) return false;
  // A read-only file is not replaced, on Linux as on Windows.
  uint32_t attributes = 0;
  if (vplat::fileAttributes(fileName, attributes) &&
      (attributes & (vplat::kAttributeReadOnly | vplat::kAttributeDirectory)) != 0)
    return false;
  // The temporary file sits in the same folder, so that the final rename stays on one volume.
  unsigned char id[16];
  vplat::newGuid(id);
  char suffix[32];
  std::snprintf(suffix, sizeof(suffix), ".%02x%02x%02x%02x.tmp", id[0], id[1], id[2], id[3]);
  tempName_ = fileName_ + suffix;
  file_ = std::fopen(vplat::nativePath(tempName_.c_str()).c_str(), "wb");
  if (file_ == nullptr) return false;
  failed_ = false;
  target_ = Target::File;
  return true;
}

int FileSaverChannel::Write(const void* data, uint32_t count) {
  if (count == 0) return 0;
  if (data == nullptr) return 0;
  if (target_ == Target::File) {
    if (std::fwrite(data, 1, count, file_) != count) {
      failed_ = true;
      return 0;
    }
    return static_cast<int>(count);
  }
  if (target_ == Target::Memory) {
    if (count > std::numeric_limits<uint32_t>::max() - memory_.size()) return 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    memory_.insert(memory_.end(), bytes, bytes + count);
    return static_cast<int>(count);
  }
  return 0;
}

int FileSaverChannel::SaveTag(const char* tag) { return tag != nullptr ? Write(tag, 4) : 0; }

int FileSaverChannel::SaveBlockSize(uint32_t size) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                            static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
  return Write(bytes, 4);
}

int FileSaverChannel::SaveDataToFile(const void* data, uint32_t count) {
  return Write(data, count);
}

bool FileSaverChannel::CloseSaveFile() {
  if (file_ == nullptr) return false;
  const bool written = !failed_ && std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (target_ == Target::File) target_ = Target::None;
  if (!written || !closed || !vplat::replaceFile(tempName_.c_str(), fileName_.c_str())) {
    vplat::deleteFile(tempName_.c_str());
    return false;
  }
  return true;
}

const char* FileSaverChannel::GetSaveingFileName() {
  return fileName_.empty() ? nullptr : fileName_.c_str();
}

void FileSaverChannel::OpenMemory() {
  memory_.clear();
  target_ = Target::Memory;
}

void FileSaverChannel::CloseMemory() {
  if (target_ == Target::Memory) target_ = file_ != nullptr ? Target::File : Target::None;
}

uint8_t* FileSaverChannel::GetBuffer() { return memory_.empty() ? nullptr : memory_.data(); }

uint32_t FileSaverChannel::GetBufferSize() { return static_cast<uint32_t>(memory_.size()); }

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new FileSaverChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "File Saver", VLT_FILESAVER_GUID, VLT_FILESAVER_GUID, 0);
}
