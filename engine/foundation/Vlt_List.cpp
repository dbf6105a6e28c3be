#include "Vlt_List.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "DllInterface.h"
#include "EngineInterface.h"

namespace {

// Reports go through the engine's message-box sink and are silent while no engine exists, so
// lists work before any engine object does.
void ReportExtendFailure(double requested) {
  if (globalEngine == nullptr) return;
  // The request may lie beyond the 32-bit range, so it is written as a text.
  const std::string size = std::to_string(static_cast<long long>(requested));
  globalEngine->showMessageBox_("Error couldn't extend list", size.c_str());
}

void ReportTooSmall() {
  if (globalEngine == nullptr) return;
  globalEngine->showMessageBox_("Vlt_List::InsertItem Error reallist is to small!!!");
}

}  // namespace

Vlt_List::Vlt_List() : items_(nullptr), count_(0), capacity_(0) {}

Vlt_List::~Vlt_List() { ReleaseItems(); }

void Vlt_List::IncreaseRealListLength(int request) {
  if (request < -1) request = -1;
  if (capacity_ < 0) capacity_ = 0;
  const double base =
      (request == -1) ? static_cast<double>(capacity_) : static_cast<double>(request);
  const double grown = base * 1.25 + 32.0;

  // A size that does not fit the 32-bit capacity is treated like a failed allocation rather
  // than truncated into a negative or wrapped number.
  void** fresh = nullptr;
  int newCapacity = 0;
  if (grown < static_cast<double>(INT_MAX)) {
    newCapacity = static_cast<int>(grown);
    fresh = new (std::nothrow) void*[static_cast<size_t>(newCapacity)];
  }
  if (fresh == nullptr) {
    // The list keeps no storage after a failed growth: a capacity without storage behind it
    // would send the next write into nothing.
    delete[] items_;
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    ReportExtendFailure(grown);
    return;
  }
  const int keep = count_ < newCapacity ? count_ : newCapacity;
  if (keep > 0 && items_ != nullptr)
    std::memcpy(fresh, items_, static_cast<size_t>(keep) * sizeof(void*));
  delete[] items_;
  items_ = fresh;
  capacity_ = newCapacity;
}

int Vlt_List::AddItem(void* item) {
  if (capacity_ <= count_) IncreaseRealListLength();
  if (items_ == nullptr || capacity_ <= count_) return -1;
  items_[count_] = item;
  return count_++;
}

int Vlt_List::AddItemOrNULL(void* item) {
  for (int i = 0; i < count_; ++i) {
    if (items_[i] == nullptr) {
      items_[i] = item;
      return i;
    }
  }
  return AddItem(item);
}

bool Vlt_List::InsertItem(void* item, int index) {
  if (capacity_ <= count_ + 1) IncreaseRealListLength(count_ + 1);
  if (items_ == nullptr || capacity_ <= count_ + 1) {
    ReportTooSmall();
    return false;
  }
  if (index < 0) return false;
  if (index > count_) return AddItem(item) >= 0;
  for (int i = count_; i > index; --i) items_[i] = items_[i - 1];
  items_[index] = item;
  ++count_;
  return true;
}

void Vlt_List::RemoveItem(int index) {
  if (index < 0 || index >= count_) return;
  for (int i = index; i < count_ - 1; ++i) items_[i] = items_[i + 1];
  --count_;
}

void Vlt_List::SetItem(void* item, int index) {
  if (index < 0) return;
  if (index >= count_ && !Allocate(index + 1)) return;
  items_[index] = item;
}

bool Vlt_List::Allocate(int n) {
  // A negative count would make every later index test meaningless.
  if (n < 0) return false;
  if (n >= capacity_ - 1) IncreaseRealListLength(n);
  if (items_ == nullptr || n >= capacity_) return false;
  for (int i = count_; i < n; ++i) items_[i] = nullptr;
  count_ = n;
  return true;
}

void Vlt_List::ClearItems() { count_ = 0; }

void Vlt_List::ReleaseItems() {
  delete[] items_;
  items_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}
