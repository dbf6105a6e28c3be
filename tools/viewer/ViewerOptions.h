// The viewer's command line.
#pragma once

#include <string>

struct ViewerOptions {
  std::string installDir;  // empty: the folder of the viewer program
  std::string regKey = "SOFTWARE\\Veltro\\Lumenar Viewers\\3.00.000";
  std::string project;    // empty: the engine's file dialog asks for one
  long long frames = -1;  // passes to run; negative: until interrupted
  double fps = 0;         // passes per second to aim at; 0: as fast as possible
  bool stats = false;
  bool help = false;
};

// Exit codes besides 0 (ran) and the project load results 1 to 4.
constexpr int kViewerEngineFailed = 5;
constexpr int kViewerUsage = 64;

// Reads the arguments after the program name. False with a reason on a malformed line.
bool ParseViewerOptions(int argc, const char* const* argv, ViewerOptions& options,
                        std::string& error);

// The --help text.
const char* ViewerUsage();
