#include "formats/media/PartialMedia.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

// The starting position is the parent's position minus the offset, modulo 2^64, so that
// SyncToParent right away restores the parent's position exactly.
CPartialMedia::CPartialMedia(CMedia& readOnlyParent, uint64_t offset, uint64_t size)
    : fReadOnlyParent(&readOnlyParent), fOffset(offset), fSize(size) {
    SetPosition(readOnlyParent.GetPosition() - offset);
}

CPartialMedia::CPartialMedia(CMedia& writableParent, uint64_t offset)
    : fWritableParent(&writableParent), fOffset(offset), fSize(kUnbounded) {
    SetPosition(writableParent.GetPosition() - offset);
}

uint64_t CPartialMedia::GetSize() const {
    if (fSize != kUnbounded) return fSize;
    const uint64_t parentSize = Parent().GetSize();
    return parentSize > fOffset ? parentSize - fOffset : 0;
}

void CPartialMedia::SyncToParent(bool recursive) { MoveParent(Parent(), fOffset + GetPosition(), recursive); }

void CPartialMedia::ReadBytesAt(uint64_t position, uint64_t count, void* destination) {
    if (fReadOnlyParent && fSize != kUnbounded && (count > fSize || position > fSize - count)) {
        throw NSMishap::XRead("");
    }
    if (position > UINT64_MAX - fOffset) throw NSMishap::XRead("");
    ReadBytesOf(Parent(), fOffset + position, count, destination);
}

void CPartialMedia::WriteBytesAt(uint64_t position, uint64_t count, const void* source) {
    if (!fWritableParent) throw NSMishap::XIllegalCallSequence("");
    if (position > UINT64_MAX - fOffset) throw NSMishap::XWrite("");
    WriteBytesOf(*fWritableParent, fOffset + position, count, source);
}

}  // namespace NSQuillet
