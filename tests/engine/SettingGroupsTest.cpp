#include <gtest/gtest.h>

#include <cstdint>

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerEffect.h"
#include "engine/EqualizerSettings.h"
#include "engine/LoopSettings.h"
#include "engine/QuilletSampler.h"
#include "engine/TransientShaperSettings.h"
#include "tests/support/DistinctSettingGroups.h"
#include "tests/support/TiedFields.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

using SEnvelope = SEnvelopeSettings;
using SEqualizer = SEqualizerSettings;
using SShaper = STransientShaperSettings;

TEST(SettingGroups, DefaultsAreTheEnginesAndTheLoopObjects) {
    struct SRow {
        const char* fName;
        int64_t fDefault;
        int64_t fExpected;
    };
    const SEnvelope envelope;
    const SShaper shaper;
    const SEqualizer equalizer;
    const CLoopSettings loop;
    const SRow rows[] = {
        // The sampler's voices: envelope on, attack 21, decay 1023 (no decay), stretch 40.
        {"envelope on", envelope.fOn, true},
        {"envelope attack", envelope.fAttack, 21},
        {"envelope decay", envelope.fDecay, 1023},
        {"envelope stretch", envelope.fStretch, 40},
        // Shaper off, threshold 77, ratio 39, attack 193, release 350.
        {"shaper on", shaper.fOn, false},
        {"shaper threshold", shaper.fThreshold, 77},
        {"shaper ratio", shaper.fRatio, 39},
        {"shaper attack", shaper.fAttack, 193},
        {"shaper release", shaper.fRelease, 350},
        // The equalizer: off, 15 Hz, 100 Hz, Q 1.0, 0 dB, 2500 Hz, Q 1.0, 0 dB, 20000 Hz.
        {"equalizer on", equalizer.fOn, false},
        {"equalizer low cut", equalizer.fLowCut, 15},
        {"equalizer low frequency", equalizer.fLowFrequency, 100},
        {"equalizer low Q", equalizer.fLowQ, 1000},
        {"equalizer low gain", equalizer.fLowGain, 0},
        {"equalizer high frequency", equalizer.fHighFrequency, 2500},
        {"equalizer high Q", equalizer.fHighQ, 1000},
        {"equalizer high gain", equalizer.fHighGain, 0},
        {"equalizer high cut", equalizer.fHighCut, 20000},
        // The loop object: preview and Silence Selected off, 130.000 BPM, 4/4, no length.
        {"preview on", loop.IsPreviewOn(), false},
        {"silence selected", loop.IsSilenceSelected(), false},
        {"preview tempo", loop.GetPreviewTempo(), 130000},
        {"time signature numerator", loop.GetTimeSignatureNumerator(), 4},
        {"time signature denominator", loop.GetTimeSignatureDenominator(), 4},
        {"bars", loop.GetBars(), 0},
        {"beats", loop.GetBeats(), 0},
    };
    for (const SRow& row : rows) EXPECT_EQ(row.fDefault, row.fExpected) << row.fName;
}

