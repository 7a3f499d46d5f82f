#include "formats/nupa/NUPACompressor.h"

#include "formats/nupa/NUPABlockEncoding.h"
#include "formats/nupa/NUPAVectorSupport.h"
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
    const bool vectors = NSNUPA::UseVectors();
    if (fChannelCount == 2) {
        if (vectors) return NSNUPA::EncodeWithVectors<2>(fStream, fStates, frameCount, left, right);
        return NSNUPA::EncodePortably<2>(fStream, fStates, frameCount, left, right);
    }
    if (vectors) return NSNUPA::EncodeWithVectors<1>(fStream, fStates, frameCount, left, right);
    NSNUPA::EncodePortably<1>(fStream, fStates, frameCount, left, right);
}

}  // namespace NSQuillet
