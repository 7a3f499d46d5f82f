#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// A lock-free ring of floats between one producer thread and one consumer thread. The
// storage is allocated at construction; neither side ever blocks or allocates.
class CSampleRing {
public:
    // Holds at least `minimumCapacity` values (rounded up to a power of two).
    explicit CSampleRing(size_t minimumCapacity);
    CSampleRing(const CSampleRing&) = delete;
    CSampleRing& operator=(const CSampleRing&) = delete;

    // Producer: values that may be put before the next Publish.
    size_t GetFreeCount() const {
        return fCapacity - (fWritten.load(std::memory_order_relaxed) - fRead.load(std::memory_order_acquire));
    }
    // Producer: the value `offset` places after the last published one; offset < GetFreeCount().
    void Put(size_t offset, float value) {
        fValues[(fWritten.load(std::memory_order_relaxed) + offset) & fMask] = value;
    }
    // Producer: makes the first `count` put values readable.
    void Publish(size_t count) { fWritten.store(fWritten.load(std::memory_order_relaxed) + count, std::memory_order_release); }

    // Consumer: moves up to `maximum` values into `destination`; answers how many.
    size_t Take(float* destination, size_t maximum);

private:
    size_t fCapacity;
    size_t fMask;
    std::unique_ptr<float[]> fValues;
    alignas(64) std::atomic<size_t> fWritten{0};
    alignas(64) std::atomic<size_t> fRead{0};
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
