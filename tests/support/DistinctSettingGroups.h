#pragma once

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerSettings.h"
#include "engine/TransientShaperSettings.h"

namespace NSQuilletTest {

// Each effect group with every field away from its default and inside the ranges a loop file
// stores and loads unchanged.
inline NSQuillet::SEnvelopeSettings DistinctEnvelope() {
    NSQuillet::SEnvelopeSettings envelope;
    envelope.fOn = false;
    envelope.fAttack = 300;
    envelope.fDecay = 600;
    envelope.fStretch = 77;
    return envelope;
}

inline NSQuillet::SEqualizerSettings DistinctEqualizer() {
    NSQuillet::SEqualizerSettings equalizer;
    equalizer.fOn = true;
    equalizer.fLowCut = 40;
    equalizer.fLowFrequency = 250;
    equalizer.fLowQ = 2300;
    equalizer.fLowGain = -6500;
    equalizer.fHighFrequency = 7000;
    equalizer.fHighQ = 700;
    equalizer.fHighGain = 4200;
    equalizer.fHighCut = 15000;
    return equalizer;
}

inline NSQuillet::STransientShaperSettings DistinctTransientShaper() {
    NSQuillet::STransientShaperSettings shaper;
    shaper.fOn = true;
    shaper.fThreshold = 90;
    shaper.fRatio = 101;
    shaper.fAttack = 400;
    shaper.fRelease = 500;
    return shaper;
}

}  // namespace NSQuilletTest
