#include "GroupFileRead.h"

#include "platform/Platform.h"

namespace {

std::atomic<bool> gateClosed{false};
std::atomic<int> readsAtGate{0};
constexpr uint32_t kGatePollMs = 2;

}  // namespace

GroupFileRead::GroupFileRead(std::shared_ptr<GroupFileBytes> result) : result_(std::move(result)) {}

GroupFileRead::~GroupFileRead() = default;

void GroupFileRead::SetGateClosed(bool closed) { gateClosed = closed; }

int GroupFileRead::GetReadsAtGate() { return readsAtGate; }

bool GroupFileRead::KeepGoing() {
  return GetIfContinueTreadCalls() && !GetIfExitThread() && !result_->abandoned;
}

void GroupFileRead::TreadFunction() {
  if (gateClosed) {
    ++readsAtGate;
    while (gateClosed && KeepGoing()) vplat::sleepMs(kGatePollMs);
    --readsAtGate;
  }
  if (!KeepGoing()) return;
  std::vector<uint8_t> bytes;
  const bool read = vplat::readFile(result_->path.c_str(), bytes);
  std::lock_guard<std::mutex> hold(result_->lock);
  result_->read = read;
  result_->bytes.swap(bytes);
}
