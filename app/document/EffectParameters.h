#pragma once

#include <cstdint>

namespace NSQuillet {

// The settings of the three effects as one value: processing gain (thousandths, 1000 unity),
// the transient shaper and the equalizer (Hz, Q × 1000, thousandths of a dB).
struct SEffectParameters {
    int32_t fProcessingGain = 1000;
    uint32_t fTransientShaperOn = 0;
    int16_t fTransientShaperThreshold = 77;
    int16_t fTransientShaperRatio = 39;
    int16_t fTransientShaperAttack = 193;
    int16_t fTransientShaperRelease = 350;
    bool fEqualizerOn = false;
    int16_t fEqualizerLowCut = 0;
    int16_t fEqualizerLowFrequency = 0;
    int16_t fEqualizerLowQ = 0;
    int16_t fEqualizerLowGain = 0;
    int16_t fEqualizerHighFrequency = 0;
    int16_t fEqualizerHighQ = 0;
    int16_t fEqualizerHighGain = 0;
    int16_t fEqualizerHighCut = 0;

    friend bool operator==(const SEffectParameters& a, const SEffectParameters& b) {
        return a.fProcessingGain == b.fProcessingGain && a.fTransientShaperOn == b.fTransientShaperOn &&
               a.fTransientShaperThreshold == b.fTransientShaperThreshold &&
               a.fTransientShaperRatio == b.fTransientShaperRatio &&
               a.fTransientShaperAttack == b.fTransientShaperAttack &&
               a.fTransientShaperRelease == b.fTransientShaperRelease && a.fEqualizerOn == b.fEqualizerOn &&
               a.fEqualizerLowCut == b.fEqualizerLowCut && a.fEqualizerLowFrequency == b.fEqualizerLowFrequency &&
               a.fEqualizerLowQ == b.fEqualizerLowQ && a.fEqualizerLowGain == b.fEqualizerLowGain &&
               a.fEqualizerHighFrequency == b.fEqualizerHighFrequency && a.fEqualizerHighQ == b.fEqualizerHighQ &&
               a.fEqualizerHighGain == b.fEqualizerHighGain && a.fEqualizerHighCut == b.fEqualizerHighCut;
    }
    friend bool operator!=(const SEffectParameters& a, const SEffectParameters& b) { return !(a == b); }
};

}  // namespace NSQuillet
