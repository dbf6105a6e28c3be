// LumenViewer: runs a project file. See ViewerUsage for the command line.
#include <cstdio>
#include <string>

#include "LumenViewer.h"
#include "ViewerOptions.h"

int main(int argc, char** argv) {
  ViewerOptions options;
  std::string error;
  if (!ParseViewerOptions(argc - 1, argv + 1, options, error)) {
    std::fprintf(stderr, "LumenViewer: %s\n\n%s", error.c_str(), ViewerUsage());
    return kViewerUsage;
  }
  if (options.help) {
    std::fputs(ViewerUsage(), stdout);
    return 0;
  }
  return LumenViewer(options, stdout).Run();
}
