#include "formats/iff/IFFByteOrder.h"

#include "formats/media/MediaPrimitives.h"

namespace NSQuillet {

uint32_t ReadChunkSize(CMedia& media, EIFFByteOrder order) {
    if (order == EIFFByteOrder::kBigEndian) return ReadU32(media);
    uint8_t bytes[4];
    media.Read(4, bytes);
    return (uint32_t(bytes[3]) << 24) | (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[1]) << 8) | uint32_t(bytes[0]);
}

void WriteChunkSize(CMedia& media, EIFFByteOrder order, uint32_t size) {
    if (order == EIFFByteOrder::kBigEndian) return WriteU32(media, size);
    const uint8_t bytes[4] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
    media.Write(4, bytes);
}

}  // namespace NSQuillet
