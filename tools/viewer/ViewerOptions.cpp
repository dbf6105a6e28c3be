#include "ViewerOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The option's value: the text after '=' or the next argument.
bool TakeValue(int argc, const char* const* argv, int& i, const char* inlineValue,
               std::string& value, std::string& error) {
  if (inlineValue != nullptr) {
    value = inlineValue;
    return true;
  }
  if (i + 1 >= argc) {
    error = std::string(argv[i]) + " needs a value";
    return false;
  }
  value = argv[++i];
  return true;
}

}  // namespace

bool ParseViewerOptions(int argc, const char* const* argv, ViewerOptions& options,
                        std::string& error) {
  bool optionsEnd = false;
  for (int i = 0; i < argc; ++i) {
    const char* arg = argv[i];
    if (optionsEnd || arg[0] != '-' || arg[1] == '\0') {
      if (!options.project.empty()) {
        error = "only one project file can be given";
        return false;
      }
      options.project = arg;
      continue;
    }
    if (std::strcmp(arg, "--") == 0) {
      optionsEnd = true;
      continue;
    }
    std::string name = arg;
    const char* inlineValue = nullptr;
    const size_t equals = name.find('=');
    if (equals != std::string::npos) {
      inlineValue = arg + equals + 1;
      name.resize(equals);
    }
    std::string value;
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--stats") {
      options.stats = true;
    } else if (name == "--install-dir") {
      if (!TakeValue(argc, argv, i, inlineValue, options.installDir, error)) return false;
    } else if (name == "--reg-key") {
      if (!TakeValue(argc, argv, i, inlineValue, options.regKey, error)) return false;
    } else if (name == "--frames") {
      if (!TakeValue(argc, argv, i, inlineValue, value, error)) return false;
      char* end = nullptr;
      errno = 0;
      const long long frames = std::strtoll(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || errno != 0 || frames < 0) {
        error = "--frames needs a whole number of 0 or more, not \"" + value + "\"";
        return false;
      }
      options.frames = frames;
    } else if (name == "--fps") {
      if (!TakeValue(argc, argv, i, inlineValue, value, error)) return false;
      char* end = nullptr;
      const double fps = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0' || !(fps > 0) || fps > 100000) {
        error = "--fps needs a number above 0, not \"" + value + "\"";
        return false;
      }
      options.fps = fps;
    } else {
      error = "unknown option " + name;
      return false;
    }
    if (inlineValue != nullptr && (name == "--help" || name == "-h" || name == "--stats")) {
      error = name + " takes no value";
      return false;
    }
  }
  return true;
}

const char* ViewerUsage() {
  return "Usage: LumenViewer [options] [PROJECT.lmr]\n"
         "\n"
         "Runs a project: loads the engine core beside this program, reads the project file,\n"
         "checks the channels it needs, loads its start group and runs the main loop.\n"
         "Without a project file the engine's file dialog asks for one (where no user is\n"
         "present, the path comes from VEXILON_OPEN_FILE).\n"
         "\n"
         "Options:\n"
         "  --install-dir DIR  installation folder holding channels/ and 3rd/\n"
         "                     (default: the folder of this program)\n"
         "  --reg-key KEY      registry key of the engine's settings, below\n"
         "                     HKEY_LOCAL_MACHINE\n"
         "                     (default: SOFTWARE\\Veltro\\Lumenar Viewers\\3.00.000)\n"
         "  --frames N         stop after N passes of the main loop (default: run until\n"
         "                     interrupted)\n"
         "  --fps F            aim at F passes per second (default: as fast as possible)\n"
         "  --stats            print passes per second and pass-time percentiles at the end\n"
         "  --help             print this text\n"
         "\n"
         "The engine's ten debug lines are shown once a second when standard output is a\n"
         "terminal, and once at the end otherwise. Ctrl-C stops the run cleanly: the engine\n"
         "is released and its plug-in registry cache written.\n"
         "\n"
         "Exit codes:\n"
         "  0   the project ran\n"
         "  1   the project file could not be read, or the file dialog could not start\n"
         "  2   the project cannot run with this installation\n"
         "  3   no project file was given or chosen\n"
         "  4   the project's start group could not be loaded\n"
         "  5   the engine core could not be loaded or started\n"
         "  64  the command line is malformed\n";
}
