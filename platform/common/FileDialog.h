// The answer to a file picker where no user gives one, shared by both implementations.
#pragma once

#include <string>

namespace vplat {
namespace detail {

// The path in VEXILON_OPEN_FILE, written to standard error like a headless message box. False
// (path empty) when the variable is not set or empty.
bool ScriptedOpenFile(const char* filter, std::string& path);

}  // namespace detail
}  // namespace vplat
