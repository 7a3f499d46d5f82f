#include "formats/lux2/LUX2EqualizerChunk.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 17;

struct SBand {
    int32_t SLUX2Equalizer::*fValue;
    SLUX2Range fRange;
};

// In file order.
constexpr SBand kValues[] = {
    {&SLUX2Equalizer::fLowCut, CLUX2EqualizerChunk::kLowCut},
    {&SLUX2Equalizer::fLowFrequency, CLUX2EqualizerChunk::kLowFrequency},
    {&SLUX2Equalizer::fLowGain, CLUX2EqualizerChunk::kGain},
    {&SLUX2Equalizer::fLowQ, CLUX2EqualizerChunk::kQ},
    {&SLUX2Equalizer::fHighFrequency, CLUX2EqualizerChunk::kHighFrequency},
    {&SLUX2Equalizer::fHighGain, CLUX2EqualizerChunk::kGain},
    {&SLUX2Equalizer::fHighQ, CLUX2EqualizerChunk::kQ},
    {&SLUX2Equalizer::fHighCut, CLUX2EqualizerChunk::kHighCut},
};

}  // namespace

CLUX2EqualizerChunk::CLUX2EqualizerChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    fEqualizer.fOn = ReadU8(body) != 0;
    bool valid = true;
    for (const SBand& band : kValues) {
        fEqualizer.*band.fValue = int16_t(ReadU16(body));
        valid = valid && band.fRange.Contains(fEqualizer.*band.fValue);
    }
    if (!valid) throw NSMishap::XFormatViolation("invalid data in equalizer chunk");
}

CLUX2EqualizerChunk::CLUX2EqualizerChunk(const SLUX2Equalizer& equalizer) : fEqualizer(equalizer) {
    for (const SBand& band : kValues) fEqualizer.*band.fValue = int32_t(band.fRange.Clamp(fEqualizer.*band.fValue));
}

void CLUX2EqualizerChunk::Write(CMedia& media) const {
    WriteU8(media, fEqualizer.fOn ? 1 : 0);
    for (const SBand& band : kValues) WriteU16(media, uint16_t(int16_t(fEqualizer.*band.fValue)));
}

}  // namespace NSQuillet
