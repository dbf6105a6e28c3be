#pragma once

#include <cstdint>
#include <string>

#include "BlockReader.h"
#include "InspectNode.h"

namespace vinspect {

// Readers of the common block shapes; each appends the block's node to `parent` and answers
// the decoded value. The Optional forms answer false and leave the position when the tag is
// not next.
class FieldBlocks {
 public:
  // A signed 32-bit integer block (size 4).
  static int32_t Int(BlockReader& r, InspectNode& parent, const char* tag, const char* label);
  static bool OptionalInt(BlockReader& r, InspectNode& parent, const char* tag, const char* label,
                          int32_t* value = nullptr);
  // A single byte flag (size 1).
  static bool OptionalByte(BlockReader& r, InspectNode& parent, const char* tag, const char* label);
  // A GUID (size 16).
  static bool OptionalGuid(BlockReader& r, InspectNode& parent, const char* tag, const char* label);
  // A zero-terminated text of any size.
  static std::string Text(BlockReader& r, InspectNode& parent, const char* tag, const char* label);
  static bool OptionalText(BlockReader& r, InspectNode& parent, const char* tag, const char* label);
  static bool OptionalMarker(BlockReader& r, InspectNode& parent, const char* tag,
                             const char* label);

  // Adds the text of a block's data (up to its first zero) to the node.
  static std::string AddBlockText(const BlockView& block, InspectNode& node);
  // Whatever follows the last block the engine reads: complete blocks are shown, anything
  // else (a block cut short, stray bytes) is an error, since the engine never writes it.
  static void TrailingBlocks(BlockReader& r, InspectNode& parent, const char* label);
  // Whether a complete sized block with a printable tag starts at the position.
  static bool AtWholeBlock(const BlockReader& r);
  // A block nothing here knows: its value guessed from its shape.
  static void AddGuessedValue(const BlockView& block, InspectNode& node);
};

}  // namespace vinspect
