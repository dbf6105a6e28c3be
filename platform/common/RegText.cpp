#include "platform/common/RegText.h"

#include <cctype>

namespace vplat {
namespace regtext {

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

const char* RootName(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegRoot::CurrentUser:
      return "HKEY_CURRENT_USER";
    case RegRoot::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "HKEY_LOCAL_MACHINE";
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(const std::string& s, size_t& pos, std::string& out) {
  if (pos >= s.size() || s[pos] != '"') return false;
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '\\' && pos + 1 < s.size()) {
      out += s[++pos];
    } else if (c == '"') {
      ++pos;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

std::string NormalizeKey(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

// A string that holds a line break cannot be written quoted in a line-based file; regedit's
// own form for such a string value is hex(1): its UTF-16LE code units and a terminating zero.
// Our strings are 8-bit, so each byte becomes one code unit and comes back unchanged.
bool NeedsHex(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

std::string ToHex1(const std::string& s) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = "hex(1):";
  for (size_t i = 0; i <= s.size(); ++i) {
    unsigned char b = i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    out += ",00";
    if (i < s.size()) out += ',';
  }
  return out;
}

// Decodes the data of a hex(1) value; false when it is not well formed.
bool FromHex1(const std::string& data, std::string& out) {
  std::vector<unsigned> bytes;
  size_t i = 0;
  while (i < data.size()) {
    size_t comma = data.find(',', i);
    if (comma == std::string::npos) comma = data.size();
    std::string item = Trim(data.substr(i, comma - i));
    i = comma + 1;
    if (item.empty()) continue;
    if (item.size() > 2 || !std::isxdigit(static_cast<unsigned char>(item[0])) ||
        !std::isxdigit(static_cast<unsigned char>(item.back())))
      return false;
    bytes.push_back(static_cast<unsigned>(std::stoul(item, nullptr, 16)));
  }
  out.clear();
  for (size_t b = 0; b + 1 < bytes.size(); b += 2) {
    unsigned unit = bytes[b] | (bytes[b + 1] << 8);
    if (unit == 0) break;
    out += static_cast<char>(unit > 0xFF ? '?' : unit);
  }
  return true;
}

}  // namespace

Key* Document::FindKey(const std::string& path) {
  for (Key& k : keys)
    if (EqualNoCase(k.path, path)) return &k;
  return nullptr;
}

const Key* Document::FindKey(const std::string& path) const {
  for (const Key& k : keys)
    if (EqualNoCase(k.path, path)) return &k;
  return nullptr;
}

bool Document::HasKeyBelow(const std::string& path) const {
  std::string prefix = path + "\\";
  for (const Key& k : keys)
    if (k.path.size() > prefix.size() && EqualNoCase(k.path.substr(0, prefix.size()), prefix))
      return true;
  return false;
}

Key& Document::GetOrAddKey(const std::string& path) {
  if (Key* k = FindKey(path)) return *k;
  keys.push_back(Key{path, {}});
  return keys.back();
}

std::string KeyPath(RegRoot root, const char* key) {
  std::string sub = NormalizeKey(key ? key : "");
  std::string out = RootName(root);
  if (!sub.empty()) out += "\\" + sub;
  return out;
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

Document Parse(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t pos = 0; pos <= text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(Trim(text.substr(pos, end - pos)));
    pos = end + 1;
  }

  Document doc;
  Key* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == ';' || line == kHeader) continue;
    if (line[0] == '[') {
      size_t close = line.rfind(']');
      std::string path = close == std::string::npos ? "" : line.substr(1, close - 1);
      // "[-key]" removes a key in an import; in a stored file it means the key is gone.
      current = path.empty() || path[0] == '-' ? nullptr : &doc.GetOrAddKey(NormalizeKey(path));
      continue;
    }
    if (!current) continue;
    Value v;
    size_t p = 0;
    if (line[0] == '@') {
      p = 1;
    } else if (!ReadQuoted(line, p, v.name)) {
      continue;
    }
    while (p < line.size() && line[p] == ' ') ++p;
    if (p >= line.size() || line[p] != '=') continue;
    ++p;
    while (p < line.size() && line[p] == ' ') ++p;
    if (p < line.size() && line[p] == '"') {
      if (!ReadQuoted(line, p, v.text)) continue;
      v.isString = true;
    } else {
      v.text = line.substr(p);
      // Binary kinds run over several lines, each but the last ending in a backslash.
      while (!v.text.empty() && v.text.back() == '\\' && i + 1 < lines.size()) {
        v.text.pop_back();
        v.text += lines[++i];
      }
      if (v.text == "-") continue;  // a deleted value
      if (v.text.compare(0, 7, "hex(1):") == 0) v.isString = FromHex1(v.text.substr(7), v.text);
    }
    bool replaced = false;
    for (Value& old : current->values) {
      if (EqualNoCase(old.name, v.name)) {
        old = v;
        replaced = true;
        break;
      }
    }
    if (!replaced) current->values.push_back(v);
  }
  return doc;
}

std::string Write(const Document& doc) {
  std::string out = kHeader;
  out += "\n";
  for (const Key& k : doc.keys) {
    out += "\n[" + k.path + "]\n";
    for (const Value& v : k.values) {
      out += v.name.empty() ? std::string("@") : Quote(v.name);
      out += "=";
      if (!v.isString)
        out += v.text;
      else if (NeedsHex(v.text))
        out += ToHex1(v.text);
      else
        out += Quote(v.text);
      out += "\n";
    }
  }
  return out;
}

const Value* FindValue(const Key& key, const std::string& name) {
  for (const Value& v : key.values)
    if (EqualNoCase(v.name, name)) return &v;
  return nullptr;
}

RegResult GetString(const Document& doc, RegRoot root, const char* key, const char* name,
                    std::string& value) {
  std::string path = KeyPath(root, key);
  const Key* k = doc.FindKey(path);
  if (!k) return doc.HasKeyBelow(path) ? RegResult::NoValue : RegResult::NoKey;
  const Value* v = FindValue(*k, name ? name : "");
  if (!v) return RegResult::NoValue;
  if (!v->isString) return RegResult::NotString;
  value = v->text;
  return RegResult::Ok;
}

void SetString(Document& doc, RegRoot root, const char* key, const char* name, const char* value) {
  Key& k = doc.GetOrAddKey(KeyPath(root, key));
  std::string n = name ? name : "";
  for (Value& v : k.values) {
    if (EqualNoCase(v.name, n)) {
      v.isString = true;
      v.text = value ? value : "";
      return;
    }
  }
  k.values.push_back(Value{n, true, value ? value : ""});
}

bool DeleteValue(Document& doc, RegRoot root, const char* key, const char* name) {
  Key* k = doc.FindKey(KeyPath(root, key));
  if (!k) return false;
  std::string n = name ? name : "";
  for (size_t i = 0; i < k->values.size(); ++i) {
    if (EqualNoCase(k->values[i].name, n)) {
      k->values.erase(k->values.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

}  // namespace regtext
}  // namespace vplat
