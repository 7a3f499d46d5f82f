#include "formats/media/Media.h"

#include <cstdint>

#include "foundation/Mishap.h"

namespace NSQuillet {

void CMedia::ReadAt(uint64_t position, uint64_t count, void* destination) {
    ReadBytesAt(position, count, destination);
    fPosition = position + count;
}

void CMedia::WriteAt(uint64_t position, uint64_t count, const void* source) {
    WriteBytesAt(position, count, source);
    fPosition = position + count;
}

void CMedia::Skip(int64_t delta) {
    const uint64_t magnitude = delta < 0 ? uint64_t(0) - uint64_t(delta) : uint64_t(delta);
    if (delta < 0 ? magnitude > fPosition : magnitude > UINT64_MAX - fPosition) {
        throw NSMishap::XStdOutOfRange("skip outside the position range");
    }
    fPosition = delta < 0 ? fPosition - magnitude : fPosition + magnitude;
}

}  // namespace NSQuillet
