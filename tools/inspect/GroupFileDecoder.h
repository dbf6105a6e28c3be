#pragma once

#include "BlockReader.h"
#include "InspectNode.h"

namespace vinspect {

class Inspector;

// Group files (.cgr): the group's blocks, every channel slot with its engine block, link
// records and pool names, and the blocks a channel type writes after its engine block.
class GroupFileDecoder {
 public:
  static constexpr int32_t kEngineVersion = 57;

  static void Decode(BlockReader& reader, InspectNode& parent, Inspector& inspector, int depth);

  // The engine's scrambling of protected group bodies; its own inverse.
  static void Unscramble(uint8_t* bytes, size_t size);

 private:
  static void DecodeProtected(BlockReader& r, InspectNode& parent, Inspector& inspector, int depth);
  static void DecodeSlot(BlockReader& r, InspectNode& group, int32_t slot, bool last);
  static void DecodeEngineBlock(BlockReader& r, InspectNode& channel);
  static void DecodePoolNames(BlockReader& r, InspectNode& channel, const char* countTag,
                              const char* nameTag, const char* emptyTag, const char* what);
  // The blocks after a channel's engine block, up to the next "CHIX" (or, after the last
  // channel, up to the group's closing blocks).
  static void DecodeOwnBlocks(BlockReader& r, InspectNode& channel, bool last);
  static bool AtClosingBlock(const BlockReader& r);
};

}  // namespace vinspect
