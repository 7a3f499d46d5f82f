#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"
#include "formats/nupa/OutputBitStream.h"

namespace NSQuillet {

// Encodes a mono or stereo sound into one continuous NUPA bit stream, by any number of block
// calls in frame order; the predictor states carry over from one call to the next. Stereo is
// coded as left plus (right - left), alternating frame by frame. The stream must outlive the
// compressor. User-interface thread; never allocates.
class CNUPACompressor {
public:
    // `channelCount` 1 or 2; any other is an XStdInvalidArgument.
    CNUPACompressor(COutputBitStream& stream, uint8_t channelCount);

    // `frameCount` samples from each channel's buffer; `right` null for mono (a stereo
    // compressor without it is an XStdInvalidArgument). 16-bit sound from int16_t, 24-bit sound
    // from int32_t holding the 24-bit value.
    void Encode16(size_t frameCount, const int16_t* left, const int16_t* right);
    void Encode32(size_t frameCount, const int32_t* left, const int32_t* right);

    // Slot 0 left or mono, slot 1 the stereo difference.
    const SNUPAChannelState& GetState(int slot) const { return fStates[slot]; }

private:
    template <class TSample>
    void Encode(size_t frameCount, const TSample* left, const TSample* right);

    COutputBitStream& fStream;
    uint8_t fChannelCount;
    SNUPAChannelState fStates[6];
};

}  // namespace NSQuillet
