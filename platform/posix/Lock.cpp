#include <pthread.h>

#include "platform/Platform.h"

namespace vplat {

// Recursive, as a Windows critical section is: code written against one must not deadlock on
// the other.
Lock::Lock() : impl_(new pthread_mutex_t) {
  pthread_mutexattr_t attr;
  ::pthread_mutexattr_init(&attr);
  ::pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  ::pthread_mutex_init(static_cast<pthread_mutex_t*>(impl_), &attr);
  ::pthread_mutexattr_destroy(&attr);
}

Lock::~Lock() {
  ::pthread_mutex_destroy(static_cast<pthread_mutex_t*>(impl_));
  delete static_cast<pthread_mutex_t*>(impl_);
}

void Lock::Enter() { ::pthread_mutex_lock(static_cast<pthread_mutex_t*>(impl_)); }
void Lock::Leave() { ::pthread_mutex_unlock(static_cast<pthread_mutex_t*>(impl_)); }

}  // namespace vplat
