#include "formats/media/OwnedMemoryMedia.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kMinimumGrowth = 100;

// Zero-filled, so that gaps left by writes beyond the size read as zeros.
std::unique_ptr<uint8_t[]> Allocate(uint64_t capacity) {
    if (capacity > uint64_t(PTRDIFF_MAX)) throw std::bad_alloc();
    return std::make_unique<uint8_t[]>(size_t(capacity));
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

}  // namespace

COwnedMemoryMedia::COwnedMemoryMedia(uint64_t initialCapacity)
    : fBytes(Allocate(initialCapacity)), fCapacity(initialCapacity) {}

COwnedMemoryMedia::COwnedMemoryMedia(uint64_t count, const void* source)
    : fBytes(Allocate(count)), fSize(count), fCapacity(count) {
    if (count > 0) std::memcpy(fBytes.get(), source, size_t(count));
}

void COwnedMemoryMedia::ReadBytesAt(uint64_t position, uint64_t count, void* destination) {
    if (count > fSize || position > fSize - count) throw NSMishap::XRead("");
    if (count > 0) std::memcpy(destination, fBytes.get() + position, size_t(count));
}

void COwnedMemoryMedia::WriteBytesAt(uint64_t position, uint64_t count, const void* source) {
    if (count > UINT64_MAX - position) throw std::bad_alloc();
    const uint64_t end = position + count;
    if (end > fCapacity) Grow(end);
    if (end > fSize) fSize = end;
    if (count > 0) std::memcpy(fBytes.get() + position, source, size_t(count));
}

void COwnedMemoryMedia::Grow(uint64_t end) {
    const uint64_t shortfall = end - fCapacity;
    const uint64_t growth = std::max({SaturatingAdd(shortfall, shortfall / 2), fCapacity / 4, kMinimumGrowth});
    const uint64_t capacity = SaturatingAdd(fCapacity, growth);
    std::unique_ptr<uint8_t[]> bytes = Allocate(capacity);
    if (fSize > 0) std::memcpy(bytes.get(), fBytes.get(), size_t(fSize));
    fBytes = std::move(bytes);
    fCapacity = capacity;
}

}  // namespace NSQuillet
