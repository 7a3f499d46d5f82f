#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "foundation/Mutex.h"

using namespace NSQuillet;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

namespace {

// Holds the mutex on another thread until released.
class CHolder {
public:
    explicit CHolder(CMutex& mutex) : fThread([this, &mutex] {
        mutex.Lock();
        fLocked = true;
        while (!fRelease) std::this_thread::sleep_for(milliseconds(1));
        mutex.Unlock();
    }) {
        while (!fLocked) std::this_thread::sleep_for(milliseconds(1));
    }
    ~CHolder() { Release(); }
    void Release() {
        fRelease = true;
        if (fThread.joinable()) fThread.join();
    }
    void ReleaseAfter(milliseconds delay) {
        std::this_thread::sleep_for(delay);
        fRelease = true;
    }

private:
    std::atomic<bool> fLocked{false};
    std::atomic<bool> fRelease{false};
    std::thread fThread;
};

}  // namespace

TEST(Mutex, TryLockAndTimedLockAnswerWhetherTheLockWasTaken) {
    CMutex mutex;
    {
        CHolder holder(mutex);
        EXPECT_FALSE(mutex.TryLock());
        EXPECT_FALSE(mutex.TimedLock(0));
        const auto start = steady_clock::now();
        EXPECT_FALSE(mutex.TimedLock(60));
        EXPECT_GE(steady_clock::now() - start, milliseconds(55));
    }
    EXPECT_TRUE(mutex.TryLock());
    mutex.Unlock();
    EXPECT_TRUE(mutex.TimedLock(10));
    mutex.Unlock();
    CMutexTryLock guard(mutex);
    EXPECT_TRUE(guard.IsLocked());
}

TEST(Mutex, LockWaitsForAHolderThatReleasesLater) {
    CMutex mutex;
    CHolder holder(mutex);
    std::thread releaser([&] { holder.ReleaseAfter(milliseconds(100)); });
    const auto start = steady_clock::now();
    mutex.Lock();
    EXPECT_GE(steady_clock::now() - start, milliseconds(90));
    mutex.Unlock();
    releaser.join();
}

TEST(Mutex, LockKeepsWaitingPastTheFirstFiveSeconds) {
    CMutex mutex;
    CHolder holder(mutex);
    std::thread releaser([&] { holder.ReleaseAfter(milliseconds(5400)); });
    const auto start = steady_clock::now();
    EXPECT_NO_THROW({
        CMutexLock lock(mutex);
    });
    EXPECT_GE(steady_clock::now() - start, milliseconds(5300));
    releaser.join();
}

TEST(Mutex, ALockAbandonedByADeadThreadCountsAsAcquired) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer reports the hand-over of a lock from a dead thread as an error";
#endif
    CMutex mutex;
    std::thread([&] { mutex.Lock(); }).join();
    EXPECT_TRUE(mutex.TryLock());
    mutex.Unlock();
    std::thread([&] { mutex.Lock(); }).join();
    EXPECT_TRUE(mutex.TimedLock(100));
    mutex.Unlock();
    EXPECT_TRUE(mutex.TryLock());
    mutex.Unlock();
}
