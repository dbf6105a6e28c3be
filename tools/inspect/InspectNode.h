#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vinspect {

// One decoded value of a block or record.
struct InspectField {
  enum class Kind { Int, Text, Guid, Hex, IntList };

  std::string name;
  Kind kind = Kind::Int;
  int64_t number = 0;
  std::string text;  // Text: raw bytes of the stored text; Guid: text form; Hex: hex digits
  std::vector<int64_t> list;
};

// A node of the decoded tree: a file, a block, a marker, a record or a grouping of blocks
// (a channel slot, a link record). Offsets count from the start of the data being decoded,
// which for the content of a container is its translated data.
class InspectNode {
 public:
  static constexpr int64_t kNoSize = -1;

  InspectNode() = default;
  InspectNode(std::string kind, uint64_t offset, std::string tag = std::string(),
              int64_t size = kNoSize);

  InspectNode& AddChild(InspectNode child);
  void AddInt(const std::string& name, int64_t value);
  void AddText(const std::string& name, std::string value);
  void AddGuid(const std::string& name, const uint8_t* bytes);
  void AddHex(const std::string& name, const uint8_t* bytes, size_t count);
  void AddIntList(const std::string& name, std::vector<int64_t> values);
  void AddNote(std::string note);

  // The first field of that name, or null.
  const InspectField* FindField(const std::string& name) const;

  std::string kind_;   // "file", "block", "marker", "record", "slot", "link", "container", ...
  std::string label_;  // what the node is, in words ("channel slot 2")
  uint64_t offset_ = 0;
  std::string tag_;         // empty for nodes without a tag
  int64_t size_ = kNoSize;  // data size of a sized block
  std::vector<InspectField> fields_;
  std::vector<InspectNode> children_;
  std::vector<std::string> notes_;
};

}  // namespace vinspect
