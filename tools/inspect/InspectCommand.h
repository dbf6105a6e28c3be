#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vinspect {

// The command line of lumenar-inspect. Exit codes: 0 decoded, 1 unreadable or malformed file,
// 2 bad command line, 3 decoded only in part (a container of an unknown translator).
class InspectCommand {
 public:
  static constexpr int kOk = 0;
  static constexpr int kMalformed = 1;
  static constexpr int kUsage = 2;
  static constexpr int kIncomplete = 3;

  static int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
  static void WriteHelp(std::ostream& out);
};

}  // namespace vinspect
