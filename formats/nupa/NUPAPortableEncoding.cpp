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
    template <class TSink>
    __attribute__((always_inline)) void Encode(TSink& sink, uint32_t sample) {
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
        EmitCode(sink, Zigzag(value), Divisor(least));
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

template <int kChannels, class TSample, class TSink>
TSink EncodeBlock(TSink sink, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                 const TSample* right) {
    SPredictor l(states[0]);
    SPredictor d(states[1]);
    for (size_t i = 0; i < frameCount; ++i) {
        const uint32_t sample = uint32_t(int32_t(left[i]));
        l.Encode(sink, sample);
        if constexpr (kChannels == 2) d.Encode(sink, uint32_t(int32_t(right[i])) - sample);
    }
    l.Store(states[0]);
    if constexpr (kChannels == 2) d.Store(states[1]);
    return sink;
}

}  // namespace

template <int kChannels, class TSample>
void EncodePortably(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                    const TSample* right) {
    // The writer goes in and out by value, so that it stays in registers.
    stream.EndWriting(EncodeBlock<kChannels>(stream.BeginWriting(), states, frameCount, left, right));
}

template <int kChannels, class TSample>
void RecordPortably(uint64_t* codes, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                    const TSample* right) {
    EncodeBlock<kChannels>(codes, states, frameCount, left, right);
}

template void EncodePortably<1, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void EncodePortably<1, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);
template void EncodePortably<2, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void EncodePortably<2, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);
template void RecordPortably<1, int16_t>(uint64_t*, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void RecordPortably<1, int32_t>(uint64_t*, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);
template void RecordPortably<2, int16_t>(uint64_t*, SNUPAChannelState*, size_t, const int16_t*, const int16_t*);
template void RecordPortably<2, int32_t>(uint64_t*, SNUPAChannelState*, size_t, const int32_t*, const int32_t*);

}  // namespace NSNUPA

}  // namespace NSQuillet
