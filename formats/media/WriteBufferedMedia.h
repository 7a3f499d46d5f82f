#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "formats/media/Media.h"

namespace NSQuillet {

// A media over another that gathers writes into one buffer, so that many small writes (chunk
// fields, sizes patched behind them) reach the target as few large ones. A write that follows
// the buffered bytes or lands inside them stays in the buffer; any other write, a full buffer, a
// read and Flush pass the buffered bytes on first, in one write at their place. The target ends
// with the bytes it would have had from the same writes made directly; its failures come from
// the call that passes the bytes on. Bytes not yet flushed when the media is destroyed are
// dropped: call Flush to keep them. The target must outlive it; its position is not used.
class CWriteBufferedMedia final : public CMedia {
public:
    static constexpr size_t kDefaultCapacity = size_t(1) << 16;

    explicit CWriteBufferedMedia(CMedia& target, size_t capacity = kDefaultCapacity);

    void Flush();
    // The target's size, or the end of the buffered bytes if that is further.
    uint64_t GetSize() const override;

protected:
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override;
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override;

private:
    CMedia& fTarget;
    std::unique_ptr<uint8_t[]> fBuffer;
    size_t fCapacity;
    // The buffered bytes belong at fStart .. fStart + fFill of the target.
    uint64_t fStart = 0;
    size_t fFill = 0;
};

}  // namespace NSQuillet
