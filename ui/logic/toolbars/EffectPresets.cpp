#include "ui/logic/toolbars/EffectPresets.h"

#include <cstdlib>
#include <iterator>

#include "app/resources/ProgramResources.h"
#include "app/resources/StringIds.h"
#include "foundation/ValueRange.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {

namespace {

struct SPresetKey {
    const char* fKey;
    EToolbarKnob fKnob;
};

const SPresetKey kEnvelopeKeys[] = {
    {"Attack", EToolbarKnob::kEnvelopeAttack},
    {"Decay", EToolbarKnob::kEnvelopeDecay},
    {"Stretch", EToolbarKnob::kEnvelopeStretch},
};
const SPresetKey kEqualizerKeys[] = {
    {"LoCut", EToolbarKnob::kLowCut},          {"Low", EToolbarKnob::kLowFrequency},
    {"LowGain", EToolbarKnob::kLowGain},       {"LowQ", EToolbarKnob::kLowQ},
    {"High", EToolbarKnob::kHighFrequency},    {"HighGain", EToolbarKnob::kHighGain},
    {"HighQ", EToolbarKnob::kHighQ},           {"HighCut", EToolbarKnob::kHighCut},
};
const SPresetKey kShaperKeys[] = {
    {"Threshold", EToolbarKnob::kShaperThreshold},
    {"Ratio", EToolbarKnob::kShaperRatio},
    {"Attack", EToolbarKnob::kShaperAttack},
    {"Release", EToolbarKnob::kShaperRelease},
};

const SPresetKey* FindKey(EPresetEffect effect, const std::string& key) {
    const SPresetKey* begin = kEnvelopeKeys;
    const SPresetKey* end = std::end(kEnvelopeKeys);
    if (effect == EPresetEffect::kEqualizer) {
        begin = kEqualizerKeys;
        end = std::end(kEqualizerKeys);
    } else if (effect == EPresetEffect::kTransientShaper) {
        begin = kShaperKeys;
        end = std::end(kShaperKeys);
    }
    for (const SPresetKey* it = begin; it != end; ++it) {
        if (key == it->fKey) return it;
    }
    return nullptr;
}

// Into the knob's range; the decay keeps the endless 1023 and is otherwise held to 58..749,
// which is all the voices and the knob take.
int32_t ClampToParameter(EToolbarKnob knob, long long value) {
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    if (knob == EToolbarKnob::kEnvelopeDecay) {
        if (value == SEnvelopeSettings::kEndlessDecay) return SEnvelopeSettings::kEndlessDecay;
        return int32_t(SEnvelopeSettings::kDecayRange.Clamp(value));
    }
    return int32_t(SValueRange{settings.fMinimum, settings.fMaximum}.Clamp(value));
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<long long> WholeNumber(const std::string& text) {
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty()) return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(trimmed.c_str(), &end, 10);
    if (*end != '\0') return std::nullopt;
    // Out of range: strtoll gives the extreme of its sign, which clamps the same way.
    return value;
}

int32_t ValueOf(const SEffectPreset& preset, const char* key, int32_t current) {
    for (const auto& [name, value] : preset.fValues) {
        if (name == key) current = value;
    }
    return current;
}

int16_t ValueOf16(const SEffectPreset& preset, const char* key, int16_t current) {
    return int16_t(ValueOf(preset, key, current));
}

}  // namespace

std::optional<SEffectPreset> ParsePresetEntry(EPresetEffect effect, const std::string& entry) {
    const size_t firstBracket = entry.find('[');
    SEffectPreset preset;
    preset.fName = Trimmed(entry.substr(0, firstBracket));
    if (preset.fName.empty()) return std::nullopt;
    size_t open = firstBracket;
    while (open != std::string::npos) {
        const size_t close = entry.find(']', open);
        if (close == std::string::npos) break;
        const std::string pair = entry.substr(open + 1, close - open - 1);
        const size_t colon = pair.find(':');
        if (colon != std::string::npos) {
            const SPresetKey* key = FindKey(effect, Trimmed(pair.substr(0, colon)));
            const std::optional<long long> value = WholeNumber(pair.substr(colon + 1));
            if (key && value) preset.fValues.emplace_back(key->fKey, ClampToParameter(key->fKnob, *value));
        }
        open = entry.find('[', close);
    }
    return preset;
}

std::vector<SEffectPreset> LoadEffectPresets(EPresetEffect effect) {
    const int32_t first = effect == EPresetEffect::kEnvelope    ? NSStringIds::kEnvelopePresets
                          : effect == EPresetEffect::kEqualizer ? NSStringIds::kEqualizerPresets
                                                                : NSStringIds::kTransientShaperPresets;
    const CStringTable& table = CProgramResources::Get().GetStringTable(kProgramStringTable);
    std::vector<SEffectPreset> presets;
    for (int32_t entry = first; entry < first + NSStringIds::kPresetEntryCount; ++entry) {
        if (!table.HasEntry(entry)) continue;
        if (std::optional<SEffectPreset> preset = ParsePresetEntry(effect, table.GetText(entry))) {
            presets.push_back(std::move(*preset));
        }
    }
    return presets;
}

SEnvelopeSettings ApplyPreset(const SEffectPreset& preset, SEnvelopeSettings settings) {
    settings.fAttack = ValueOf16(preset, "Attack", settings.fAttack);
    settings.fDecay = ValueOf16(preset, "Decay", settings.fDecay);
    settings.fStretch = ValueOf16(preset, "Stretch", settings.fStretch);
    return settings;
}

SEqualizerSettings ApplyPreset(const SEffectPreset& preset, SEqualizerSettings settings) {
    settings.fLowCut = ValueOf16(preset, "LoCut", settings.fLowCut);
    settings.fLowFrequency = ValueOf16(preset, "Low", settings.fLowFrequency);
    settings.fLowGain = ValueOf16(preset, "LowGain", settings.fLowGain);
    settings.fLowQ = ValueOf16(preset, "LowQ", settings.fLowQ);
    settings.fHighFrequency = ValueOf16(preset, "High", settings.fHighFrequency);
    settings.fHighGain = ValueOf16(preset, "HighGain", settings.fHighGain);
    settings.fHighQ = ValueOf16(preset, "HighQ", settings.fHighQ);
    settings.fHighCut = ValueOf16(preset, "HighCut", settings.fHighCut);
    return settings;
}

STransientShaperSettings ApplyPreset(const SEffectPreset& preset, STransientShaperSettings settings) {
    settings.fThreshold = ValueOf16(preset, "Threshold", settings.fThreshold);
    settings.fRatio = ValueOf16(preset, "Ratio", settings.fRatio);
    settings.fAttack = ValueOf16(preset, "Attack", settings.fAttack);
    settings.fRelease = ValueOf16(preset, "Release", settings.fRelease);
    return settings;
}

}  // namespace NSQuillet
