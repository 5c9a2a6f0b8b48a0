#include <pthread.h>

#include <new>

#include "platform/recursive_lock.h"

static_assert(sizeof(pthread_mutex_t) <= sizeof(OsRecursiveLock::storage),
              "lock storage too small");

namespace {
pthread_mutex_t* Mutex(OsRecursiveLock& lock) {
  return std::launder(reinterpret_cast<pthread_mutex_t*>(lock.storage));
}
}  // namespace

void OsLockCreate(OsRecursiveLock& lock) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (lock.storage) pthread_mutex_t, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

void OsLockDestroy(OsRecursiveLock& lock) {
  pthread_mutex_destroy(Mutex(lock));
}
void OsLockTake(OsRecursiveLock& lock) {
  pthread_mutex_lock(Mutex(lock));
}
void OsLockRelease(OsRecursiveLock& lock) {
  pthread_mutex_unlock(Mutex(lock));
}
