#include "formats/nupa/OptimizedNUPADecompressor.h"

#include "formats/nupa/NUPABlockDecoding.h"
#include "formats/nupa/NUPAVectorSupport.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

void COptimizedNUPADecompressor::SetInput(size_t wordCount, const uint32_t* words) {
    fStart = words;
    fCursor = words;
    fEnd = words + wordCount;
}

void COptimizedNUPADecompressor::Refill() { throw NSMishap::XOutOfItems("NUPA decompressor underflow"); }

void COptimizedNUPADecompressor::DecodeMono(size_t frameCount, int16_t* out16, int32_t* out32) {
    if (out16) return Decode<1>(frameCount, out16);
    if (!out32) throw NSMishap::XStdInvalidArgument("no output buffer");
    Decode<1>(frameCount, out32);
}

void COptimizedNUPADecompressor::DecodeStereo(size_t frameCount, int16_t* out16, int32_t* out32) {
    if (out16) return Decode<2>(frameCount, out16);
    if (!out32) throw NSMishap::XStdInvalidArgument("no output buffer");
    Decode<2>(frameCount, out32);
}

template <int kChannels, class TSample>
void COptimizedNUPADecompressor::Decode(size_t frameCount, TSample* out) {
    if (NSNUPA::UseVectors()) {
        NSNUPA::DecodeWithVectors<kChannels>(*this, frameCount, out);
    } else {
        NSNUPA::DecodePortably<kChannels>(*this, frameCount, out);
    }
}

void COptimizedNUPADecompressor::Fetch() {
    if (fCursor == fEnd) {
        Refill();
        if (fCursor == fEnd) throw NSMishap::XOutOfItems("NUPA decompressor underflow");
    }
    fBits |= uint64_t(*fCursor++) << (32 - fBitCount);
    fBitCount += 32;
}

uint64_t COptimizedNUPADecompressor::ReadBits(int count) {
    if (count == 0) return 0;
    if (fBitCount < count) Fetch();
    const uint64_t value = fBits >> (64 - count);
    fBits <<= count;
    fBitCount -= count;
    return value;
}

// A valid code is below 2^32, which bounds the run to about a hundred zeros and the divisor to
// 32 bits; anything longer is refused before the sums can overflow.
uint32_t COptimizedNUPADecompressor::ReadCodeSlowly(uint32_t divisor) {
    uint64_t d = divisor;
    uint64_t accumulator = 0;
    uint32_t run = 0;
    for (;;) {
        if (fBitCount == 0) Fetch();
        if (fBits & (uint64_t(1) << 63)) break;
        fBits <<= 1;
        --fBitCount;
        accumulator += d;
        if (accumulator > UINT32_MAX) throw NSMishap::XStdDomainError("bad format");
        if (++run == NSNUPA::kRunLength) {
            run = 0;
            d *= 4;
        }
    }
    fBits <<= 1;
    --fBitCount;
    const int b = NSNUPA::BitLength(d);
    const uint64_t t = (uint64_t(1) << b) - d;
    uint64_t r = ReadBits(b - 1);
    if (r >= t) r = 2 * r + ReadBits(1) - t;
    if (accumulator + r > UINT32_MAX) throw NSMishap::XStdDomainError("bad format");
    return uint32_t(accumulator + r);
}

}  // namespace NSQuillet
