#pragma once

#include <cstdint>

namespace NSQuillet {

__extension__ typedef __int128 TInt128;

// Frame, tempo and rate conversions: the product is formed exactly, then divided. A zero
// divisor gives 0 (these run on the audio thread, where nothing may throw).

inline int64_t MulDivTruncate(int64_t value, int64_t multiplier, int64_t divisor) {
    if (divisor == 0) return 0;
    return int64_t((TInt128(value) * multiplier) / divisor);
}

// The quotient rounded toward positive infinity.
inline int64_t MulDivRoundUp(int64_t value, int64_t multiplier, int64_t divisor) {
    if (divisor == 0) return 0;
    TInt128 product = TInt128(value) * multiplier;
    TInt128 quotient = product / divisor;
    if (product % divisor != 0 && ((product < 0) == (divisor < 0))) ++quotient;
    return int64_t(quotient);
}

// Nearest multiple of 64, halves away from zero.
inline int64_t Round64(int64_t frames) {
    if (frames >= 0) return (frames + 32) / 64 * 64;
    return -((-frames + 32) / 64 * 64);
}

}  // namespace NSQuillet
