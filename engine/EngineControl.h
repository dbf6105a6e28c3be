// The one object a host needs to run a project: it owns the engine and its message sink, loads
// the project and runs one pass of the main loop when asked. Hosts reach it only through the
// two plain exports below and these virtual operations, in this order.
#pragma once

#include "VltExport.h"

class DebugOutPut;
class EngineInterface;
class Vlt_ChannelGroup;

class VEXILON_API EngineControl {
 public:
  EngineControl();
  EngineControl(const EngineControl&) = delete;
  EngineControl& operator=(const EngineControl&) = delete;

  virtual ~EngineControl();                                                          // 0
  virtual int LoadProject();                                                         // 1
  virtual bool InitEngine(VltInstance instance, char* className, VltWindow window);  // 2
  virtual void EngineLoop();                                                         // 3
  virtual void SetCommandLine(char* text);                                           // 4
  virtual EngineInterface* GetEngineInterface();                                     // 5
  virtual void ProcessWindowMessage(VltWindow window, unsigned message, unsigned wParam,
                                    long lParam);  // 6
  virtual void SetInstallDir(const char* folder);  // 7
  virtual void SetLumenarRegKey(const char* key);  // 8
  virtual bool GetIfKeepRunningApplication();      // 9

 private:
  EngineInterface* engineInterface_;
  Vlt_ChannelGroup* startGroup_;
  char commandLine_[1000];
  bool initialized_;
  DebugOutPut* debugOutPut_;
  bool inLoop_;
  char installDir_[400];
  char regKey_[600];
};

// Set by EngineControl::InitEngine: the process runs a host, not a tool that only reads files.
VEXILON_API extern bool runtimeHost;

extern "C" {
VEXILON_API EngineControl* GetEngineControlInstance();
VEXILON_API int GetEngineVersion();
}

// Host-side signatures of the two plain exports, for resolving them from a loaded module.
typedef EngineControl* (*GetEngineControlInstanceFn)();
typedef int (*GetEngineVersionFn)();
