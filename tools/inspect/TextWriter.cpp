#include "TextWriter.h"

#include <cstdio>

#include "ByteText.h"

namespace vinspect {

std::string TextWriter::FieldValue(const InspectField& field) {
  switch (field.kind) {
    case InspectField::Kind::Int:
      return std::to_string(field.number);
    case InspectField::Kind::Text:
      return "\"" + EscapeForTerminal(field.text) + "\"";
    case InspectField::Kind::Guid:
    case InspectField::Kind::Hex:
      return field.text;
    case InspectField::Kind::IntList: {
      std::string text = "[";
      for (size_t i = 0; i < field.list.size(); ++i) {
        if (i) text += ", ";
        text += std::to_string(field.list[i]);
      }
      return text + "]";
    }
  }
  return std::string();
}

void TextWriter::WriteNode(std::ostream& out, const InspectNode& node, int depth) {
  char head[64];
  std::snprintf(head, sizeof head, "%08llx  ", static_cast<unsigned long long>(node.offset_));
  std::string line = head;
  line.append(static_cast<size_t>(depth) * 2, ' ');
  if (!node.tag_.empty()) {
    line += node.tag_;
    line += node.size_ == InspectNode::kNoSize ? "    " : "";
  }
  if (node.size_ != InspectNode::kNoSize) {
    line += (node.tag_.empty() ? "[" : " [") + std::to_string(node.size_) + "]";
  }
  if (!node.tag_.empty() || node.size_ != InspectNode::kNoSize) line += "  ";
  line += node.label_;
  if (node.kind_ == "marker") line += " (marker)";
  const bool listFields = node.kind_ == "record";
  if (!listFields && !node.fields_.empty()) {
    line += ":";
    for (size_t i = 0; i < node.fields_.size(); ++i) {
      line += (i ? ", " : " ") + node.fields_[i].name + " = " + FieldValue(node.fields_[i]);
    }
  }
  out << line << '\n';
  const std::string pad(10 + static_cast<size_t>(depth) * 2 + 2, ' ');
  if (listFields) {
    for (const InspectField& f : node.fields_)
      out << pad << f.name << " = " << FieldValue(f) << '\n';
  }
  for (const std::string& note : node.notes_) out << pad << "! " << note << '\n';
  for (const InspectNode& child : node.children_) WriteNode(out, child, depth + 1);
}

void TextWriter::Write(std::ostream& out, const std::string& fileName,
                       const InspectResult& result) {
  const InspectField* kind = result.root.FindField("kind");
  out << fileName << ": " << (kind ? kind->text : std::string("unknown")) << ", "
      << result.root.size_ << " bytes\n";
  for (const std::string& note : result.root.notes_) out << "! " << note << '\n';
  for (const InspectNode& child : result.root.children_) WriteNode(out, child, 0);
  if (!result.ok) out << "error at " << result.ErrorText() << '\n';
  if (result.incomplete) out << "not decoded to the end: see the notes marked !\n";
}

}  // namespace vinspect
