#pragma once

#include "BlockReader.h"
#include "InspectNode.h"

namespace vinspect {

// The plug-in registry cache channels.lst: "CHEV", "C1CC", then per item "CHTY" (a ChannelType)
// and "C1FN" (a 260-byte file name field).
class ChannelListDecoder {
 public:
  static constexpr int32_t kEngineVersion = 57;
  static constexpr uint32_t kFileNameSize = 260;

  static void Decode(BlockReader& reader, InspectNode& parent);
};

}  // namespace vinspect
