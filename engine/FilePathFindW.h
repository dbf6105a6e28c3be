// The 16-bit character twin of FilePathFind: the same operations in the same slots.
// The order of the virtual operations is part of the binary interface.
#pragma once

#include "DllInterface.h"

class Vlt_ChannelGroup;

class VEXILON_API FilePathFindW : public DllInterface {
 public:
  // Every path handed in or out is limited to this many characters, terminator included:
  // buffers passed to the in-place operations must hold at least this many.
  static constexpr int kMaxPath = 259;

  FilePathFindW();
  FilePathFindW(const FilePathFindW& other);
  FilePathFindW& operator=(const FilePathFindW& other);

  ~FilePathFindW() override;                                                                // 0
  virtual void SetSourcePath(const char16_t* path);                                         // 1
  virtual const char16_t* GetValidRelativeDir(const char16_t* path);                        // 2
  virtual const char16_t* GetCompleteFilePath(const char16_t* path);                        // 3
  virtual void CreateValidFilePath(char16_t* path, const char16_t* base);                   // 4
  virtual bool CheckValidDrive(const char16_t* a, const char16_t* b);                       // 5
  virtual int GetDirShareCount(const char16_t* a, const char16_t* b);                       // 6
  virtual int GetRelativeDirCount(const char16_t* a, const char16_t* b);                    // 7
  virtual char16_t* GetDirName(char16_t* out, const char16_t* path, int index);             // 8
  virtual int GetDirCount(const char16_t* path);                                            // 9
  virtual char16_t* GetFileName(char16_t* path);                                            // 10
  virtual char16_t* GetFilePath(char16_t* path);                                            // 11
  virtual int GetBackDirCount(const char16_t* path);                                        // 12
  virtual int GetDirCountFromBackDir(const char16_t* path);                                 // 13
  virtual char16_t* GetDirNameFromBackDir(char16_t* out, const char16_t* path, int index);  // 14
  virtual const char16_t* GetCorrectFilePath(const char16_t* path);                         // 15
  virtual void GetGroupRelativePath(char16_t* path, Vlt_ChannelGroup* group);               // 16

  const char16_t* GetSourcePath() const { return sourcePath_; }

 private:
  char16_t sourcePath_[399];
  char16_t result_[299];
};
