#pragma once

#include "BlockReader.h"
#include "InspectNode.h"

namespace vinspect {

// Project files (.lmr) after their containers are undone: the start group, the engine version
// needed, the channel dependencies and the support libraries, with any attached copies.
class ProjectFileDecoder {
 public:
  static void Decode(BlockReader& reader, InspectNode& parent);

 private:
  static void DecodeDependency(BlockReader& r, InspectNode& entry);
  static void DecodeSupportLibrary(BlockReader& r, InspectNode& entry);
  // "name", "size", "bytes" blocks of an attached copy.
  static void DecodeAttachedCopy(BlockReader& r, InspectNode& entry, const char* nameTag,
                                 const char* sizeTag, const char* bytesTag);
};

}  // namespace vinspect
