// The work object of a worker thread: plug-ins derive from it and override TreadFunction,
// which runs on the new thread and should return soon after GetIfContinueTreadCalls (or
// GetIfExitThread) turns false. Once TreadFunction has returned the object is marked ready and
// the closing side may delete it at once.
// The fields shared with the worker thread are atomic.
// The order of the virtual operations is part of the binary interface.
#pragma once

#include <atomic>
#include <cstdint>

#include "VltExport.h"

class Vlt_Tread;

class VEXILON_API Vlt_RunTread {
 public:
  Vlt_RunTread();
  Vlt_RunTread(const Vlt_RunTread&) = delete;
  Vlt_RunTread& operator=(const Vlt_RunTread&) = delete;

  virtual ~Vlt_RunTread();                   // 0
  virtual void TreadFunction();              // 1
  virtual void ExitThread();                 // 2
  virtual bool GetIfExitThread();            // 3
  virtual void SetTreadClass(Vlt_Tread* t);  // 4
  virtual bool GetIfTreadReady();            // 5
  virtual void SetIfTreadReady(bool ready);  // 6
  virtual bool CreateTread();                // 7
  virtual void ForceTreadClose();            // 8
  virtual bool GetIfContinueTreadCalls();    // 9
  virtual void* GetCustomPointer();          // 10
  virtual void SetCustomPointer(void* p);    // 11
  virtual uint32_t GetUserData();            // 12

 protected:
  std::atomic<Vlt_Tread*> tread_;  // not owned
  std::atomic<bool> ready_;
  std::atomic<void*> threadHandle_;
  std::atomic<uint32_t> threadId_;
  std::atomic<void*> customPointer_;
  std::atomic<bool> exitRequested_;
  uint32_t userData_;
};
