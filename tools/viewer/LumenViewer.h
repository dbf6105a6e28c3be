// The viewer host: loads the engine core at run time, starts it in the order hosts follow,
// loads the project and runs the main loop until the pass count is reached or the user
// interrupts, then shuts the engine down.
#pragma once

#include <cstdio>
#include <string>

#include "PassStatistics.h"
#include "ViewerOptions.h"

class EngineControl;

class LumenViewer {
 public:
  // Reports go to out; the engine's own messages go to standard error.
  LumenViewer(const ViewerOptions& options, std::FILE* out);

  // The whole run; answers the exit code.
  int Run();

 private:
  int RunEngine(EngineControl* control);
  void RunLoop(EngineControl* control);
  // Shows the ten debug lines; on a terminal the previous block is overwritten.
  void ShowDebugLines(EngineControl* control, bool final);
  void ShowStatistics(double elapsed);

  ViewerOptions options_;
  std::FILE* out_;
  bool terminal_;
  int shownLines_;
  PassStatistics statistics_;
};
