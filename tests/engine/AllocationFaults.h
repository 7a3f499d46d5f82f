#pragma once

#include <cstddef>

namespace NSQuilletTest {

// This test program replaces the global operator new and delete with versions over malloc
// that can be told to fail and that count the bytes of large blocks alive. Nothing is
// touched before an allocation is granted, so a refused huge request costs nothing, in the
// plain and in the sanitizer build alike.

// Blocks at least this large are counted.
constexpr size_t kTrackedBlockSize = 4096;

// Bytes held by live blocks of at least kTrackedBlockSize bytes, as the allocator sizes them.
size_t GetLiveTrackedBytes();

// Allocations the calling thread has made so far, of any size: the real-time tests take the
// difference around audio-thread work.
size_t GetThreadAllocationCount();

// Allocations, of any size, made by every thread that called WatchThisThread after the call:
// for threads the test does not run itself, such as a device's callback thread.
void WatchThisThread();
size_t GetWatchedThreadAllocationCount();

// While it exists, allocations of at least `minimumSize` bytes fail with std::bad_alloc once
// `allowed` of them have been granted. Not nestable; single thread.
class CAllocationFaults {
public:
    CAllocationFaults(size_t minimumSize, int allowed);
    ~CAllocationFaults();
    CAllocationFaults(const CAllocationFaults&) = delete;
    CAllocationFaults& operator=(const CAllocationFaults&) = delete;
};

}  // namespace NSQuilletTest
