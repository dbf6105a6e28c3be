#pragma once

#include "BlockReader.h"
#include "InspectNode.h"

namespace vinspect {

class Inspector;

// "VLTF" containers: the header with the translator GUID and, for the compression translator,
// its "ZIOS"/"ZINS"/"ZICB" body, inflated and decoded in turn.
class ContainerDecoder {
 public:
  // Text form of the compression translator's type GUID.
  static const char* const kCompressionTranslator;

  static void Decode(BlockReader& reader, InspectNode& parent, Inspector& inspector, int depth);
};

}  // namespace vinspect
