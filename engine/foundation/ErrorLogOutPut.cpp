#include <cstdio>
#include <string>

#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "VltText.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kRegValue = 100;     // "WriteErrorLog" is read up to 99 characters
constexpr size_t kInstallDir = 300;   // the install folder is taken up to 299 characters
constexpr size_t kDateTimePart = 20;  // each of date and time, with its blank, up to 19

const char* PrefixOf(int type) {
  switch (type) {
    case VLT_MSG_DEBUG:
      return "Debug: ";
    case VLT_MSG_ERROR:
      return "Error: ";
    case VLT_MSG_INFO:
      return "Info : ";
    default:
      return "";
  }
}

}  // namespace

ErrorLogOutPut::ErrorLogOutPut(EngineInterface* engine) : writeErrorLog_(true), engine_(engine) {
  if (engine_ == nullptr) return;
  EngineInterfaceExt* ext = engine_->GetExt();
  if (ext == nullptr) return;
  // Logging is off unless someone set the value to anything but "No"; a missing value is
  // created so that the switch is easy to find.
  char value[kRegValue] = {};
  if (ext->GetRegData("WriteErrorLog", value, static_cast<int>(kRegValue - 1))) {
    value[kRegValue - 1] = 0;
    if (vlt::EqualNoCase(value, "No")) writeErrorLog_ = false;
  } else {
    ext->SetRegData("WriteErrorLog", "No");
    writeErrorLog_ = false;
  }
}

void ErrorLogOutPut::ShowDebugMessage(DebugMessage* message) {
  if (!useDebug_ || message == nullptr) return;
  const char* text = message->GetDebugMessage();
  if (text == nullptr) return;
  const int type = message->GetMessageType();

  const char* installDir = engine_ != nullptr ? engine_->GetInstallDir() : nullptr;
  if (writeErrorLog_ && installDir != nullptr && installDir[0] != 0) {
    const vplat::LocalTime now = vplat::localTime();
    char timePart[kDateTimePart];
    char datePart[kDateTimePart];
    std::snprintf(timePart, sizeof(timePart), "%02d:%02d:%02d ", now.hour % 100, now.minute % 100,
                  now.second % 100);
    std::snprintf(datePart, sizeof(datePart), "%04d-%02d-%02d ", now.year % 10000, now.month % 100,
                  now.day % 100);

    char folder[kInstallDir];
    vlt::CopyText(folder, sizeof(folder), installDir);
    std::string path = folder;
    const char last = path.back();
    if (last != '\\' && last != '/') path += vplat::pathSeparator();
    path += "error.log";

    // One open-append-close per line keeps the log complete up to a crash.
    std::string line = datePart;
    line += timePart;
    line += PrefixOf(type);
    line += text;
    line += "\r\n";
    vplat::appendToFile(path.c_str(), line.data(), line.size());
  }

  if (type == VLT_MSG_MESSAGEBOX)
    vplat::messageBox(nullptr, text, "Message", vplat::Buttons::Ok, vplat::Icon::None);
}
