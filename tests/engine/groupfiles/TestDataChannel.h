// A channel type with data of its own, stored after its engine block: one value, and on request
// a block of a newer writer that this type itself does not read back.
#pragma once

#include <cstdint>

#include "Vexilon.h"

namespace grouptest {

// A1B2C3D4-0001-4E00-8000-000000000031
constexpr GUID kDataType = {0xA1B2C3D4, 0x0001, 0x4E00, {0x80, 0, 0, 0, 0, 0, 0, 0x31}};
constexpr const char* kDataFile = "A1B2C3D4-0001-4E00-8000-000000000031.dll";

}  // namespace grouptest

// Positions: 0 single (any type), 1 variable (any type).
class TestDataChannel : public Vlt_Channel {
 public:
  TestDataChannel();
  bool SaveChannel(VltFileSaver* saver) override;
  bool LoadChannel(VltFileLoader* loader, Vlt_ChannelGroup* group) override;

  int32_t value = 0;
  bool writeExtra = false;
};
