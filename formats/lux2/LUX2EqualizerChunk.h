#pragma once

#include "engine/EqualizerSettings.h"
#include "formats/lux2/LUX2EffectChunk.h"

namespace NSQuillet {

// "EQ  ": the equalizer, 17 bytes: the switch, then eight i16 in file order (which is not the
// settings' order): low cut, low frequency, low gain, low Q, high frequency, high gain, high Q,
// high cut.
struct SLUX2EqualizerLayout {
    using TSettings = SEqualizerSettings;
    static constexpr const char* kInvalidMessage = "invalid data in equalizer chunk";
    static constexpr SLUX2EffectField<SEqualizerSettings> kFields[] = {
        {&SEqualizerSettings::fLowCut, SEqualizerSettings::kLowCutRange},
        {&SEqualizerSettings::fLowFrequency, SEqualizerSettings::kLowFrequencyRange},
        {&SEqualizerSettings::fLowGain, SEqualizerSettings::kGainRange},
        {&SEqualizerSettings::fLowQ, SEqualizerSettings::kQRange},
        {&SEqualizerSettings::fHighFrequency, SEqualizerSettings::kHighFrequencyRange},
        {&SEqualizerSettings::fHighGain, SEqualizerSettings::kGainRange},
        {&SEqualizerSettings::fHighQ, SEqualizerSettings::kQRange},
        {&SEqualizerSettings::fHighCut, SEqualizerSettings::kHighCutRange},
    };
};

using CLUX2EqualizerChunk = CLUX2EffectChunk<SLUX2EqualizerLayout>;

}  // namespace NSQuillet
