#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"

namespace NSQuillet {

// Decodes a NUPA bit stream given as native 32-bit words, by any number of block calls over
// the frames in order; states and unread bits carry over between calls. Never reads outside the
// words it was given. A code whose value cannot fit 32 bits is an XStdDomainError "bad format";
// other corruption decodes to wrong samples. Any thread, one at a time; never allocates.
class COptimizedNUPADecompressor {
public:
    COptimizedNUPADecompressor() = default;
    virtual ~COptimizedNUPADecompressor() = default;
    COptimizedNUPADecompressor(const COptimizedNUPADecompressor&) = delete;
    COptimizedNUPADecompressor& operator=(const COptimizedNUPADecompressor&) = delete;

    // The next `wordCount` words of the stream; they must stay valid while they are decoded.
    void SetInput(size_t wordCount, const uint32_t* words);

    // `frameCount` frames into `out16` (16-bit sound) or, when it is null, into `out32` (24-bit
    // sound); stereo frames are interleaved left, right. Both null is an XStdInvalidArgument.
    void DecodeMono(size_t frameCount, int16_t* out16, int32_t* out32);
    void DecodeStereo(size_t frameCount, int16_t* out16, int32_t* out32);

    // Slot 0 left or mono, slot 1 the stereo difference.
    const SNUPAChannelState& GetState(int slot) const { return fStates[slot]; }

protected:
    // Called when a word is needed and the input is exhausted: must call SetInput with at least
    // one word or throw. This one throws XOutOfItems "NUPA decompressor underflow".
    virtual void Refill();

private:
    template <int kChannels, class TSample>
    void Decode(size_t frameCount, TSample* out);

    // The code of one value with divisor `divisor` (at least 1) from the bit register: any run
    // length and remainder size, refilling as bits are needed.
    uint32_t ReadCodeSlowly(uint32_t divisor);
    // Needs fBitCount <= 32.
    void Fetch();
    uint64_t ReadBits(int count);

    SNUPAChannelState fStates[6];
    // The words given to SetInput: fStart up to fEnd, fCursor the first not yet in the register.
    const uint32_t* fStart = nullptr;
    const uint32_t* fCursor = nullptr;
    const uint32_t* fEnd = nullptr;
    // Unread bits, the next one at bit 63; the fBitCount valid ones are followed by zeros.
    uint64_t fBits = 0;
    int fBitCount = 0;

    // The block decoders' input, which works on the words and the register.
    friend struct SNUPACodeReader;
};

}  // namespace NSQuillet
