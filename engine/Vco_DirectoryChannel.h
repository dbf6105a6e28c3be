// The directory lister channel: the files of a folder with one extension, for the plug-in
// registry's folder scan. The implementation lives in a plug-in that derives from this class;
// the base versions list nothing. The order of the virtual operations continues Vlt_Channel's
// and is part of the binary interface.
#pragma once

#include "Vlt_Channel.h"

class VEXILON_API Vco_DirectoryChannel : public Vlt_Channel {
 public:
  Vco_DirectoryChannel();
  ~Vco_DirectoryChannel() override;

  // The extension without the dot, compared ignoring case. "DLL" stands for the platform's
  // module extension.
  virtual void SetAcceptedExtention(const char* extension);  // 15
  // Lists the folder of a pattern such as folder + separator + "*.*"; false when the folder
  // cannot be read.
  virtual bool ReadDir(const char* pattern);  // 16
  virtual int GetTotalFiles();                // 17
  // The file name (no folder) of entry index, or null when out of range.
  virtual const char* GetFileName(int index);  // 18
};
