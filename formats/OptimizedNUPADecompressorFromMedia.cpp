#include "formats/OptimizedNUPADecompressorFromMedia.h"

#include <algorithm>

#include "foundation/Mishap.h"

namespace NSQuillet {

COptimizedNUPADecompressorFromMedia::COptimizedNUPADecompressorFromMedia(CMedia& media)
    : fMedia(media), fBuffer(new uint32_t[kBufferWords]) {}

void COptimizedNUPADecompressorFromMedia::Refill() {
    const uint64_t size = fMedia.GetSize();
    const uint64_t position = fMedia.GetPosition();
    const uint64_t remaining = position < size ? size - position : 0;
    const size_t words = size_t(std::min<uint64_t>(remaining / 4, kBufferWords));
    if (words == 0) throw NSMishap::XStdDomainError("bad format");
    uint8_t* bytes = reinterpret_cast<uint8_t*>(fBuffer.get());
    fMedia.Read(words * 4, bytes);
    for (size_t i = 0; i < words; ++i) {
        const uint8_t* b = bytes + 4 * i;
        fBuffer[i] = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    }
    SetInput(words, fBuffer.get());
}

}  // namespace NSQuillet
