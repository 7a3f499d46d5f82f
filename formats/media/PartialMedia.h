#pragma once

#include <cstdint>

#include "formats/media/ChildMedia.h"

namespace NSQuillet {

// A window onto part of a parent media, at an offset; the parent must outlive it. Transfers
// through it do not move the parent's position (SyncToParent does). Position p of the window is
// position offset + p of the parent; a range whose place in the parent would pass 2^64 - 1 is
// an XRead "" or XWrite "".
class CPartialMedia : public CABCChildMedia {
public:
    static constexpr uint64_t kUnbounded = UINT64_MAX;

    // Read-only window of `size` bytes (kUnbounded: to the parent's end). Reading past the
    // window is an XRead ""; writing is an XIllegalCallSequence "".
    CPartialMedia(CMedia& readOnlyParent, uint64_t offset, uint64_t size);
    // Writable, unbounded window: ranges are checked only by the parent.
    CPartialMedia(CMedia& writableParent, uint64_t offset);

    // The window's size if bounded, else what the parent holds beyond the offset (0 if none).
    uint64_t GetSize() const override;
    void SyncToParent(bool recursive) override;

    bool IsWritable() const { return fWritableParent != nullptr; }
    uint64_t GetOffset() const { return fOffset; }

protected:
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override;
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override;

private:
    CMedia& Parent() const { return fWritableParent ? *fWritableParent : *fReadOnlyParent; }

    CMedia* fReadOnlyParent = nullptr;
    CMedia* fWritableParent = nullptr;
    uint64_t fOffset;
    uint64_t fSize;
};

}  // namespace NSQuillet
