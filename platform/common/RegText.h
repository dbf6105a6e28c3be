// The registry kept as text in the Windows ".reg" syntax. Linux keeps the registry in such a
// file; the parser and writer live apart from the file handling so that tests reach them on
// every platform.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vplat {
namespace regtext {

// One value line. String values are kept decoded; every other kind (dword:, hex:, hex(n):)
// keeps its text after '=' as written, so that a rewrite does not lose it and a reader can tell
// that it is not a string.
struct Value {
  std::string name;  // empty for the default value "@"
  bool isString = false;
  std::string text;  // decoded string, or the raw data of another kind
};

struct Key {
  std::string path;  // full path, e.g. "HKEY_LOCAL_MACHINE\\SOFTWARE\\X"
  std::vector<Value> values;
};

struct Document {
  std::vector<Key> keys;

  // Lookup ignoring case; null when missing.
  Key* FindKey(const std::string& path);
  const Key* FindKey(const std::string& path) const;
  Key& GetOrAddKey(const std::string& path);
  // True when a key lies below the path: the path then exists as a key (a parent the file
  // does not list on its own), as the Windows registry would have it.
  bool HasKeyBelow(const std::string& path) const;
};

// Full key path below a root; separators are '\\', doubled and outer ones removed.
std::string KeyPath(RegRoot root, const char* key);

// Reads the text of a .reg file. Lines it does not understand are skipped: a damaged file
// loses those lines, not the rest.
Document Parse(const std::string& text);

// Writes the whole document, header first, one blank line between keys.
std::string Write(const Document& doc);

// The quoted form of a name or string value: \ and " escaped.
std::string Quote(const std::string& s);

const Value* FindValue(const Key& key, const std::string& name);
RegResult GetString(const Document& doc, RegRoot root, const char* key, const char* name,
                    std::string& value);
void SetString(Document& doc, RegRoot root, const char* key, const char* name, const char* value);
bool DeleteValue(Document& doc, RegRoot root, const char* key, const char* name);

}  // namespace regtext
}  // namespace vplat
