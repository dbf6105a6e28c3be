// The example pass rate: counts its passes and writes the passes of the last whole second to
// debug line 1.
#pragma once

#include <cstdint>

#include "Vexilon.h"

class PassRateChannel : public Vlt_Channel {
 public:
  PassRateChannel();
  ~PassRateChannel() override;

  void CallChannel() override;

 private:
  bool started_;
  uint32_t windowStart_;
  uint32_t passes_;
};
