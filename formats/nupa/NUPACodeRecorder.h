#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"

namespace NSQuillet {

// The prediction half of CNUPACompressor: the codes a compressor would put for the same calls,
// recorded as (divisor << 32) | zigzag code, one per channel per frame (left, then the
// difference); PutRecordedNUPACodes packs them into the same bits. So the two halves can run on
// different threads. Any thread, one at a time; never allocates.
class CNUPACodeRecorder {
public:
    // `channelCount` 1 or 2; any other is an XStdInvalidArgument.
    explicit CNUPACodeRecorder(uint8_t channelCount);

    // As CNUPACompressor::Encode16 and Encode32, into `codes`, which holds channels x
    // frameCount entries.
    void Record16(size_t frameCount, const int16_t* left, const int16_t* right, uint64_t* codes);
    void Record32(size_t frameCount, const int32_t* left, const int32_t* right, uint64_t* codes);

    const SNUPAChannelState& GetState(int slot) const { return fStates[slot]; }

private:
    template <class TSample>
    void Record(size_t frameCount, const TSample* left, const TSample* right, uint64_t* codes);

    uint8_t fChannelCount;
    SNUPAChannelState fStates[2];
};

}  // namespace NSQuillet
