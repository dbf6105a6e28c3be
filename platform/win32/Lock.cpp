#include <windows.h>

#include "platform/Platform.h"

namespace vplat {

Lock::Lock() : impl_(new CRITICAL_SECTION) {
  ::InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(impl_));
}

Lock::~Lock() {
  ::DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(impl_));
  delete static_cast<CRITICAL_SECTION*>(impl_);
}

void Lock::Enter() { ::EnterCriticalSection(static_cast<CRITICAL_SECTION*>(impl_)); }
void Lock::Leave() { ::LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(impl_)); }

}  // namespace vplat
