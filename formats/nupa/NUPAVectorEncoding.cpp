#include "formats/nupa/NUPABlockEncoding.h"
#include "formats/nupa/NUPACode.h"
#include "formats/nupa/NUPAVectorPredictor.h"

namespace NSQuillet {

namespace NSNUPA {

#if defined(__x86_64__)

namespace {

template <int kChannels, class TSample>
QUILLET_NUPA_VECTOR_TARGET void EncodeBlock(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount,
                                            const TSample* left, const TSample* right) {
    SNextSample nextLeft, nextDifference;
    CVectorPredictor l(states[0], nextLeft);
    CVectorPredictor d(states[1], nextDifference);
    COutputBitStream::CWriter writer = stream.BeginWriting();
    const TSample* const end = left + frameCount;
    for (; left != end; ++left) {
        const uint32_t sample = uint32_t(int32_t(*left));
        PutNUPACodeQuickly(writer, Zigzag(sample - nextLeft.fBase), Divisor(nextLeft.fLeast));
        nextLeft = l.UpdateWithoutGuessing(sample);
        if constexpr (kChannels == 2) {
            const uint32_t difference = uint32_t(int32_t(*right++)) - sample;
            PutNUPACodeQuickly(writer, Zigzag(difference - nextDifference.fBase), Divisor(nextDifference.fLeast));
            nextDifference = d.UpdateWithoutGuessing(difference);
        }
    }
    stream.EndWriting(writer);
    l.Store(states[0]);
    if constexpr (kChannels == 2) d.Store(states[1]);
}

}  // namespace

template <int kChannels, class TSample>
void EncodeWithVectors(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                       const TSample* right) {
    EncodeBlock<kChannels>(stream, states, frameCount, left, right);
}

#else

template <int kChannels, class TSample>
void EncodeWithVectors(COutputBitStream& stream, SNUPAChannelState* states, size_t frameCount, const TSample* left,
                       const TSample* right) {
    EncodePortably<kChannels>(stream, states, frameCount, left, right);
}

#endif

template void EncodeWithVectors<1, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*,
                                            const int16_t*);
template void EncodeWithVectors<1, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*,
                                            const int32_t*);
template void EncodeWithVectors<2, int16_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int16_t*,
                                            const int16_t*);
template void EncodeWithVectors<2, int32_t>(COutputBitStream&, SNUPAChannelState*, size_t, const int32_t*,
                                            const int32_t*);

}  // namespace NSNUPA

}  // namespace NSQuillet
