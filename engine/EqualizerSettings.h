#pragma once

#include <cstdint>
#include <tuple>

#include "foundation/ValueRange.h"

namespace NSQuillet {

// The preview equalizer's switch and targets: cuts and band centres in Hz, band widths as
// Q × 1000, gains in thousandths of a dB. The equalizer itself takes any 16-bit value; the
// ranges are what a loop file keeps and the controls offer.
struct SEqualizerSettings {
    static constexpr SValueRange kLowCutRange{15, 12000};
    static constexpr SValueRange kLowFrequencyRange{20, 3000};
    static constexpr SValueRange kQRange{500, 10000};
    static constexpr SValueRange kGainRange{-18000, 18000};
    static constexpr SValueRange kHighFrequencyRange{1500, 16000};
    static constexpr SValueRange kHighCutRange{100, 20000};

    bool fOn = false;
    int16_t fLowCut = 15;
    int16_t fLowFrequency = 100;
    int16_t fLowQ = 1000;
    int16_t fLowGain = 0;
    int16_t fHighFrequency = 2500;
    int16_t fHighQ = 1000;
    int16_t fHighGain = 0;
    int16_t fHighCut = 20000;

    auto Tied() const {
        return std::tie(fOn, fLowCut, fLowFrequency, fLowQ, fLowGain, fHighFrequency, fHighQ, fHighGain, fHighCut);
    }
    friend bool operator==(const SEqualizerSettings& a, const SEqualizerSettings& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const SEqualizerSettings& a, const SEqualizerSettings& b) { return !(a == b); }
};

}  // namespace NSQuillet
