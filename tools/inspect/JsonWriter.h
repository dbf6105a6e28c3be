#pragma once

#include <ostream>
#include <string>

#include "InspectNode.h"
#include "Inspector.h"

namespace vinspect {

// The decoded tree as one JSON document:
//   {"file", "kind", "size", "ok", "incomplete", "error": null or {"offset", "context",
//    "message"}, "blocks": [node...]}
// with each node {"kind", "label", "offset", "tag"?, "size"?, "fields": {name: value},
// "notes"?, "children"?}. Integers are numbers; texts, GUIDs and hex bytes are strings (text
// bytes above 0x7F are written as \u00XX, so the document is plain ASCII).
class JsonWriter {
 public:
  static void Write(std::ostream& out, const std::string& fileName, const InspectResult& result);
  static std::string Quote(const std::string& text);

 private:
  static void WriteNode(std::ostream& out, const InspectNode& node, int depth);
  static void WriteField(std::ostream& out, const InspectField& field);
};

}  // namespace vinspect
