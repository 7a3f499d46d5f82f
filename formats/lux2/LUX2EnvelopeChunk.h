#pragma once

#include "engine/EnvelopeSettings.h"
#include "formats/lux2/LUX2EffectChunk.h"

namespace NSQuillet {

// TRSH: the envelope of the slice voices, 7 bytes: the switch, attack, decay, stretch (u16).
// Attack and decay are on the old 0..127 scale in 1.0 files.
struct SLUX2EnvelopeLayout {
    using TSettings = SEnvelopeSettings;
    static constexpr const char* kInvalidMessage = "invalid data in transient shaper chunk";
    static constexpr SLUX2EffectField<SEnvelopeSettings> kFields[] = {
        {&SEnvelopeSettings::fAttack, SEnvelopeSettings::kStoredTimeRange},
        {&SEnvelopeSettings::fDecay, SEnvelopeSettings::kStoredTimeRange},
        {&SEnvelopeSettings::fStretch, SEnvelopeSettings::kStretchRange},
    };
};

using CLUX2EnvelopeChunk = CLUX2EffectChunk<SLUX2EnvelopeLayout>;

}  // namespace NSQuillet
