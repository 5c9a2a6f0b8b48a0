#include "core/mutex_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace {

constexpr int kPatienceMs = 5000;  // long enough for a loaded machine or Wine
constexpr int kBlockedMs = 100;    // how long a blocked thread is watched

void SleepMs(int ms) {
#if defined(_WIN32)
  Sleep(static_cast<DWORD>(ms));
#else
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

// True once flag is set, waiting at most ms milliseconds.
bool SetWithin(const std::atomic<bool>& flag, int ms) {
  for (int waited = 0; !flag; waited += 5) {
    if (waited >= ms) {
      return false;
    }
    SleepMs(5);
  }
  return true;
}

// A task on a second thread, built on the operating system's threads where the
// C++ library has none (mingw-w64 with win32 threads).
class SecondThread {
 public:
  explicit SecondThread(std::function<void()> task) : state_(std::make_shared<State>()) {
    state_->task = std::move(task);
    auto* keepAlive = new std::shared_ptr<State>(state_);
#if defined(_WIN32)
    HANDLE handle = CreateThread(nullptr, 0, &Run, keepAlive, 0, nullptr);
    if (handle == nullptr) {
      delete keepAlive;
      ADD_FAILURE() << "CreateThread failed";
      state_->done = true;
      return;
    }
    CloseHandle(handle);
#else
    std::thread([keepAlive] { Run(keepAlive); }).detach();
#endif
  }

  // True once the task has finished, waiting at most ms milliseconds.
  bool FinishedWithin(int ms) const {
    return SetWithin(state_->done, ms);
  }

 private:
  struct State {
    std::function<void()> task;
    std::atomic<bool> done{false};
  };

#if defined(_WIN32)
  static DWORD WINAPI Run(void* keepAlive) {
#else
  static void Run(void* keepAlive) {
#endif
    auto* state = static_cast<std::shared_ptr<State>*>(keepAlive);
    (*state)->task();
    (*state)->done = true;
    delete state;
#if defined(_WIN32)
    return 0;
#endif
  }

  std::shared_ptr<State> state_;
};

// Threads still blocked on the lock when a test ends keep it alive: destroying
// a lock with a waiter is undefined, so a failing test leaks it instead of
// crashing.
class MutexLockTest : public testing::Test {
 protected:
  ~MutexLockTest() override {
    bool allDone = true;
    for (const auto& thread : threads_) allDone = thread->FinishedWithin(kPatienceMs) && allDone;
    if (allDone) delete lock_;
  }

  // Starts a thread that takes the lock and releases it.
  const SecondThread& StartTaker() {
    MutexLock* lock = lock_;
    threads_.push_back(std::make_unique<SecondThread>([lock] {
      lock->Take();
      lock->Release();
    }));
    return *threads_.back();
  }

  bool FreeForAnotherThread() { return StartTaker().FinishedWithin(kPatienceMs); }
  bool BlocksAnotherThread() { return !StartTaker().FinishedWithin(kBlockedMs); }

  enum Exit { kEnd, kEarlyReturn, kThrow };

  // Leaves a scope guarded by a holder of lock by the given way; notes whether
  // another thread was kept out of the lock inside the scope.
  int LeaveHeldScope(MutexLock* lock, Exit exit, bool* blockedInside) {
    MutexHolder holder(lock);
    *blockedInside = BlocksAnotherThread();
    if (exit == kEarlyReturn) return 1;
    if (exit == kThrow) throw std::runtime_error("leaving by exception");
    return 2;
  }

  MutexLock* lock_ = new MutexLock;
  std::vector<std::unique_ptr<SecondThread>> threads_;
};

TEST_F(MutexLockTest, HolderMayTakeItAgain) {
  // On a second thread, so a lock that is not recursive blocks that thread only.
  MutexLock* lock = lock_;
  threads_.push_back(std::make_unique<SecondThread>([lock] {
    lock->Take();
    lock->Take();
    lock->Release();
    lock->Release();
  }));
  ASSERT_TRUE(threads_.back()->FinishedWithin(kPatienceMs));
  EXPECT_TRUE(FreeForAnotherThread());
}

TEST_F(MutexLockTest, FreeOnlyAfterEveryTakeIsReleased) {
  // The holder runs on a second thread too, so a lock that is not recursive
  // fails the test instead of blocking it. Flags are shared with the thread,
  // which may outlive a failing test.
  struct Flags {
    std::atomic<bool> takenTwiceReleasedOnce{false};
    std::atomic<bool> releaseLast{false};
  };
  auto flags = std::make_shared<Flags>();
  MutexLock* lock = lock_;
  threads_.push_back(std::make_unique<SecondThread>([lock, flags] {
    lock->Take();
    lock->Take();
    lock->Release();
    flags->takenTwiceReleasedOnce = true;
    SetWithin(flags->releaseLast, kPatienceMs);
    lock->Release();
  }));
  ASSERT_TRUE(SetWithin(flags->takenTwiceReleasedOnce, kPatienceMs));

  const SecondThread& waiter = StartTaker();
  EXPECT_FALSE(waiter.FinishedWithin(kBlockedMs));

  flags->releaseLast = true;
  EXPECT_TRUE(waiter.FinishedWithin(kPatienceMs));
}

TEST_F(MutexLockTest, HolderReleasesOnEveryWayOut) {
  struct Case {
    bool withLock;
    Exit exit;
    int result;
  };
  const std::vector<Case> cases = {
      {true, kEnd, 2},  {true, kEarlyReturn, 1},  {true, kThrow, 0},
      {false, kEnd, 2}, {false, kEarlyReturn, 1}, {false, kThrow, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "with lock " << c.withLock << ", exit " << c.exit);
    bool blockedInside = false;
    int result = 0;
    try {
      result = LeaveHeldScope(c.withLock ? lock_ : nullptr, c.exit, &blockedInside);
    } catch (const std::runtime_error&) {
      EXPECT_EQ(c.exit, kThrow);
    }
    EXPECT_EQ(result, c.result);
    // A holder given no lock takes nothing.
    EXPECT_EQ(blockedInside, c.withLock);
    ASSERT_TRUE(FreeForAnotherThread());
  }
}

}  // namespace
