#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerSettings.h"
#include "engine/TransientShaperSettings.h"

namespace NSQuillet {

enum class EPresetEffect { kEnvelope, kEqualizer, kTransientShaper };

// A preset of one effect: its menu name and the values it sets, each clamped into its
// parameter's range. Keys the effect does not know are dropped.
struct SEffectPreset {
    std::string fName;
    std::vector<std::pair<std::string, int32_t>> fValues;
};

// An entry is a name followed by "[Key:value]" pairs ("Reset[Attack:21][Decay:1023]"). An
// entry without a name is none; a pair without a colon or a whole number is skipped.
std::optional<SEffectPreset> ParsePresetEntry(EPresetEffect effect, const std::string& entry);

// The effect's presets of the program's string table in entry order, absent and empty entries
// left out.
std::vector<SEffectPreset> LoadEffectPresets(EPresetEffect effect);

// The settings with the preset's values; fields it does not name and the on/off switch stay.
SEnvelopeSettings ApplyPreset(const SEffectPreset& preset, SEnvelopeSettings settings);
SEqualizerSettings ApplyPreset(const SEffectPreset& preset, SEqualizerSettings settings);
STransientShaperSettings ApplyPreset(const SEffectPreset& preset, STransientShaperSettings settings);

}  // namespace NSQuillet
