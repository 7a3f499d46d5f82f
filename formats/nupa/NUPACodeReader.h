#pragma once

#include <cstdint>
#include <cstring>

#include "formats/nupa/NUPAChannelState.h"
#include "formats/nupa/OptimizedNUPADecompressor.h"

namespace NSQuillet {

// Bit and select primitives of SNUPACodeReader in plain C++. The x86-64 block decoder has its
// own, with the same meaning.
struct SNUPAPortableOps {
    static uint64_t LeadingZeros64(uint64_t x) { return x ? uint64_t(__builtin_clzll(x)) : 64; }
    // `x` above 0.
    static uint64_t LeadingZeros32(uint32_t x) { return uint64_t(__builtin_clz(x)); }
    // `ifBelow` when a < b, else `otherwise`; `mask` all ones when a < b. Without a branch: the
    // condition is a coin toss.
    static uint32_t SelectBelow(uint32_t a, uint32_t b, uint32_t ifBelow, uint32_t otherwise, uint64_t& mask) {
        mask = 0 - uint64_t(a < b);
        return otherwise ^ ((ifBelow ^ otherwise) & uint32_t(mask));
    }
    static uint32_t Unzigzag(uint32_t code) { return NSNUPA::Unzigzag(code); }
};

// The input of one block call of COptimizedNUPADecompressor, held by value so that it stays in
// registers: the next bit as a position in the words the decompressor was given. The common code
// is read straight from those words; any other, and every code near their end, by the
// decompressor's own bit register, which refills. A block decoder constructs one at the start
// and stores it back at the end.
struct SNUPACodeReader {
    const uint32_t* fWords;
    // Below zero as a signed number while the decompressor's register still holds bits of
    // earlier words.
    uint64_t fPosition;
    // Positions below fLimit have the next word after their own; below fFullLimit, the next two.
    uint64_t fLimit;
    uint64_t fFullLimit;

    explicit SNUPACodeReader(const COptimizedNUPADecompressor& owner)
        : fWords(owner.fStart), fPosition(uint64_t(owner.fCursor - owner.fStart) * 32 - uint64_t(owner.fBitCount)) {
        const uint64_t words = uint64_t(owner.fEnd - owner.fStart);
        fLimit = words > 1 ? 32 * (words - 1) : 0;
        fFullLimit = words > 2 ? 32 * (words - 2) : 0;
    }
    void Store(COptimizedNUPADecompressor& owner) const { Store(owner, fWords, fPosition); }

    static SNUPAChannelState& State(COptimizedNUPADecompressor& owner, int slot) { return owner.fStates[slot]; }

    // Two words from `word` on, the first in the high half.
    static uint64_t Pair(const uint32_t* word) {
        uint64_t pair;
        std::memcpy(&pair, word, sizeof pair);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        pair = (pair << 32) | (pair >> 32);
#endif
        return pair;
    }
    // At least 33 bits from the position on; needs a position below fLimit.
    uint64_t Window() const { return Pair(fWords + (fPosition >> 5)) << (fPosition & 31); }
    // 64 bits from the position on; needs a position below fFullLimit.
    uint64_t FullWindow() const {
        const uint32_t* word = fWords + (fPosition >> 5);
        const uint64_t used = fPosition & 31;
        return (Pair(word) << used) | (uint64_t(word[2]) >> (32 - used));
    }

    // The common code from `bits`, which hold at least 32 bits of the stream from its first bit:
    // fewer than seven zeros and a divisor from `energy` above 0 (from any energy it is below
    // 2^25), so at most 32 bits. False for any other code, which the slow path then reads.
    template <class TOps>
    __attribute__((always_inline)) static bool TryCode(uint64_t bits, uint32_t energy, uint32_t& code,
                                                       uint64_t& length) {
        const uint32_t scaled = 3 * energy + 36;
        const uint32_t divisor = scaled >> 7;
        const uint64_t zeros = TOps::LeadingZeros64(bits);
        if (__builtin_expect(divisor == 0 || zeros >= NSNUPA::kRunLength, 0)) return false;
        // b = bits(d) = 25 - lead and t = 2^b - d: the b bits w after the closing 1 hold a short
        // remainder w >> 1 in b - 1 bits when w >> 1 < t, else w - t in b bits.
        const uint64_t lead = TOps::LeadingZeros32(scaled);
        const uint32_t w = uint32_t(((bits << zeros) << 1) >> (39 + lead));
        const uint32_t t = ((uint32_t(1) << 25) >> lead) - divisor;
        const uint32_t half = w >> 1;
        uint64_t isShort;
        code = uint32_t(zeros) * divisor + TOps::SelectBelow(half, t, half, w - t, isShort);
        length = zeros + 26 - lead + isShort;
        return true;
    }

    // The next code, with its divisor from `energy`.
    template <class TOps>
    uint32_t Read(COptimizedNUPADecompressor& owner, uint32_t energy);

private:
    static void Store(COptimizedNUPADecompressor& owner, const uint32_t* words, uint64_t position);
    // The code by the decompressor's register, from `position` in `words`. Takes the reader's
    // state as scalars, so that the reader never has to live in memory.
    static uint32_t ReadSlowly(COptimizedNUPADecompressor& owner, const uint32_t* words, uint64_t position,
                               uint32_t energy);
};

template <class TOps>
__attribute__((always_inline)) inline uint32_t SNUPACodeReader::Read(COptimizedNUPADecompressor& owner, uint32_t energy) {
    uint32_t code;
    uint64_t length;
    if (__builtin_expect(fPosition < fLimit, 1) && TryCode<TOps>(Window(), energy, code, length)) {
        fPosition += length;
        return code;
    }
    code = ReadSlowly(owner, fWords, fPosition, energy);
    *this = SNUPACodeReader(owner);
    return code;
}

}  // namespace NSQuillet
