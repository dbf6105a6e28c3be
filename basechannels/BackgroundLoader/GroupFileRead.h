// One group file read on a worker thread. The bytes and the outcome are handed over under a
// lock; the engine's thread takes them once the work object reports ready.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Vexilon.h"

// What the worker hands back. Shared by the work object and the loader's pending entry, so
// that either may go first.
struct GroupFileBytes {
  explicit GroupFileBytes(std::string file) : path(std::move(file)) {}

  const std::string path;  // set before the worker starts, never changed
  std::atomic<bool> abandoned{false};

  std::mutex lock;  // guards what follows
  bool read = false;
  std::vector<uint8_t> bytes;
};

class GroupFileRead : public Vlt_RunTread {
 public:
  explicit GroupFileRead(std::shared_ptr<GroupFileBytes> result);
  ~GroupFileRead() override;

  void TreadFunction() override;

  // Test hook: while the gate is closed, every read waits before it opens its file, until it is
  // told to stop. Tests use it to hold a read "in progress" without timing anything.
  static void SetGateClosed(bool closed);
  // Reads waiting at the closed gate.
  static int GetReadsAtGate();

 private:
  bool KeepGoing();

  std::shared_ptr<GroupFileBytes> result_;
};
