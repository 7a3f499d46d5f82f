#pragma once

#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"
#include "formats/nupa/OutputBitStream.h"

namespace NSQuillet {

// Puts one zigzag code with Golomb divisor `divisor` (at least 1): quotient runs of at most
// seven zeros, each full run quadrupling the divisor, a one, then the remainder in truncated
// binary for the final divisor.
void PutNUPACode(COutputBitStream& stream, uint32_t code, uint32_t divisor);
// By value, so that a caller's writer never has to live in memory.
COutputBitStream::CWriter PutNUPACode(COutputBitStream::CWriter writer, uint32_t code, uint32_t divisor);

// The same, for a divisor below 2^25 (as from any energy): a quotient below 7 makes the whole code
// one put of at most 32 bits, the zeros, the closing 1 and the remainder in b - 1 or b bits.
__attribute__((always_inline)) inline void PutNUPACodeQuickly(COutputBitStream::CWriter& writer, uint32_t code,
                                                               uint32_t divisor) {
    const uint32_t quotient = code / divisor;
    if (__builtin_expect(quotient >= NSNUPA::kRunLength, 0)) {
        writer = PutNUPACode(writer, code, divisor);
        return;
    }
    const uint32_t remainder = code - quotient * divisor;
    const int top = 31 ^ __builtin_clz(divisor);  // bits(d) - 1
    const uint32_t t = (uint32_t(2) << top) - divisor;
    // Short and long remainders are equally likely: a mask, where the compilers would branch.
    const uint32_t isLong = 0u - uint32_t(remainder >= t);
    const int bits = top - int32_t(isLong);
    writer.Put((uint32_t(1) << bits) | (remainder + (t & isLong)), int(quotient) + 1 + bits);
}

}  // namespace NSQuillet
