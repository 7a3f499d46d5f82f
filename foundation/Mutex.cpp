#include "foundation/Mutex.h"

#include <cerrno>
#include <ctime>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kFirstWaitMilliseconds = 5000;

timespec DeadlineAfter(uint32_t milliseconds) {
    timespec deadline;
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += long(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

}  // namespace

CMutex::CMutex() {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) throw NSMishap::XStdRuntimeError("cannot create mutex");
    // Robust: a lock held by a thread that died is handed to the next waiter with EOWNERDEAD.
    int result = pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    if (result == 0) result = pthread_mutex_init(&fMutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (result != 0) throw NSMishap::XStdRuntimeError("cannot create mutex");
}

CMutex::~CMutex() { pthread_mutex_destroy(&fMutex); }

bool CMutex::Acquired(int result) {
    switch (result) {
        case 0: return true;
        case EOWNERDEAD:
            pthread_mutex_consistent(&fMutex);
            return true;
        case EBUSY:
        case ETIMEDOUT: return false;
        default: throw NSMishap::XStdRuntimeError("mutex wait failed");
    }
}

void CMutex::Lock() {
    if (TimedLock(kFirstWaitMilliseconds)) return;
    if (!Acquired(pthread_mutex_lock(&fMutex))) throw NSMishap::XStdRuntimeError("mutex wait failed");
}

bool CMutex::TryLock() { return Acquired(pthread_mutex_trylock(&fMutex)); }

bool CMutex::TimedLock(uint32_t milliseconds) {
    if (milliseconds == 0) return TryLock();
    timespec deadline = DeadlineAfter(milliseconds);
    return Acquired(pthread_mutex_timedlock(&fMutex, &deadline));
}

void CMutex::Unlock() { pthread_mutex_unlock(&fMutex); }

}  // namespace NSQuillet
