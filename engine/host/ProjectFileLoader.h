// Reads a project file: the start group's name, the lowest engine version that may run it, and
// the channel types and support libraries it needs, each checked against this installation.
// Attached copies of missing libraries are put in place. Owned by the EngineInterfaceExt.
#pragma once

#include <cstdint>

class EngineInterface;

class ProjectFileLoader {
 public:
  explicit ProjectFileLoader(EngineInterface* engineInterface);
  ProjectFileLoader(const ProjectFileLoader&) = delete;
  ProjectFileLoader& operator=(const ProjectFileLoader&) = delete;

  virtual ~ProjectFileLoader();                 // 0
  virtual int Load(const char* fileName);       // 1
  virtual const char* GetStartGroupFileName();  // 2
  virtual int GetEditorVersion();               // 3

 private:
  EngineInterface* engineInterface_;
  char startGroupFileName_[400];
  int32_t editorVersion_;
};
