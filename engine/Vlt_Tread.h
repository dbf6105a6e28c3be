// The engine-side handle of one worker thread, handed out and kept by the engine
// (EngineInterfaceExt::GetNewTread). It starts a Vlt_RunTread, asks it to stop, waits for it
// within a time limit and gives itself back to the engine.
// The flags are shared with the worker thread and therefore atomic.
// The order of the virtual operations is part of the binary interface.
#pragma once

#include <atomic>
#include <cstdint>

#include "VltExport.h"

class EngineInterface;
class Vlt_RunTread;

class VEXILON_API Vlt_Tread {
 public:
  // Takes the engine from globalEngine.
  Vlt_Tread();
  explicit Vlt_Tread(EngineInterface* engine);
  Vlt_Tread(const Vlt_Tread&) = delete;
  Vlt_Tread& operator=(const Vlt_Tread&) = delete;

  virtual ~Vlt_Tread();                        // 0
  virtual bool StartTread(Vlt_RunTread* run);  // 1
  virtual void CloseTread();                   // 2
  virtual void ExitThread();                   // 3
  virtual bool GetIfTreadRunning();            // 4
  virtual bool GetIfKeepRunningTread();        // 5
  virtual int GetClassID();                    // 6
  virtual void SetClassID(int id);             // 7

  // How long CloseTread waits for a worker to finish before it gives up: 30000 ms. Tests set
  // it shorter; it applies to every handle of the process.
  static void SetCloseWaitMs(uint32_t ms);
  static uint32_t GetCloseWaitMs();

 protected:
  std::atomic<Vlt_RunTread*> run_;  // owned once attached
  std::atomic<bool> running_;
  EngineInterface* engine_;
  std::atomic<bool> keepRunning_;
  int32_t classID_;
};