TEST(SettingGroups, RangesAreWhatTheLoopFileKeepsAndTheControlsOffer) {
    struct SRow {
        const char* fName;
        SValueRange fRange;
        int64_t fLowest;
        int64_t fHighest;
        // The default, which must lie inside; the endless decay lies beyond the decay range.
        int64_t fDefault;
    };
    const SEnvelope envelope;
    const SShaper shaper;
    const SEqualizer equalizer;
    const CLoopSettings loop;
    const SRow rows[] = {
        // A file stores envelope and shaper times 0..1023 (older files on a 0..127 scale); a
        // loaded loop gives the voices attack 0..520, decay 58..749 or 1023, release 134..666.
        {"envelope stored time", SEnvelope::kStoredTimeRange, 0, 1023, envelope.fAttack},
        {"envelope attack", SEnvelope::kAttackRange, 0, 520, envelope.fAttack},
        {"envelope decay", SEnvelope::kDecayRange, 58, 749, 400},
        {"envelope stretch", SEnvelope::kStretchRange, 0, 100, envelope.fStretch},
        {"shaper level", SShaper::kLevelRange, 0, 127, shaper.fThreshold},
        {"shaper stored time", SShaper::kStoredTimeRange, 0, 1023, shaper.fRelease},
        {"shaper attack", SShaper::kAttackRange, 0, 520, shaper.fAttack},
        {"shaper release", SShaper::kReleaseRange, 134, 666, shaper.fRelease},
        {"equalizer low cut", SEqualizer::kLowCutRange, 15, 12000, equalizer.fLowCut},
        {"equalizer low frequency", SEqualizer::kLowFrequencyRange, 20, 3000, equalizer.fLowFrequency},
        {"equalizer Q", SEqualizer::kQRange, 500, 10000, equalizer.fLowQ},
        {"equalizer gain", SEqualizer::kGainRange, -18000, 18000, equalizer.fHighGain},
        {"equalizer high frequency", SEqualizer::kHighFrequencyRange, 1500, 16000, equalizer.fHighFrequency},
        {"equalizer high cut", SEqualizer::kHighCutRange, 100, 20000, equalizer.fHighCut},
        {"bars", CLoopSettings::kBarsRange, 0, 999, loop.GetBars()},
        {"beats", CLoopSettings::kBeatsRange, 0, 7, loop.GetBeats()},
        {"time signature", CLoopSettings::kTimeSignatureRange, 1, 15, loop.GetTimeSignatureNumerator()},
        {"preview tempo", CLoopSettings::kPreviewTempoRange, 20000, 450000, loop.GetPreviewTempo()},
    };
    for (const SRow& row : rows) {
        EXPECT_EQ(row.fRange, (SValueRange{row.fLowest, row.fHighest})) << row.fName;
        EXPECT_TRUE(row.fRange.Contains(row.fDefault)) << row.fName;
    }
    EXPECT_EQ(envelope.fDecay, SEnvelope::kEndlessDecay);
    EXPECT_FALSE(SEnvelope::kDecayRange.Contains(SEnvelope::kEndlessDecay));
}

TEST(SettingGroups, TheSamplerAndTheEqualizerStartAtTheGroupDefaults) {
    const CQuilletSampler sampler(nullptr, 44100);
    EXPECT_EQ(sampler.GetEnvelope(), SEnvelope());
    EXPECT_EQ(sampler.GetTransientShaper(), SShaper());
    EXPECT_EQ(sampler.GetGain(), 1000.0f);
    EXPECT_EQ(CEqualizerEffect(44100).GetSettings(), SEqualizer());
}

// A group set whole reaches each field's own setting, and reads back whole.
TEST(SettingGroups, TheSamplerAndTheEqualizerTakeAGroupWhole) {
    CQuilletSampler sampler(nullptr, 44100);
    sampler.SetEnvelope(DistinctEnvelope());
    sampler.SetTransientShaper(DistinctTransientShaper());
    EXPECT_FALSE(sampler.IsEnvelopeOn());
    EXPECT_EQ(sampler.GetAttack(), 300);
    EXPECT_EQ(sampler.GetDecay(), 600);
    EXPECT_EQ(sampler.GetStretch(), 77);
    EXPECT_TRUE(sampler.IsShaperOn());
    EXPECT_EQ(sampler.GetShaperThreshold(), 90);
    EXPECT_EQ(sampler.GetShaperRatio(), 101);
    EXPECT_EQ(sampler.GetShaperAttack(), 400);
    EXPECT_EQ(sampler.GetShaperRelease(), 500);
    EXPECT_EQ(sampler.GetEnvelope(), DistinctEnvelope());
    EXPECT_EQ(sampler.GetTransientShaper(), DistinctTransientShaper());

    CEqualizerEffect equalizer(44100);
    equalizer.SetSettings(DistinctEqualizer());
    EXPECT_TRUE(equalizer.IsOn());
    EXPECT_EQ(equalizer.GetLowCut(), 40);
    EXPECT_EQ(equalizer.GetLowFrequency(), 250);
    EXPECT_EQ(equalizer.GetLowQ(), 2300);
    EXPECT_EQ(equalizer.GetLowGain(), -6500);
    EXPECT_EQ(equalizer.GetHighFrequency(), 7000);
    EXPECT_EQ(equalizer.GetHighQ(), 700);
    EXPECT_EQ(equalizer.GetHighGain(), 4200);
    EXPECT_EQ(equalizer.GetHighCut(), 15000);
    EXPECT_EQ(equalizer.GetSettings(), DistinctEqualizer());
}

}  // namespace
