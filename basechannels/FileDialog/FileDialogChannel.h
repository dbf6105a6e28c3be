// The file dialog plug-in's channel: asks the user for a file to open. Hosts create it by type
// and call its one operation; the operations before it only keep its place in the table.
#pragma once

#include "Vexilon.h"

class FileDialogChannel : public Vlt_Channel {
 public:
  FileDialogChannel();
  ~FileDialogChannel() override;

  virtual void Reserved15();
  virtual void Reserved16();
  virtual void Reserved17();
  virtual void Reserved18();
  virtual void Reserved19();
  virtual void Reserved20();
  virtual void Reserved21();
  virtual void Reserved22();
  virtual void Reserved23();
  virtual void Reserved24();
  virtual void Reserved25();
  virtual void Reserved26();
  virtual void Reserved27();
  virtual void Reserved28();
  virtual void Reserved29();
  virtual void Reserved30();
  virtual void Reserved31();
  // Fills path (260 characters with the terminator) with the chosen file, or leaves it empty
  // when nothing is chosen. filter describes the files ("Lumenar file (*.lmr)"), extension is
  // theirs without the dot.
  virtual void ChooseFile(const char* filter, const char* extension, char* path);  // 32
};
