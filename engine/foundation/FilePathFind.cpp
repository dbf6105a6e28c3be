#include "FilePathFind.h"

#include "EngineInterface.h"
#include "FilePathSteps.h"
#include "Vlt_ChannelGroup.h"

using namespace vlt::path;

FilePathFind::FilePathFind() {
  sourcePath_[0] = 0;
  result_[0] = 0;
}

FilePathFind::FilePathFind(const FilePathFind& other) : DllInterface(other) {
  Copy(sourcePath_, sizeof sourcePath_, other.sourcePath_);
  Copy(result_, sizeof result_, other.result_);
}

FilePathFind& FilePathFind::operator=(const FilePathFind& other) {
  if (this == &other) return *this;
  DllInterface::operator=(other);
  Copy(sourcePath_, sizeof sourcePath_, other.sourcePath_);
  Copy(result_, sizeof result_, other.result_);
  return *this;
}

FilePathFind::~FilePathFind() = default;

void FilePathFind::SetSourcePath(const char* path) { SetSource(*this, sourcePath_, path); }

const char* FilePathFind::GetValidRelativeDir(const char* path) {
  if (path == nullptr) return nullptr;
  char normalised[kMax];
  if (RelativePath(*this, sourcePath_, result_, path, normalised) != nullptr) return result_;
  if (engine != nullptr) {
    engine->showErrorMessage_("orgFile : ", normalised);
    engine->showErrorMessage_("sourcePath_ : ", sourcePath_);
    engine->showErrorMessage_("Autoload group is on different drive");
  }
  return path;
}

const char* FilePathFind::GetCompleteFilePath(const char* path) {
  return CompletePath(*this, sourcePath_, result_, path);
}

void FilePathFind::CreateValidFilePath(char* path, const char* base) { CreateValid(path, base); }

bool FilePathFind::CheckValidDrive(const char* a, const char* b) { return ValidDrive(a, b); }

int FilePathFind::GetDirShareCount(const char* a, const char* b) { return ShareCount(*this, a, b); }

int FilePathFind::GetRelativeDirCount(const char* a, const char* b) {
  return RelativeCount(*this, a, b);
}

char* FilePathFind::GetDirName(char* out, const char* path, int index) {
  return DirName(out, path, index);
}

int FilePathFind::GetDirCount(const char* path) { return DirCount(path); }

char* FilePathFind::GetFileName(char* path) { return FileNameOf(path); }

char* FilePathFind::GetFilePath(char* path) { return FilePathOf(path); }

int FilePathFind::GetBackDirCount(const char* path) { return BackDirCount(path); }

int FilePathFind::GetDirCountFromBackDir(const char* path) {
  return DirCountFromBackDir(*this, path);
}

char* FilePathFind::GetDirNameFromBackDir(char* out, const char* path, int index) {
  return DirNameFromBackDir(out, path, index);
}

const char* FilePathFind::GetCorrectFilePath(const char* path) { return CorrectPath(*this, path); }

// The text is joined and canonicalised without touching the process's current folder, so the
// result cannot depend on it and other threads are not disturbed.
void FilePathFind::GetGroupRelativePath(char* path, Vlt_ChannelGroup* group) {
  if (path == nullptr || group == nullptr) return;
  GroupRelative(path, group->GetChannelGroupFileName());
}
