#include "formats/media/WriteBufferedMedia.h"

#include <algorithm>
#include <cstring>

namespace NSQuillet {

CWriteBufferedMedia::CWriteBufferedMedia(CMedia& target, size_t capacity)
    : fTarget(target), fBuffer(new uint8_t[capacity]), fCapacity(capacity) {}

void CWriteBufferedMedia::Flush() {
    if (fFill == 0) return;
    WriteBytesOf(fTarget, fStart, fFill, fBuffer.get());
    fFill = 0;
}

uint64_t CWriteBufferedMedia::GetSize() const { return std::max(fTarget.GetSize(), fStart + fFill); }

void CWriteBufferedMedia::ReadBytesAt(uint64_t position, uint64_t count, void* destination) {
    Flush();
    ReadBytesOf(fTarget, position, count, destination);
}

void CWriteBufferedMedia::WriteBytesAt(uint64_t position, uint64_t count, const void* source) {
    if (count == 0) return;
    const uint64_t end = fStart + fFill;
    // Inside the buffered bytes, or right after them with room left.
    if (fFill > 0 && position >= fStart && position <= end && count <= fCapacity &&
        position - fStart + count <= fCapacity) {
        const size_t at = size_t(position - fStart);
        std::memcpy(fBuffer.get() + at, source, size_t(count));
        fFill = std::max(fFill, at + size_t(count));
        return;
    }
    Flush();
    if (count >= fCapacity) return WriteBytesOf(fTarget, position, count, source);
    std::memcpy(fBuffer.get(), source, size_t(count));
    fStart = position;
    fFill = size_t(count);
}

}  // namespace NSQuillet
