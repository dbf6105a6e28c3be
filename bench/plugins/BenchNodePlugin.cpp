// The group file benchmark's channel type: a channel with one variable link position and no data
// of its own, so that a save or load measures the engine's part alone.
#include <cstdio>

#include "Vexilon.h"

namespace {

// C1A5B2E4-7F10-4C3A-9D2B-5E6F7A8B9C01
constexpr GUID kBenchNodeType = {
    0xC1A5B2E4, 0x7F10, 0x4C3A, {0x9D, 0x2B, 0x5E, 0x6F, 0x7A, 0x8B, 0x9C, 0x01}};

class BenchNode : public Vlt_Channel {
 public:
  BenchNode() {
    SetChildCreationCount(1);
    ChildCreation any;
    SetChildCreateType(any, 0);
  }
};

}  // namespace

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new BenchNode(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;
  std::snprintf(type.name, sizeof(type.name), "%s", "Bench Node");
  type.typeGuid = kBenchNodeType;
  type.baseGuid = kBenchNodeType;
  return &type;
}
