// Stores paths relative to the file that refers to them and resolves them again, so that a
// project keeps working when its folder moves. Paths in files use "\"; "/" is read as well.
// A root is "C:\" (any drive letter), "\\server\" or "/"; absolute results take the separator
// of their root ("/" for POSIX paths, "\" otherwise), relative results always "\".
// The order of the virtual operations is part of the binary interface.
#pragma once

#include "DllInterface.h"

class Vlt_ChannelGroup;

class VEXILON_API FilePathFind : public DllInterface {
 public:
  // Every path handed in or out is limited to this many characters, terminator included:
  // buffers passed to the in-place operations must hold at least this many.
  static constexpr int kMaxPath = 259;

  FilePathFind();
  FilePathFind(const FilePathFind& other);
  FilePathFind& operator=(const FilePathFind& other);

  ~FilePathFind() override;                                                     // 0
  virtual void SetSourcePath(const char* path);                                 // 1
  virtual const char* GetValidRelativeDir(const char* path);                    // 2
  virtual const char* GetCompleteFilePath(const char* path);                    // 3
  virtual void CreateValidFilePath(char* path, const char* base);               // 4
  virtual bool CheckValidDrive(const char* a, const char* b);                   // 5
  virtual int GetDirShareCount(const char* a, const char* b);                   // 6
  virtual int GetRelativeDirCount(const char* a, const char* b);                // 7
  virtual char* GetDirName(char* out, const char* path, int index);             // 8
  virtual int GetDirCount(const char* path);                                    // 9
  virtual char* GetFileName(char* path);                                        // 10
  virtual char* GetFilePath(char* path);                                        // 11
  virtual int GetBackDirCount(const char* path);                                // 12
  virtual int GetDirCountFromBackDir(const char* path);                         // 13
  virtual char* GetDirNameFromBackDir(char* out, const char* path, int index);  // 14
  virtual const char* GetCorrectFilePath(const char* path);                     // 15
  virtual void GetGroupRelativePath(char* path, Vlt_ChannelGroup* group);       // 16

  const char* GetSourcePath() const { return sourcePath_; }

 private:
  char sourcePath_[399];
  char result_[299];
};
