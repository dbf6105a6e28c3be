#include "ShowDebug.h"

#include <cstring>
#include <string>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "GFormat.h"

namespace {

constexpr int kDigits = 10;
// A text in front of a number may be at most this long; a text pair at most kPairLimit.
constexpr size_t kTextLimit = 350;
constexpr size_t kPairLimit = 399;

void Forward(EngineInterface* engine, const char* text, int line) {
  if (engine == nullptr || text == nullptr) return;
  EngineInterfaceExt* ext = engine->GetExt();
  if (ext != nullptr) ext->DebugOut(text, line);
}

}  // namespace

void ShowDebug::operator()(const char* text, int line) { Forward(engine_, text, line); }

void ShowDebug::operator()(float value, int line) {
  Forward(engine_, GFormat(static_cast<double>(value), kDigits).c_str(), line);
}

void ShowDebug::operator()(int value, int line) {
  Forward(engine_, GFormat(static_cast<double>(value), kDigits).c_str(), line);
}

void ShowDebug::operator()(unsigned int value, int line) {
  Forward(engine_, GFormat(static_cast<double>(value), kDigits).c_str(), line);
}

void ShowDebug::operator()(double value, int line) {
  Forward(engine_, GFormat(value, kDigits).c_str(), line);
}

void ShowDebug::operator()(const char* text, float value, int line) {
  if (text == nullptr || std::strlen(text) > kTextLimit) return;
  Forward(engine_, (text + GFormat(static_cast<double>(value), kDigits)).c_str(), line);
}

void ShowDebug::operator()(const char* text, int value, int line) {
  if (text == nullptr || std::strlen(text) > kTextLimit) return;
  Forward(engine_, (text + std::to_string(value)).c_str(), line);
}

void ShowDebug::operator()(const char* a, const char* b, int line) {
  if (a == nullptr || b == nullptr || std::strlen(a) + std::strlen(b) > kPairLimit) return;
  Forward(engine_, (std::string(a) + b).c_str(), line);
}
