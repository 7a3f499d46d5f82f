#pragma once

#include <cstdint>
#include <tuple>

#include "foundation/ValueRange.h"

namespace NSQuillet {

// The envelope the sampler's slice voices are shaped by. Attack and decay index the sampler's
// time table; decay 1023 is no decay. Stretch is percent − 1: the stretch factor is
// (stretch + 1) / 100.
struct SEnvelopeSettings {
    // Any attack or decay a loop file may store (older files on a 0..127 scale).
    static constexpr SValueRange kStoredTimeRange{0, 1023};
    // What the voices are given and the controls offer; the decay also takes kEndlessDecay.
    static constexpr SValueRange kAttackRange{0, 520};
    static constexpr SValueRange kDecayRange{58, 749};
    static constexpr SValueRange kStretchRange{0, 100};
    static constexpr int16_t kEndlessDecay = 1023;

    bool fOn = true;
    int16_t fAttack = 21;
    int16_t fDecay = kEndlessDecay;
    int16_t fStretch = 40;

    auto Tied() const { return std::tie(fOn, fAttack, fDecay, fStretch); }
    friend bool operator==(const SEnvelopeSettings& a, const SEnvelopeSettings& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const SEnvelopeSettings& a, const SEnvelopeSettings& b) { return !(a == b); }
};

}  // namespace NSQuillet
