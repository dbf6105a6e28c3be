// The engine's one container: a growable array of untyped pointers whose indices are identities.
#pragma once

#include "VltExport.h"

class VEXILON_API Vlt_List {
 public:
  Vlt_List();
  virtual ~Vlt_List();
  // Copies share the storage (the three fields are copied as they are); only one of them may
  // ever release it.
  Vlt_List(const Vlt_List&) = default;
  Vlt_List& operator=(const Vlt_List&) = default;

  int AddItem(void* item);
  int AddItemOrNULL(void* item);
  bool InsertItem(void* item, int index);
  void RemoveItem(int index);
  void* GetItem(int index) const {
    return (index < 0 || index >= count_) ? nullptr : items_[index];
  }
  int GetItemCount() const { return count_; }
  void SetItem(void* item, int index);
  bool Allocate(int n);
  void ClearItems();
  void ReleaseItems();

 protected:
  // Grows the storage to truncate(base * 1.25 + 32); base is the request, or the capacity when
  // no request (-1) is given.
  void IncreaseRealListLength(int request = -1);

  void** items_;
  int32_t count_;
  int32_t capacity_;
};
