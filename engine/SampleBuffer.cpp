#include "engine/SampleBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <new>

namespace NSQuillet::NSSampleBuffer {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kHugeFrom = size_t(4) << 20;
// Room before the buffer for the address of the block it was cut from.
constexpr size_t kHeader = 16;

}  // namespace

void* Allocate(size_t bytes, bool zero) {
    if (bytes == 0) bytes = 1;
    const bool huge = bytes >= kHugeFrom;
    const size_t rounded = huge ? (bytes + kHugePage - 1) / kHugePage * kHugePage : bytes;
    const size_t slack = huge ? kHugePage + kHeader : kHeader;
    if (bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
    // Plain operator new, so that allocation failures and accounting stay those of the program.
    auto* block = static_cast<uint8_t*>(::operator new(rounded + slack, std::nothrow));
    if (!block) return nullptr;
    uint8_t* buffer = block + kHeader;
    if (huge) {
        buffer = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(block) + kHeader + kHugePage - 1) &
                                            ~uintptr_t(kHugePage - 1));
        // Advice only: without huge pages the buffer works the same.
        madvise(buffer, rounded, MADV_HUGEPAGE);
    }
    std::memcpy(buffer - sizeof block, &block, sizeof block);
    if (zero) std::memset(buffer, 0, bytes);
    return buffer;
}

void Free(void* buffer) {
    if (!buffer) return;
    void* block = nullptr;
    std::memcpy(&block, static_cast<uint8_t*>(buffer) - sizeof block, sizeof block);
    ::operator delete(block);
}

}  // namespace NSQuillet::NSSampleBuffer
