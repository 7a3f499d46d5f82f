#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/logic/toolbars/EffectPresets.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {
namespace {

using SValues = std::vector<std::pair<std::string, int32_t>>;

int32_t Default(EToolbarKnob knob) { return GetToolbarKnobSettings(knob).fDefault; }

SEffectPreset Preset(EPresetEffect effect, const char* name) {
    for (const SEffectPreset& preset : LoadEffectPresets(effect)) {
        if (preset.fName == name) return preset;
    }
    ADD_FAILURE() << "no preset " << name;
    return {};
}

TEST(EffectPresetsTest, EachResetRestoresTheKnobsDefaults) {
    // Start from another preset so that every field has to change.
    const SEnvelopeSettings envelope =
        ApplyPreset(Preset(EPresetEffect::kEnvelope, "Reset"),
                    ApplyPreset(Preset(EPresetEffect::kEnvelope, "Synth Chopper"), SEnvelopeSettings{}));
    EXPECT_EQ(envelope.fAttack, Default(EToolbarKnob::kEnvelopeAttack));
    EXPECT_EQ(envelope.fDecay, 1023);
    EXPECT_EQ(DecayKnobValueOfParameter(envelope.fDecay), Default(EToolbarKnob::kEnvelopeDecay));  // the top
    EXPECT_EQ(envelope.fStretch, Default(EToolbarKnob::kEnvelopeStretch));
    EXPECT_EQ(envelope, SEnvelopeSettings{});

    const STransientShaperSettings shaper =
        ApplyPreset(Preset(EPresetEffect::kTransientShaper, "Reset"),
                    ApplyPreset(Preset(EPresetEffect::kTransientShaper, "Hard Attack"), STransientShaperSettings{}));
    EXPECT_EQ(shaper.fThreshold, Default(EToolbarKnob::kShaperThreshold));
    EXPECT_EQ(shaper.fRatio, Default(EToolbarKnob::kShaperRatio));
    EXPECT_EQ(shaper.fAttack, Default(EToolbarKnob::kShaperAttack));
    EXPECT_EQ(shaper.fRelease, Default(EToolbarKnob::kShaperRelease));
    EXPECT_EQ(shaper, STransientShaperSettings{});

    const SEqualizerSettings equalizer =
        ApplyPreset(Preset(EPresetEffect::kEqualizer, "Reset"),
                    ApplyPreset(Preset(EPresetEffect::kEqualizer, "Serious LoFi"), SEqualizerSettings{}));
    const std::pair<int16_t, EToolbarKnob> fields[] = {
        {equalizer.fLowCut, EToolbarKnob::kLowCut},     {equalizer.fLowFrequency, EToolbarKnob::kLowFrequency},
        {equalizer.fLowGain, EToolbarKnob::kLowGain},   {equalizer.fLowQ, EToolbarKnob::kLowQ},
        {equalizer.fHighFrequency, EToolbarKnob::kHighFrequency}, {equalizer.fHighGain, EToolbarKnob::kHighGain},
        {equalizer.fHighQ, EToolbarKnob::kHighQ},       {equalizer.fHighCut, EToolbarKnob::kHighCut},
    };
    for (const auto& [value, knob] : fields) EXPECT_EQ(value, Default(knob)) << int(knob);
    EXPECT_EQ(equalizer, SEqualizerSettings{});
}

TEST(EffectPresetsTest, TheMenusListThePresetsOfTheTableInOrder) {
    const struct {
        EPresetEffect fEffect;
        std::vector<std::string> fNames;
    } rows[] = {
        {EPresetEffect::kEnvelope,
         {"Reset", "No Stretch", "Fake Backwards", "Tighten Up", "Even Tighter", "Synth Chopper", "Silly Stomper"}},
        {EPresetEffect::kEqualizer,
         {"Reset", "Drum Clean-Up", "Ultra-Low Boost", "Bass Remove", "Serious LoFi", "Bandpass Percussion",
          "My Mad Neighbour"}},
        {EPresetEffect::kTransientShaper,
         {"Reset", "Hard Attack", "Chop the Peaks", "Gate to Eden", "Pressurize", "Oomph-Oomph Machine",
          "I-Will-Distort-You"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> names;
        for (const SEffectPreset& preset : LoadEffectPresets(row.fEffect)) names.push_back(preset.fName);
        EXPECT_EQ(names, row.fNames);
    }

    const SEqualizerSettings bass = ApplyPreset(Preset(EPresetEffect::kEqualizer, "Bass Remove"), SEqualizerSettings{});
    EXPECT_EQ(bass.fLowCut, 340);
    EXPECT_EQ(bass.fLowFrequency, 380);
    EXPECT_EQ(bass.fLowGain, -4000);
    EXPECT_EQ(bass.fLowQ, 500);
    EXPECT_EQ(bass.fHighFrequency, 5204);
    EXPECT_EQ(bass.fHighGain, -3600);
    EXPECT_EQ(bass.fHighQ, 1000);
    EXPECT_EQ(bass.fHighCut, 7233);
    const SEnvelopeSettings backwards =
        ApplyPreset(Preset(EPresetEffect::kEnvelope, "Fake Backwards"), SEnvelopeSettings{});
    EXPECT_EQ(backwards.fAttack, 243);
    EXPECT_EQ(backwards.fDecay, 445);
    EXPECT_EQ(backwards.fStretch, 0);
    const STransientShaperSettings distort =
        ApplyPreset(Preset(EPresetEffect::kTransientShaper, "I-Will-Distort-You"), STransientShaperSettings{});
    EXPECT_EQ(distort, (STransientShaperSettings{false, 0, 100, 0, 134}));
}

TEST(EffectPresetsTest, EntriesParseIntoNameAndClampedValues) {
    const struct {
        EPresetEffect fEffect;
        const char* fEntry;
        std::optional<std::string> fName;
        SValues fValues;
    } rows[] = {
        {EPresetEffect::kEnvelope, "Reset[Attack:21][Decay:1023][Stretch:40]", "Reset",
         {{"Attack", 21}, {"Decay", 1023}, {"Stretch", 40}}},
        {EPresetEffect::kEnvelope, "", std::nullopt, {}},
        {EPresetEffect::kEnvelope, "   ", std::nullopt, {}},
        {EPresetEffect::kEnvelope, "[Attack:21]", std::nullopt, {}},  // no name: not shown
        {EPresetEffect::kEnvelope, " Loud [Attack:9999][Stretch:-5]", "Loud", {{"Attack", 520}, {"Stretch", 0}}},
        // The decay keeps the endless 1023, otherwise 58..749.
        {EPresetEffect::kEnvelope, "D[Decay:900][Decay:3][Decay:1023]", "D",
         {{"Decay", 749}, {"Decay", 58}, {"Decay", 1023}}},
        // Unknown keys, keys of another effect, pairs without colon or number are skipped.
        {EPresetEffect::kEnvelope, "X[Bogus:1][LoCut:20][Attack][Attack:abc][Attack:12x][Attack: 7 ]", "X",
         {{"Attack", 7}}},
        {EPresetEffect::kTransientShaper, "T[Release:0][Threshold:200]", "T", {{"Release", 134}, {"Threshold", 127}}},
        {EPresetEffect::kEqualizer, "E[LoCut:1][HighGain:-99999999999999999999][HighCut:20000", "E",
         {{"LoCut", 15}, {"HighGain", -18000}}},  // strtoll saturates; the unclosed pair is dropped
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fEntry);
        const std::optional<SEffectPreset> preset = ParsePresetEntry(row.fEffect, row.fEntry);
        ASSERT_EQ(preset.has_value(), row.fName.has_value());
        if (!preset) continue;
        EXPECT_EQ(preset->fName, *row.fName);
        EXPECT_EQ(preset->fValues, row.fValues);
    }
}

TEST(EffectPresetsTest, FieldsThePresetDoesNotNameAndTheSwitchStay) {
    SEnvelopeSettings settings;
    settings.fOn = false;
    settings.fStretch = 77;
    const SEnvelopeSettings applied =
        ApplyPreset(*ParsePresetEntry(EPresetEffect::kEnvelope, "A[Attack:100]"), settings);
    EXPECT_EQ(applied, (SEnvelopeSettings{false, 100, 1023, 77}));
}

}  // namespace
}  // namespace NSQuillet
