#include "platform/soundport/SampleRing.h"

#include <algorithm>

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

size_t PowerOfTwoAtLeast(size_t value) {
    size_t result = 1;
    while (result < value) result <<= 1;
    return result;
}

}  // namespace

CSampleRing::CSampleRing(size_t minimumCapacity)
    : fCapacity(PowerOfTwoAtLeast(std::max<size_t>(minimumCapacity, 2))),
      fMask(fCapacity - 1),
      fValues(new float[fCapacity]) {}

size_t CSampleRing::Take(float* destination, size_t maximum) {
    const size_t read = fRead.load(std::memory_order_relaxed);
    const size_t count = std::min(maximum, fWritten.load(std::memory_order_acquire) - read);
    for (size_t i = 0; i < count; ++i) destination[i] = fValues[(read + i) & fMask];
    fRead.store(read + count, std::memory_order_release);
    return count;
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
