#include "InspectCommand.h"

#include <fstream>
#include <iterator>

#include "Inspector.h"
#include "JsonWriter.h"
#include "TextWriter.h"

namespace vinspect {

void InspectCommand::WriteHelp(std::ostream& out) {
  out << "Usage: lumenar-inspect [--json] FILE\n"
         "\n"
         "Prints the block tree of a file the Lumenar engine stores: every block with its\n"
         "offset, tag, size and decoded values (integers, GUIDs, texts, and the records\n"
         "ChannelType, PublicCallInfo, ParameterInterfaceInfo field by field).\n"
         "\n"
         "The kind of file is recognised from its first bytes:\n"
         "  VLTF              container; the compression translator's body\n"
         "                    (ZIOS/ZINS/ZICB) is inflated and its content decoded in turn\n"
         "  LVRS, VLTG, __3_  group file (.cgr); a protected body is unscrambled and decoded\n"
         "  CHEV              plug-in registry cache (channels.lst)\n"
         "  LSPT              project file body (.lmr, usually inside a container)\n"
         "\n"
         "Offsets are in bytes from the start of the file, or, below a container, from the\n"
         "start of its translated data. In text output they are hexadecimal.\n"
         "\n"
         "Options:\n"
         "  --json      print the tree as one JSON document instead of text\n"
         "  -h, --help  print this help\n"
         "\n"
         "Exit status:\n"
         "  0  the file was decoded\n"
         "  1  the file could not be read or is malformed; the message names the offset\n"
         "  2  bad command line\n"
         "  3  decoded only in part: a container of an unknown translator\n";
}

int InspectCommand::Run(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
  bool json = false;
  std::string fileName;
  bool haveFile = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      WriteHelp(out);
      return kOk;
    }
    if (arg == "--json") {
      json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      err << "lumenar-inspect: unknown option " << arg << "\n";
      err << "Try 'lumenar-inspect --help'.\n";
      return kUsage;
    } else if (haveFile) {
      err << "lumenar-inspect: one file at a time\n";
      return kUsage;
    } else {
      fileName = arg;
      haveFile = true;
    }
  }
  if (!haveFile) {
    err << "Usage: lumenar-inspect [--json] FILE   (--help for more)\n";
    return kUsage;
  }

  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    err << "lumenar-inspect: cannot open " << fileName << "\n";
    return kMalformed;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad()) {
    err << "lumenar-inspect: cannot read " << fileName << "\n";
    return kMalformed;
  }

  Inspector inspector;
  const InspectResult result = inspector.Inspect(bytes.data(), bytes.size());
  if (json) {
    JsonWriter::Write(out, fileName, result);
  } else {
    TextWriter::Write(out, fileName, result);
  }
  if (!result.ok) {
    err << "lumenar-inspect: " << fileName << ": error at " << result.ErrorText() << "\n";
    return kMalformed;
  }
  return result.incomplete ? kIncomplete : kOk;
}

}  // namespace vinspect
