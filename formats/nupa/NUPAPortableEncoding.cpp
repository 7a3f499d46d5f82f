#include "formats/nupa/NUPABlockEncoding.h"
#include "formats/nupa/NUPACode.h"
#include "formats/nupa/NUPALocalPredictor.h"

namespace NSQuillet {

namespace NSNUPA {

namespace {

struct SPredictor : SLocalPredictor {
    using SLocalPredictor::SLocalPredictor;

    // The order of least energy (the lowest on ties) codes its new value; then every energy
    // takes in its own.
    __attribute__((always_inline)) void Encode(COutputBitStream::CWriter& writer, uint32_t sample) {
        const uint32_t v1 = sample - fV0;
        const uint32_t v2 = v1 - fV1;
        const uint32_t v3 = v2 - fV2;
        const uint32_t v4 = v3 - fV3;
        uint32_t least = fE0;
        uint32_t value = sample;
        if (fE1 < least) least = fE1, value = v1;
        if (fE2 < least) least = fE2, value = v2;
        if (fE3 < least) least = fE3, value = v3;
        if (fE4 < least) least = fE4, value = v4;
        PutNUPACodeQuickly(writer, Zigzag(value), Divisor(least));
        fV0 = sample;
        fV1 = v1;
        fV2 = v2;
        fV3 = v3;
        fV4 = v4;
        fE0 = fE0 - (fE0 >> 5) + Zigzag(sample);
        fE1 = fE1 - (fE1 >> 5) + Zigzag(v1);
        fE2 = fE2 - (fE2 >> 5) + Zigzag(v2);
        fE3 = fE3 - (fE3 >> 5) + Zigzag(v3);
        fE4 = fE4 - (fE4 >> 5) + Zigzag(v4);
    }

};

}  // namespace

template <int kChannels, class TSample>
void EncodePortably(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                    const TSample* right) {
    SPredictor l(states[0]);
    SPredictor d(states[1]);
    COutputBitStream::CWriter writer = stream.BeginWriting();
    for (size_t i = 0; i < frameCount; ++i) {
        const uint32_t sample = uint32_t(int32_t(left[i]));
        l.Encode(writer, sample);
        if constexpr (kChannels == 2) d.Encode(writer, uint32_t(int32_t(right[i])) - sample);
    }
    stream.EndWriting(writer);
    l.Store(states[0]);
    if constexpr (kChannels == 2) d.Store(states[1]);
}

template void EncodePortably<1, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void EncodePortably<1, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);
template void EncodePortably<2, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void EncodePortably<2, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);

}  // namespace NSNUPA

}  // namespace NSQuillet
