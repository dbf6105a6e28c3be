// The example clock: writes the time since its first pass to debug line 0, then calls the
// channels linked below it. A new clock gets a pass rate channel linked at its first position.
#pragma once

#include <cstdint>

#include "Vexilon.h"

class ClockChannel : public Vlt_Channel {
 public:
  ClockChannel();
  ~ClockChannel() override;

  void CallChannel() override;

 private:
  bool started_;
  uint32_t startTick_;
};
