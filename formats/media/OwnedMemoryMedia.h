#pragma once

#include <cstdint>
#include <memory>

#include "formats/media/Media.h"

namespace NSQuillet {

// A media that owns its bytes in memory and grows on writes. Bytes between the old size and a
// write beyond it read as zeros.
class COwnedMemoryMedia : public CMedia {
public:
    // Empty. A capacity that memory cannot hold is a std::bad_alloc.
    explicit COwnedMemoryMedia(uint64_t initialCapacity = 0);
    // Holds a copy of `count` bytes from `source`; size and capacity are `count`.
    COwnedMemoryMedia(uint64_t count, const void* source);

    uint64_t GetSize() const override { return fSize; }
    uint64_t GetCapacity() const { return fCapacity; }
    // GetSize() bytes; valid until the next write.
    const uint8_t* GetBytes() const { return fBytes.get(); }

protected:
    // A range that does not lie wholly within the size is an XRead "".
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override;
    // A range ending beyond the capacity grows it by max(1.5 x the part that does not fit,
    // capacity / 4, 100) bytes first; one that memory cannot hold is a std::bad_alloc.
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override;

private:
    void Grow(uint64_t end);

    std::unique_ptr<uint8_t[]> fBytes;
    uint64_t fSize = 0;
    uint64_t fCapacity = 0;
};

}  // namespace NSQuillet
