#include "formats/NUPACompressor.h"

#include <algorithm>

#include "formats/NUPACode.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CNUPACompressor::CNUPACompressor(COutputBitStream& stream, uint8_t channelCount)
    : fStream(stream), fChannelCount(channelCount) {
    if (channelCount != 1 && channelCount != 2) throw NSMishap::XStdInvalidArgument("channel count not 1 or 2");
    for (uint8_t i = 0; i < channelCount; ++i) fStates[i].Reset();
}

void CNUPACompressor::Encode16(size_t frameCount, const int16_t* left, const int16_t* right) {
    Encode(frameCount, left, right);
}

void CNUPACompressor::Encode32(size_t frameCount, const int32_t* left, const int32_t* right) {
    Encode(frameCount, left, right);
}

template <class TSample>
void CNUPACompressor::Encode(size_t frameCount, const TSample* left, const TSample* right) {
    if (frameCount == 0) return;
    if (!left || (fChannelCount == 2 && !right)) throw NSMishap::XStdInvalidArgument("missing channel buffer");
    for (size_t i = 0; i < frameCount; ++i) {
        const uint32_t l = uint32_t(int32_t(left[i]));
        EncodeSample(fStates[0], l);
        if (fChannelCount == 2) EncodeSample(fStates[1], uint32_t(int32_t(right[i])) - l);
    }
}

void CNUPACompressor::EncodeSample(SNUPAChannelState& state, uint32_t sample) {
    uint32_t value[5];
    value[0] = sample;
    for (int k = 1; k < 5; ++k) value[k] = value[k - 1] - state.fValue[k - 1];
    const int order = NSNUPA::ChooseOrder(state.fEnergy);
    PutNUPACode(fStream, NSNUPA::Zigzag(value[order]), NSNUPA::Divisor(state.fEnergy[order]));
    std::copy(value, value + 5, state.fValue);
    NSNUPA::UpdateEnergies(state.fEnergy, value);
}

}  // namespace NSQuillet
