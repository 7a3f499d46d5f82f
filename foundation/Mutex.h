#pragma once

#include <pthread.h>

#include <cstdint>

namespace NSQuillet {

// The engine's lock. A mutex left locked by a thread that died counts as acquired by the next
// waiter. Wait results other than acquired and timed out are an XStdRuntimeError.
class CMutex {
public:
    // Failure to create the mutex is an XStdRuntimeError "cannot create mutex".
    CMutex();
    ~CMutex();
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    // Waits up to 5000 ms and, if that times out, without limit. May block: never on the audio thread.
    void Lock();
    // Waits 0 ms. Never blocks: the audio thread's way in.
    bool TryLock();
    // Waits at most `milliseconds`; answers whether the lock was taken.
    bool TimedLock(uint32_t milliseconds);
    void Unlock();

private:
    bool Acquired(int result);

    pthread_mutex_t fMutex;
};

// Holds a CMutex for its scope (Lock semantics).
class CMutexLock {
public:
    explicit CMutexLock(CMutex& mutex) : fMutex(mutex) { fMutex.Lock(); }
    ~CMutexLock() { fMutex.Unlock(); }
    CMutexLock(const CMutexLock&) = delete;
    CMutexLock& operator=(const CMutexLock&) = delete;

private:
    CMutex& fMutex;
};

// Holds a CMutex for its scope when a try-lock got it.
class CMutexTryLock {
public:
    explicit CMutexTryLock(CMutex& mutex) : fMutex(mutex), fLocked(mutex.TryLock()) {}
    ~CMutexTryLock() {
        if (fLocked) fMutex.Unlock();
    }
    CMutexTryLock(const CMutexTryLock&) = delete;
    CMutexTryLock& operator=(const CMutexTryLock&) = delete;
    bool IsLocked() const { return fLocked; }

private:
    CMutex& fMutex;
    bool fLocked;
};

}  // namespace NSQuillet
