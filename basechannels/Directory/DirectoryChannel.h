// The directory lister plug-in's channel: the files of one folder whose extension is accepted
// and whose name matches the pattern's wildcards, ignoring case, in a stable (bytewise) order.
#pragma once

#include <string>
#include <vector>

#include "Vexilon.h"

class DirectoryChannel : public Vco_DirectoryChannel {
 public:
  DirectoryChannel();
  ~DirectoryChannel() override;

  void SetAcceptedExtention(const char* extension) override;
  bool ReadDir(const char* pattern) override;
  int GetTotalFiles() override;
  const char* GetFileName(int index) override;

 private:
  std::string extension_;  // without the dot; empty accepts every file
  std::vector<std::string> files_;
};
