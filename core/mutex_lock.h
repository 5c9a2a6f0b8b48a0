#pragma once
#include "platform/recursive_lock.h"

// A recursive lock: the thread that holds it may take it again; every take is
// matched by one release. Any thread.
class MutexLock {
 public:
  MutexLock() { OsLockCreate(lock_); }
  ~MutexLock() { OsLockDestroy(lock_); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  void Take() { OsLockTake(lock_); }
  void Release() { OsLockRelease(lock_); }

 private:
  OsRecursiveLock lock_;
};

// Holds a lock for the life of a scope, released on every way out. A holder
// given no lock does nothing.
class MutexHolder {
 public:
  explicit MutexHolder(MutexLock* lock) : lock_(lock) {
    if (lock_ != nullptr) lock_->Take();
  }
  explicit MutexHolder(MutexLock& lock) : MutexHolder(&lock) {}
  ~MutexHolder() {
    if (lock_ != nullptr) lock_->Release();
  }
  MutexHolder(const MutexHolder&) = delete;
  MutexHolder& operator=(const MutexHolder&) = delete;

 private:
  MutexLock* lock_;
};
