#pragma once

#include <ostream>
#include <string>

#include "InspectNode.h"
#include "Inspector.h"

namespace vinspect {

// The decoded tree as indented lines: offset (hex), tag, [size], what the block is, and its
// values; records list their fields one a line.
class TextWriter {
 public:
  static void Write(std::ostream& out, const std::string& fileName, const InspectResult& result);
  static std::string FieldValue(const InspectField& field);

 private:
  static void WriteNode(std::ostream& out, const InspectNode& node, int depth);
};

}  // namespace vinspect
