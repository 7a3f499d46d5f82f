#include <gtest/gtest.h>

#include <cstdint>

#include "formats/lux2/LUX2EffectLoading.h"

namespace {

using namespace NSQuillet;

// The time table is T[i] = 4 · 1.1^(i / 10.24) − 3.9 ms, so the entry for a time t lies at
// i = 10.24 · log_1.1((t + 3.9) / 4); an old value v stands for t = 4 · 1.1^(v · 100 / 128).
TEST(LUX2EffectLoading, ConvertsOldScaleTimesToTheNearestTimeTableEntry) {
    struct SCase {
        int32_t fOld;
        int32_t fIndex;
    };
    const SCase cases[] = {
        {0, 73},      // t = 4;                     i = 10.24 · log_1.1(1.975)  = 73.12
        {1, 77},      // t = 4 · 1.1^0.78125 = 4.309;  i = 10.24 · log_1.1(2.052)  = 77.24
        {10, 121},    // t = 4 · 1.1^7.8125 = 8.422;   i = 10.24 · log_1.1(3.081)  = 120.88
        {16, 156},    // t = 4 · 1.1^12.5 = 13.17;     i = 10.24 · log_1.1(4.267)  = 155.87
        {100, 800},   // t = 4 · 1.1^78.125 = 6853;    i = 10.24 · log_1.1(1714.2) = 800.06
        {126, 1008},  // t = 4 · 1.1^98.44 = 47495;    i = 10.24 · log_1.1(11875)  = 1008.01
        {400, 1023},  // far beyond the last entry (about 54.6 s)
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(OldScaleTimeToIndex(c.fOld, 44100), c.fIndex) << c.fOld;
        EXPECT_EQ(OldScaleTimeToIndex(c.fOld, 11025), c.fIndex) << c.fOld << ": the times do not depend on the rate";
    }
}

SLoopFileSettings Loaded(const CVersion& version, const SEnvelopeSettings& envelope,
                         const STransientShaperSettings& shaper) {
    SLoopFileSettings settings;
    // Low cut, low frequency, low Q, low gain, high frequency, high Q, high gain, high cut.
    const SEqualizerSettings equalizer{true, 30, 200, 900, -500, 5000, 3000, 1200, 18000};
    LoadLUX2Effects(version, 48000, envelope, equalizer, shaper, settings);
    EXPECT_TRUE(settings.fEqualizer.fOn);
    EXPECT_EQ(settings.fEqualizer.fLowCut, 30);
    EXPECT_EQ(settings.fEqualizer.fLowQ, 900);
    EXPECT_EQ(settings.fEqualizer.fHighCut, 18000);
    return settings;
}

TEST(LUX2EffectLoading, ConvertsTheTimesOf10Files) {
    struct SCase {
        const char* fName;
        SEnvelopeSettings fEnvelope;
        STransientShaperSettings fShaper;
        int16_t fAttack, fDecay, fShaperAttack, fRelease;
    };
    const SCase cases[] = {
        // Envelope attack v = stored / 2, shaper attack v = stored / 3, release v = stored / 2 + 16.
        {"zero attacks stay 0, decay v 0, release v 16", {true, 0, 0, 40}, {true, 77, 39, 0, 0}, 0, 73, 0, 156},
        {"attacks v 1 and 10", {true, 2, 0, 40}, {true, 77, 39, 30, 0}, 77, 73, 121, 156},
        {"attack 3 / 2 = 1, shaper 5 / 3 = 1", {true, 3, 0, 40}, {true, 77, 39, 5, 0}, 77, 73, 77, 156},
        // Decay v 100 gives 800 and release v 126 gives 1008, both clamped.
        {"clamped long times", {true, 20, 100, 40}, {true, 77, 39, 30, 220}, 121, 749, 121, 666},
        // v = 127 is 1023 directly: kept as the endless decay; the release clamps it to 666.
        {"old endless times", {true, 0, 127, 40}, {true, 77, 39, 0, 222}, 0, 1023, 0, 666},
        {"large old attack", {true, 1000, 0, 40}, {true, 77, 39, 1000, 0}, 520, 73, 520, 156},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        const SLoopFileSettings s = Loaded(CVersion(1, 0), c.fEnvelope, c.fShaper);
        EXPECT_EQ(s.fEnvelope.fAttack, c.fAttack);
        EXPECT_EQ(s.fEnvelope.fDecay, c.fDecay);
        EXPECT_EQ(s.fTransientShaper.fAttack, c.fShaperAttack);
        EXPECT_EQ(s.fTransientShaper.fRelease, c.fRelease);
    }
}

TEST(LUX2EffectLoading, ClampsTheTimesFrom20On) {
    struct SCase {
        SEnvelopeSettings fEnvelope;
        STransientShaperSettings fShaper;
        int16_t fAttack, fDecay, fShaperAttack, fRelease;
    };
    const SCase cases[] = {
        {{true, 0, 1023, 40}, {true, 77, 39, 0, 300}, 0, 1023, 0, 300},
        {{true, 600, 1022, 40}, {true, 77, 39, 900, 700}, 520, 749, 520, 666},
        {{true, 520, 10, 40}, {true, 77, 39, 520, 100}, 520, 58, 520, 134},
        {{true, 21, 58, 40}, {true, 77, 39, 193, 134}, 21, 58, 193, 134},
    };
    for (const CVersion& version : {CVersion(2, 0), CVersion(3, 0), CVersion(3, 2, 1)}) {
        for (const SCase& c : cases) {
            const SLoopFileSettings s = Loaded(version, c.fEnvelope, c.fShaper);
            EXPECT_EQ(s.fEnvelope.fAttack, c.fAttack);
            EXPECT_EQ(s.fEnvelope.fDecay, c.fDecay);
            EXPECT_EQ(s.fTransientShaper.fAttack, c.fShaperAttack);
            EXPECT_EQ(s.fTransientShaper.fRelease, c.fRelease);
        }
    }
}

TEST(LUX2EffectLoading, BetweenThe10And20FormatsKeepsTheTimesAndTakesTheRest) {
    for (const CVersion& version : {CVersion(1, 0, 1), CVersion(1, 5), CVersion(2, 0, 0, 3, 4)}) {
        const SLoopFileSettings s = Loaded(version, {false, 900, 5, 99}, {true, 100, 120, 5, 900});
        const SLoopFileSettings defaults;
        EXPECT_EQ(s.fEnvelope.fAttack, defaults.fEnvelope.fAttack);
        EXPECT_EQ(s.fEnvelope.fDecay, defaults.fEnvelope.fDecay);
        EXPECT_EQ(s.fTransientShaper.fAttack, defaults.fTransientShaper.fAttack);
        EXPECT_EQ(s.fTransientShaper.fRelease, defaults.fTransientShaper.fRelease);
        EXPECT_FALSE(s.fEnvelope.fOn);
        EXPECT_EQ(s.fEnvelope.fStretch, 99);
        EXPECT_TRUE(s.fTransientShaper.fOn);
        EXPECT_EQ(s.fTransientShaper.fThreshold, 100);
        EXPECT_EQ(s.fTransientShaper.fRatio, 120);
    }
}

}  // namespace
