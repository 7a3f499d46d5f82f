#pragma once

#include "engine/TransientShaperSettings.h"
#include "formats/lux2/LUX2EffectChunk.h"

namespace NSQuillet {

// COMP: the transient shaper of the slice voices, 9 bytes: the switch, threshold, ratio,
// attack, release (u16). Attack and release are on the old 0..127 scale in 1.0 files.
struct SLUX2TransientShaperLayout {
    using TSettings = STransientShaperSettings;
    static constexpr const char* kInvalidMessage = "invalid data in compressor chunk";
    static constexpr SLUX2EffectField<STransientShaperSettings> kFields[] = {
        {&STransientShaperSettings::fThreshold, STransientShaperSettings::kLevelRange},
        {&STransientShaperSettings::fRatio, STransientShaperSettings::kLevelRange},
        {&STransientShaperSettings::fAttack, STransientShaperSettings::kStoredTimeRange},
        {&STransientShaperSettings::fRelease, STransientShaperSettings::kStoredTimeRange},
    };
};

using CLUX2TransientShaperChunk = CLUX2EffectChunk<SLUX2TransientShaperLayout>;

}  // namespace NSQuillet
