// Writes short texts into the engine's ten numbered on-screen debug lines.
#pragma once

#include "VltExport.h"

class EngineInterface;

class VEXILON_API ShowDebug {
 public:
  explicit ShowDebug(EngineInterface* engine = nullptr) : engine_(engine) {}
  void SetEngineInterface(EngineInterface* engine) { engine_ = engine; }

  void operator()(const char* text, int line);
  void operator()(float value, int line);
  void operator()(int value, int line);
  void operator()(unsigned int value, int line);
  void operator()(double value, int line);
  void operator()(const char* text, float value, int line);
  void operator()(const char* text, int value, int line);
  void operator()(const char* a, const char* b, int line);

 private:
  EngineInterface* engine_;
};
