#include "formats/nupa/NUPABlockDecoding.h"
#include "formats/nupa/NUPACodeReader.h"
#include "formats/nupa/NUPALocalPredictor.h"

namespace NSQuillet {

namespace NSNUPA {

namespace {

struct SPredictor : SLocalPredictor {
    using SLocalPredictor::SLocalPredictor;

    // One sample. The order of least energy (the lowest on ties) gives the divisor; with the sums
    // of the old values below each order, value[0] = the sum below the order + the value read,
    // and value[k] = value[0] - the sum below k.
    __attribute__((always_inline)) uint32_t Decode(COptimizedNUPADecompressor& decompressor, SNUPACodeReader& reader) {
        const uint32_t below1 = fV0;
        const uint32_t below2 = below1 + fV1;
        const uint32_t below3 = below2 + fV2;
        const uint32_t below4 = below3 + fV3;
        uint32_t least = fE0;
        uint32_t base = 0;
        if (fE1 < least) least = fE1, base = below1;
        if (fE2 < least) least = fE2, base = below2;
        if (fE3 < least) least = fE3, base = below3;
        if (fE4 < least) least = fE4, base = below4;
        const uint32_t sample = base + Unzigzag(reader.Read<SNUPAPortableOps>(decompressor, least));
        fV0 = sample;
        fV1 = sample - below1;
        fV2 = sample - below2;
        fV3 = sample - below3;
        fV4 = sample - below4;
        fE0 = fE0 - (fE0 >> 5) + Zigzag(fV0);
        fE1 = fE1 - (fE1 >> 5) + Zigzag(fV1);
        fE2 = fE2 - (fE2 >> 5) + Zigzag(fV2);
        fE3 = fE3 - (fE3 >> 5) + Zigzag(fV3);
        fE4 = fE4 - (fE4 >> 5) + Zigzag(fV4);
        return sample;
    }

};

}  // namespace

// A failure leaves the decompressor unusable: the states stay as the block found them, the bits
// wherever the failing code left them.
template <int kChannels, class TSample>
void DecodePortably(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out) {
    SNUPACodeReader reader(decompressor);
    SPredictor left(SNUPACodeReader::State(decompressor, 0));
    SPredictor difference(SNUPACodeReader::State(decompressor, 1));
    for (size_t i = 0; i < frameCount; ++i) {
        const uint32_t l = left.Decode(decompressor, reader);
        if constexpr (kChannels == 1) {
            out[i] = TSample(l);
        } else {
            const uint32_t d = difference.Decode(decompressor, reader);
            out[2 * i] = TSample(l);
            out[2 * i + 1] = TSample(l + d);
        }
    }
    reader.Store(decompressor);
    left.Store(SNUPACodeReader::State(decompressor, 0));
    if constexpr (kChannels == 2) difference.Store(SNUPACodeReader::State(decompressor, 1));
}

template void DecodePortably<1, int16_t>(COptimizedNUPADecompressor&, size_t, int16_t*);
template void DecodePortably<1, int32_t>(COptimizedNUPADecompressor&, size_t, int32_t*);
template void DecodePortably<2, int16_t>(COptimizedNUPADecompressor&, size_t, int16_t*);
template void DecodePortably<2, int32_t>(COptimizedNUPADecompressor&, size_t, int32_t*);

}  // namespace NSNUPA

}  // namespace NSQuillet
