#pragma once
#include <cstdint>

// The operating system's recursive lock behind MutexLock: a critical section
// on Windows, a recursive pthread mutex elsewhere. The storage is opaque and
// large enough for either.
struct OsRecursiveLock {
  alignas(16) unsigned char storage[64];
};

void OsLockCreate(OsRecursiveLock& lock);
void OsLockDestroy(OsRecursiveLock& lock);
void OsLockTake(OsRecursiveLock& lock);
void OsLockRelease(OsRecursiveLock& lock);
