#include "tests/engine/AllocationFaults.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace NSQuilletTest {

namespace {

std::atomic<size_t> gFaultMinimumSize{0};
std::atomic<int> gFaultAllowed{0};
std::atomic<size_t> gLiveTrackedBytes{0};
thread_local size_t tAllocations = 0;
thread_local bool tWatched = false;
std::atomic<size_t> gWatchedAllocations{0};

bool Refused(size_t size) {
    const size_t minimum = gFaultMinimumSize.load();
    return minimum != 0 && size >= minimum && gFaultAllowed.fetch_sub(1) <= 0;
}

// malloc_usable_size is the allocator's own size of the block, the same on allocation and
// on release; a header in front of the block would hide underruns from the sanitizer.
void* Allocate(size_t size) noexcept {
    ++tAllocations;
    if (tWatched) gWatchedAllocations.fetch_add(1, std::memory_order_relaxed);
    if (Refused(size)) return nullptr;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block) {
        const size_t usable = malloc_usable_size(block);
        if (usable >= kTrackedBlockSize) gLiveTrackedBytes += usable;
    }
    return block;
}

void Release(void* block) noexcept {
    if (!block) return;
    const size_t usable = malloc_usable_size(block);
    if (usable >= kTrackedBlockSize) gLiveTrackedBytes -= usable;
    std::free(block);
}

void* AllocateOrThrow(size_t size) {
    void* block = Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

size_t GetLiveTrackedBytes() { return gLiveTrackedBytes.load(); }

size_t GetThreadAllocationCount() { return tAllocations; }

void WatchThisThread() { tWatched = true; }

size_t GetWatchedThreadAllocationCount() { return gWatchedAllocations.load(); }

CAllocationFaults::CAllocationFaults(size_t minimumSize, int allowed) {
    gFaultAllowed = allowed;
    gFaultMinimumSize = minimumSize;
}

CAllocationFaults::~CAllocationFaults() { gFaultMinimumSize = 0; }

}  // namespace NSQuilletTest

void* operator new(size_t size) { return NSQuilletTest::AllocateOrThrow(size); }
void* operator new[](size_t size) { return NSQuilletTest::AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return NSQuilletTest::Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return NSQuilletTest::Allocate(size); }
void operator delete(void* block) noexcept { NSQuilletTest::Release(block); }
void operator delete[](void* block) noexcept { NSQuilletTest::Release(block); }
void operator delete(void* block, size_t) noexcept { NSQuilletTest::Release(block); }
void operator delete[](void* block, size_t) noexcept { NSQuilletTest::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { NSQuilletTest::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { NSQuilletTest::Release(block); }
