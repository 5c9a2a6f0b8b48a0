#include <windows.h>

#include <new>

#include "platform/recursive_lock.h"

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(OsRecursiveLock::storage),
              "lock storage too small");

namespace {
CRITICAL_SECTION* Section(OsRecursiveLock& lock) {
  return std::launder(reinterpret_cast<CRITICAL_SECTION*>(lock.storage));
}
}  // namespace

void OsLockCreate(OsRecursiveLock& lock) {
  InitializeCriticalSection(new (lock.storage) CRITICAL_SECTION);
}
void OsLockDestroy(OsRecursiveLock& lock) {
  DeleteCriticalSection(Section(lock));
}
void OsLockTake(OsRecursiveLock& lock) {
  EnterCriticalSection(Section(lock));
}
void OsLockRelease(OsRecursiveLock& lock) {
  LeaveCriticalSection(Section(lock));
}
