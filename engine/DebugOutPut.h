// The process-wide message sink interface and the engine's sink, which writes "error.log".
#pragma once

#include <atomic>

#include "VltExport.h"

class DebugMessage;
class EngineInterface;

class VEXILON_API DebugOutPut {
 public:
  DebugOutPut();
  virtual ~DebugOutPut();
  virtual void ShowDebugMessage(DebugMessage* message);
  virtual void SetUseDebug(bool useDebug);

 protected:
  // A worker thread's close switches reports off and on while other threads report.
  std::atomic<bool> useDebug_;
};

class VEXILON_API ErrorLogOutPut : public DebugOutPut {
 public:
  explicit ErrorLogOutPut(EngineInterface* engine);
  void ShowDebugMessage(DebugMessage* message) override;

 private:
  bool writeErrorLog_;
  EngineInterface* engine_;
};

// The current sink; null while none is installed.
VEXILON_API extern DebugOutPut* debugOutPut;
