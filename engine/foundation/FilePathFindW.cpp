#include "FilePathFindW.h"

#include "FilePathSteps.h"
#include "Vlt_ChannelGroup.h"

using namespace vlt::path;

FilePathFindW::FilePathFindW() {
  sourcePath_[0] = 0;
  result_[0] = 0;
}

FilePathFindW::FilePathFindW(const FilePathFindW& other) : DllInterface(other) {
  Copy(sourcePath_, sizeof sourcePath_ / sizeof sourcePath_[0], other.sourcePath_);
  Copy(result_, sizeof result_ / sizeof result_[0], other.result_);
}

FilePathFindW& FilePathFindW::operator=(const FilePathFindW& other) {
  if (this == &other) return *this;
  DllInterface::operator=(other);
  Copy(sourcePath_, sizeof sourcePath_ / sizeof sourcePath_[0], other.sourcePath_);
  Copy(result_, sizeof result_ / sizeof result_[0], other.result_);
  return *this;
}

FilePathFindW::~FilePathFindW() = default;

void FilePathFindW::SetSourcePath(const char16_t* path) { SetSource(*this, sourcePath_, path); }

// Unlike the narrow finder, a path on another drive is answered without a report.
const char16_t* FilePathFindW::GetValidRelativeDir(const char16_t* path) {
  if (path == nullptr) return nullptr;
  char16_t normalised[kMax];
  if (RelativePath(*this, sourcePath_, result_, path, normalised) != nullptr) return result_;
  return path;
}

const char16_t* FilePathFindW::GetCompleteFilePath(const char16_t* path) {
  return CompletePath(*this, sourcePath_, result_, path);
}

void FilePathFindW::CreateValidFilePath(char16_t* path, const char16_t* base) {
  CreateValid(path, base);
}

bool FilePathFindW::CheckValidDrive(const char16_t* a, const char16_t* b) {
  return ValidDrive(a, b);
}

int FilePathFindW::GetDirShareCount(const char16_t* a, const char16_t* b) {
  return ShareCount(*this, a, b);
}

int FilePathFindW::GetRelativeDirCount(const char16_t* a, const char16_t* b) {
  return RelativeCount(*this, a, b);
}

char16_t* FilePathFindW::GetDirName(char16_t* out, const char16_t* path, int index) {
  return DirName(out, path, index);
}

int FilePathFindW::GetDirCount(const char16_t* path) { return DirCount(path); }

char16_t* FilePathFindW::GetFileName(char16_t* path) { return FileNameOf(path); }

char16_t* FilePathFindW::GetFilePath(char16_t* path) { return FilePathOf(path); }

int FilePathFindW::GetBackDirCount(const char16_t* path) { return BackDirCount(path); }

int FilePathFindW::GetDirCountFromBackDir(const char16_t* path) {
  return DirCountFromBackDir(*this, path);
}

char16_t* FilePathFindW::GetDirNameFromBackDir(char16_t* out, const char16_t* path, int index) {
  return DirNameFromBackDir(out, path, index);
}

const char16_t* FilePathFindW::GetCorrectFilePath(const char16_t* path) {
  return CorrectPath(*this, path);
}

// The group's file name is 8-bit text; its bytes are widened one to one, so that the wide
// finder joins the group's folder just as the narrow one does.
void FilePathFindW::GetGroupRelativePath(char16_t* path, Vlt_ChannelGroup* group) {
  if (path == nullptr || group == nullptr) return;
  const char* name = group->GetChannelGroupFileName();
  char16_t wide[kMax];
  wide[0] = 0;
  for (size_t i = 0; name != nullptr && name[i] != 0 && i + 1 < kMax; ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(name[i]));
    wide[i + 1] = 0;
  }
  GroupRelative(path, wide);
}
