#pragma once

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerSettings.h"
#include "engine/TransientShaperSettings.h"

namespace NSQuilletTest {

// Each effect group with every field away from its default and inside the ranges a loop file
// stores and loads unchanged.
inline NSQuillet::SEnvelopeSettings DistinctEnvelope() {
    // Off; attack, decay, stretch.
    return {false, 300, 600, 77};
}

inline NSQuillet::SEqualizerSettings DistinctEqualizer() {
    // On; low cut, low frequency, low Q, low gain, high frequency, high Q, high gain, high cut.
    return {true, 40, 250, 2300, -6500, 7000, 700, 4200, 15000};
}

inline NSQuillet::STransientShaperSettings DistinctTransientShaper() {
    // On; threshold, ratio, attack, release.
    return {true, 90, 101, 400, 500};
}

}  // namespace NSQuilletTest
