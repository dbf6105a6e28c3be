#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace vplat {

namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return HKEY_LOCAL_MACHINE;
}

}  // namespace

RegResult regGetString(RegRoot root, const char* key, const char* name, std::string& value) {
  HKEY h;
  if (::RegOpenKeyExA(RootKey(root), key ? key : "", 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
    return RegResult::NoKey;
  RegResult result = RegResult::Failed;
  DWORD type = 0, size = 0;
  LONG rc = ::RegQueryValueExA(h, name, nullptr, &type, nullptr, &size);
  if (rc == ERROR_FILE_NOT_FOUND) {
    result = RegResult::NoValue;
  } else if (rc == ERROR_SUCCESS && type != REG_SZ) {
    result = RegResult::NotString;
  } else if (rc == ERROR_SUCCESS) {
    std::string buf(size + 1, '\0');
    DWORD got = size;
    if (::RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &got) ==
        ERROR_SUCCESS) {
      // The stored data need not end in a zero; cut at the first one.
      buf.resize(got);
      size_t zero = buf.find('\0');
      if (zero != std::string::npos) buf.resize(zero);
      value = buf;
      result = RegResult::Ok;
    }
  }
  ::RegCloseKey(h);
  return result;
}

bool regSetString(RegRoot root, const char* key, const char* name, const char* value) {
  HKEY h;
  if (::RegCreateKeyExA(RootKey(root), key ? key : "", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  std::string v = value ? value : "";
  LONG rc = ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                             static_cast<DWORD>(v.size() + 1));
  ::RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

bool regDeleteValue(RegRoot root, const char* key, const char* name) {
  HKEY h;
  if (::RegOpenKeyExA(RootKey(root), key ? key : "", 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
    return false;
  LONG rc = ::RegDeleteValueA(h, name);
  ::RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

}  // namespace vplat
