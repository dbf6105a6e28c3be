#include "JsonWriter.h"

#include <cstdio>

namespace vinspect {

std::string JsonWriter::Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    }
  }
  return out + "\"";
}

void JsonWriter::WriteField(std::ostream& out, const InspectField& field) {
  out << Quote(field.name) << ": ";
  switch (field.kind) {
    case InspectField::Kind::Int:
      out << field.number;
      return;
    case InspectField::Kind::Text:
    case InspectField::Kind::Guid:
    case InspectField::Kind::Hex:
      out << Quote(field.text);
      return;
    case InspectField::Kind::IntList:
      out << '[';
      for (size_t i = 0; i < field.list.size(); ++i) out << (i ? ", " : "") << field.list[i];
      out << ']';
      return;
  }
}

void JsonWriter::WriteNode(std::ostream& out, const InspectNode& node, int depth) {
  const std::string pad(static_cast<size_t>(depth) * 2, ' ');
  const std::string in = pad + "  ";
  out << pad << "{\n";
  out << in << "\"kind\": " << Quote(node.kind_) << ",\n";
  out << in << "\"label\": " << Quote(node.label_) << ",\n";
  out << in << "\"offset\": " << node.offset_;
  if (!node.tag_.empty()) out << ",\n" << in << "\"tag\": " << Quote(node.tag_);
  if (node.size_ != InspectNode::kNoSize) out << ",\n" << in << "\"size\": " << node.size_;
  out << ",\n" << in << "\"fields\": {";
  for (size_t i = 0; i < node.fields_.size(); ++i) {
    out << (i ? ", " : "");
    WriteField(out, node.fields_[i]);
  }
  out << '}';
  if (!node.notes_.empty()) {
    out << ",\n" << in << "\"notes\": [";
    for (size_t i = 0; i < node.notes_.size(); ++i) out << (i ? ", " : "") << Quote(node.notes_[i]);
    out << ']';
  }
  if (!node.children_.empty()) {
    out << ",\n" << in << "\"children\": [\n";
    for (size_t i = 0; i < node.children_.size(); ++i) {
      WriteNode(out, node.children_[i], depth + 2);
      out << (i + 1 < node.children_.size() ? ",\n" : "\n");
    }
    out << in << ']';
  }
  out << '\n' << pad << '}';
}

void JsonWriter::Write(std::ostream& out, const std::string& fileName,
                       const InspectResult& result) {
  const InspectField* kind = result.root.FindField("kind");
  out << "{\n";
  out << "  \"file\": " << Quote(fileName) << ",\n";
  out << "  \"kind\": " << Quote(kind ? kind->text : std::string("unknown")) << ",\n";
  out << "  \"size\": " << result.root.size_ << ",\n";
  out << "  \"ok\": " << (result.ok ? "true" : "false") << ",\n";
  out << "  \"incomplete\": " << (result.incomplete ? "true" : "false") << ",\n";
  out << "  \"error\": ";
  if (result.ok) {
    out << "null";
  } else {
    out << "{\"offset\": " << result.errorOffset << ", \"context\": " << Quote(result.errorContext)
        << ", \"message\": " << Quote(result.errorMessage) << '}';
  }
  out << ",\n  \"notes\": [";
  for (size_t i = 0; i < result.root.notes_.size(); ++i) {
    out << (i ? ", " : "") << Quote(result.root.notes_[i]);
  }
  out << "],\n  \"blocks\": [\n";
  for (size_t i = 0; i < result.root.children_.size(); ++i) {
    WriteNode(out, result.root.children_[i], 2);
    out << (i + 1 < result.root.children_.size() ? ",\n" : "\n");
  }
  out << "  ]\n}\n";
}

}  // namespace vinspect
