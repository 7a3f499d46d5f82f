#pragma once

#include <cstdint>
#include <tuple>

#include "engine/EqualizerSettings.h"
#include "engine/TransientShaperSettings.h"
#include "foundation/Units.h"

namespace NSQuillet {

// The settings of the three effects as one value: processing gain (thousandths, 1000 unity),
// the transient shaper and the equalizer.
struct SEffectParameters {
    int32_t fProcessingGain = kUnityGain;
    STransientShaperSettings fTransientShaper;
    SEqualizerSettings fEqualizer;

    auto Tied() const { return std::tie(fProcessingGain, fTransientShaper, fEqualizer); }
    friend bool operator==(const SEffectParameters& a, const SEffectParameters& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const SEffectParameters& a, const SEffectParameters& b) { return !(a == b); }
};

}  // namespace NSQuillet
