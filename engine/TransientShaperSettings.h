#pragma once

#include <cstdint>
#include <tuple>

#include "foundation/ValueRange.h"

namespace NSQuillet {

// The per-voice transient shaper of the sampler. Threshold and ratio are levels on a 0..127
// scale; attack and release index the sampler's time table.
struct STransientShaperSettings {
    static constexpr SValueRange kLevelRange{0, 127};
    // Any attack or release a loop file may store (older files on a 0..127 scale).
    static constexpr SValueRange kStoredTimeRange{0, 1023};
    // What the voices are given and the controls offer.
    static constexpr SValueRange kAttackRange{0, 520};
    static constexpr SValueRange kReleaseRange{134, 666};

    bool fOn = false;
    int16_t fThreshold = 77;
    int16_t fRatio = 39;
    int16_t fAttack = 193;
    int16_t fRelease = 350;

    auto Tied() const { return std::tie(fOn, fThreshold, fRatio, fAttack, fRelease); }
    friend bool operator==(const STransientShaperSettings& a, const STransientShaperSettings& b) {
        return a.Tied() == b.Tied();
    }
    friend bool operator!=(const STransientShaperSettings& a, const STransientShaperSettings& b) { return !(a == b); }
};

}  // namespace NSQuillet
