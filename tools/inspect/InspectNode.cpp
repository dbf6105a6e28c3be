#include "InspectNode.h"

#include <utility>

#include "ByteText.h"

namespace vinspect {

InspectNode::InspectNode(std::string kind, uint64_t offset, std::string tag, int64_t size)
    : kind_(std::move(kind)), offset_(offset), tag_(std::move(tag)), size_(size) {}

InspectNode& InspectNode::AddChild(InspectNode child) {
  children_.push_back(std::move(child));
  return children_.back();
}

void InspectNode::AddInt(const std::string& name, int64_t value) {
  InspectField f;
  f.name = name;
  f.kind = InspectField::Kind::Int;
  f.number = value;
  fields_.push_back(std::move(f));
}

void InspectNode::AddText(const std::string& name, std::string value) {
  InspectField f;
  f.name = name;
  f.kind = InspectField::Kind::Text;
  f.text = std::move(value);
  fields_.push_back(std::move(f));
}

void InspectNode::AddGuid(const std::string& name, const uint8_t* bytes) {
  InspectField f;
  f.name = name;
  f.kind = InspectField::Kind::Guid;
  f.text = GuidText(bytes);
  fields_.push_back(std::move(f));
}

void InspectNode::AddHex(const std::string& name, const uint8_t* bytes, size_t count) {
  InspectField f;
  f.name = name;
  f.kind = InspectField::Kind::Hex;
  f.text = HexText(bytes, count);
  fields_.push_back(std::move(f));
}

void InspectNode::AddIntList(const std::string& name, std::vector<int64_t> values) {
  InspectField f;
  f.name = name;
  f.kind = InspectField::Kind::IntList;
  f.list = std::move(values);
  fields_.push_back(std::move(f));
}

void InspectNode::AddNote(std::string note) { notes_.push_back(std::move(note)); }

const InspectField* InspectNode::FindField(const std::string& name) const {
  for (const InspectField& f : fields_) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

}  // namespace vinspect
