#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vinspect_test {

// A strict reader of the JSON the inspector writes, enough to check that a document is well
// formed and to walk it.
struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  const JsonValue* Get(const std::string& key) const {
    auto it = members.find(key);
    return it == members.end() ? nullptr : &it->second;
  }
};

class JsonDocument {
 public:
  // False with the offset of the first fault when `text` is not one JSON value.
  static bool Parse(const std::string& text, JsonValue& out, size_t& faultAt) {
    JsonDocument doc(text);
    if (!doc.Value(out)) {
      faultAt = doc.pos_;
      return false;
    }
    doc.Space();
    faultAt = doc.pos_;
    return doc.pos_ == text.size();
  }

 private:
  explicit JsonDocument(const std::string& text) : s_(text) {}

  void Space() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\t' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(const char* word) {
    const std::string w(word);
    if (s_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }
  bool String(std::string& out) {
    if (pos_ >= s_.size() || s_[pos_] != '"') return false;
    ++pos_;
    while (pos_ < s_.size() && s_[pos_] != '"') {
      const unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c < 0x20) return false;
      if (c == '\\') {
        if (++pos_ >= s_.size()) return false;
        const char e = s_[pos_];
        if (e == 'u') {
          if (pos_ + 4 >= s_.size()) return false;
          const std::string hex = s_.substr(pos_ + 1, 4);
          if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
          const long code = std::strtol(hex.c_str(), nullptr, 16);
          if (code > 0xff) return false;  // the inspector writes bytes only
          out += static_cast<char>(code);
          pos_ += 4;
        } else if (e == '"' || e == '\\' || e == '/') {
          out += e;
        } else if (e == 'n') {
          out += '\n';
        } else if (e == 't') {
          out += '\t';
        } else {
          return false;
        }
      } else {
        out += static_cast<char>(c);
      }
      ++pos_;
    }
    if (pos_ >= s_.size()) return false;
    ++pos_;
    return true;
  }
  bool Number(double& out) {
    const size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    if (pos_ >= s_.size() || s_[pos_] < '0' || s_[pos_] > '9') return false;
    if (s_[pos_] == '0' && pos_ + 1 < s_.size() && s_[pos_ + 1] >= '0' && s_[pos_ + 1] <= '9')
      return false;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    out = std::strtod(s_.substr(start, pos_ - start).c_str(), nullptr);
    return true;
  }
  bool Value(JsonValue& v) {
    Space();
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '{') {
      v.type = JsonValue::Type::Object;
      ++pos_;
      Space();
      if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
      for (;;) {
        Space();
        std::string key;
        if (!String(key)) return false;
        Space();
        if (pos_ >= s_.size() || s_[pos_] != ':') return false;
        ++pos_;
        JsonValue member;
        if (!Value(member)) return false;
        if (!v.members.emplace(key, member).second) return false;  // duplicate key
        Space();
        if (pos_ < s_.size() && s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
        return false;
      }
    }
    if (c == '[') {
      v.type = JsonValue::Type::Array;
      ++pos_;
      Space();
      if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
      for (;;) {
        JsonValue item;
        if (!Value(item)) return false;
        v.items.push_back(item);
        Space();
        if (pos_ < s_.size() && s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
        return false;
      }
    }
    if (c == '"') {
      v.type = JsonValue::Type::String;
      return String(v.text);
    }
    if (Literal("true")) {
      v.type = JsonValue::Type::Bool;
      v.boolean = true;
      return true;
    }
    if (Literal("false")) {
      v.type = JsonValue::Type::Bool;
      return true;
    }
    if (Literal("null")) return true;
    v.type = JsonValue::Type::Number;
    return Number(v.number);
  }

  const std::string& s_;
  size_t pos_ = 0;
};

}  // namespace vinspect_test
