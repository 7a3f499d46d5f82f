#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "engine/EqualizerEffect.h"

namespace NSQuillet {
namespace {

constexpr int32_t kBlock = CEqualizerEffect::kBlockFrames;
constexpr double kPi = 3.14159265358979323846;

using SCoefficients = CEqualizerEffect::SCoefficients;

std::vector<float> Noise(int32_t frames, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    std::vector<float> samples(static_cast<size_t>(frames));
    for (float& sample : samples) sample = value(random);
    return samples;
}

// Runs every 64-frame block of `left` and `right` through the equalizer, in place.
void ProcessAll(CEqualizerEffect& equalizer, std::vector<float>& left, std::vector<float>& right) {
    for (size_t first = 0; first + kBlock <= left.size(); first += kBlock)
        equalizer.Process(left.data() + first, right.data() + first);
}

CEqualizerEffect ActiveEqualizer(uint32_t rate) {
    CEqualizerEffect equalizer(rate);
    equalizer.SetOn(true);
    equalizer.SetPreviewActive(true);
    return equalizer;
}

// The coefficients an equalizer computes from these settings once the glide is over.
template <class TSettings>
SCoefficients SettledCoefficients(uint32_t rate, TSettings settings) {
    CEqualizerEffect equalizer(rate);
    settings(equalizer);
    equalizer.Reset();
    float left[kBlock] = {};
    float right[kBlock] = {};
    equalizer.Process(left, right);
    return equalizer.GetCoefficients();
}

void ExpectSameCoefficients(const SCoefficients& a, const SCoefficients& b) {
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(EqualizerEffect, StartsWithTheDefaultTargetsAndGettersReturnWhatWasSet) {
    CEqualizerEffect equalizer(44100);
    EXPECT_FALSE(equalizer.IsOn());
    EXPECT_FALSE(equalizer.IsPreviewActive());
    EXPECT_EQ(equalizer.GetLowCut(), 15);
    EXPECT_EQ(equalizer.GetLowFrequency(), 100);
    EXPECT_EQ(equalizer.GetLowQ(), 1000);
    EXPECT_EQ(equalizer.GetLowGain(), 0);
    EXPECT_EQ(equalizer.GetHighFrequency(), 2500);
    EXPECT_EQ(equalizer.GetHighQ(), 1000);
    EXPECT_EQ(equalizer.GetHighGain(), 0);
    EXPECT_EQ(equalizer.GetHighCut(), 20000);
    equalizer.SetLowCut(-3);
    equalizer.SetLowFrequency(250);
    equalizer.SetLowQ(32767);
    equalizer.SetLowGain(-32768);
    equalizer.SetHighFrequency(8000);
    equalizer.SetHighQ(1);
    equalizer.SetHighGain(12000);
    equalizer.SetHighCut(16000);
    equalizer.SetOn(true);
    EXPECT_EQ(equalizer.GetLowCut(), -3);
    EXPECT_EQ(equalizer.GetLowFrequency(), 250);
    EXPECT_EQ(equalizer.GetLowQ(), 32767);
    EXPECT_EQ(equalizer.GetLowGain(), -32768);
    EXPECT_EQ(equalizer.GetHighFrequency(), 8000);
    EXPECT_EQ(equalizer.GetHighQ(), 1);
    EXPECT_EQ(equalizer.GetHighGain(), 12000);
    EXPECT_EQ(equalizer.GetHighCut(), 16000);
    EXPECT_TRUE(equalizer.IsOn());
    equalizer.SetSampleRate(5000);
    EXPECT_EQ(equalizer.GetSampleRate(), 11025u);
    equalizer.SetSampleRate(3000000);
    EXPECT_EQ(equalizer.GetSampleRate(), 1000000u);
}

TEST(EqualizerEffect, InactiveLeavesTheBlockUnchangedBitForBit) {
    const bool rows[][2] = {{false, false}, {true, false}, {false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "on " << row[0] << " preview " << row[1]);
        CEqualizerEffect equalizer(44100);
        equalizer.SetOn(row[0]);
        equalizer.SetPreviewActive(row[1]);
        equalizer.SetLowGain(12000);
        equalizer.SetHighCut(1000);
        std::vector<float> left = Noise(kBlock * 8, 1);
        std::vector<float> right = Noise(kBlock * 8, 2);
        left[3] = 1e-40f;  // a denormal passes untouched too
        const std::vector<float> originalLeft = left;
        const std::vector<float> originalRight = right;
        ProcessAll(equalizer, left, right);
        EXPECT_EQ(std::memcmp(left.data(), originalLeft.data(), left.size() * sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(right.data(), originalRight.data(), right.size() * sizeof(float)), 0);
    }
}

// The low cut and high cut alone, in double, from their defining recursions.
class CCutsOnly {
public:
    CCutsOnly(double rate, double lowCut, double highCut) {
        const double w = kPi * lowCut / rate;
        fL0 = 2.0 * std::cos(2.0 * w) * std::exp(-w / 0.707);
        fL1 = std::exp(-2.0 * w / 0.707);
        fL2 = std::cos(w);
        const double r = highCut / rate;
        const double v = kPi * r;
        const double k = 0.6 - r;
        fH0 = 2.0 * std::cos(2.0 * v) * std::exp(-v / k);
        fH1 = std::exp(-2.0 * v / k);
        fH2 = fH1 + 1.0 - fH0;
    }

    double Next(double x) {
        const double z = fL0 * fZ1 - fL1 * fZ2 + fL2 * x;
        const double o = fH0 * fO1 - fH1 * fO2 + fH2 * (z - 2.0 * fZ1 + fZ2);
        fZ2 = fZ1;
        fZ1 = z;
        fO2 = fO1;
        fO1 = o;
        return o;
    }

private:
    double fL0, fL1, fL2, fH0, fH1, fH2;
    double fZ1 = 0, fZ2 = 0, fO1 = 0, fO2 = 0;
};

TEST(EqualizerEffect, WithFlatBandsOnlyTheCutsChangeTheSignal) {
    for (uint32_t rate : {44100u, 48000u, 96000u}) {
        SCOPED_TRACE(rate);
        CEqualizerEffect equalizer = ActiveEqualizer(rate);
        std::vector<float> left = Noise(kBlock * 64, 3);
        std::vector<float> right = Noise(kBlock * 64, 4);
        const std::vector<float> input = left;
        ProcessAll(equalizer, left, right);
        CCutsOnly reference(rate, 15.0, 20000.0);
        double largest = 0.0;
        for (size_t i = 0; i < input.size(); ++i)
            largest = std::max(largest, std::fabs(left[i] - reference.Next(input[i])));
        // The bands add about 0.000001 of their signal. The rest is float rounding: the low
        // cut's poles lift noise to thousands before the second difference takes it back.
        EXPECT_LT(largest, 5e-3);
    }
}

TEST(EqualizerEffect, WithTheDefaultsAMidBandSinePassesUnchangedInLevel) {
    for (uint32_t rate : {44100u, 48000u, 96000u}) {
        for (double hertz : {200.0, 1000.0, 4000.0}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz rate, " << hertz << " Hz tone");
            CEqualizerEffect equalizer = ActiveEqualizer(rate);
            std::vector<float> left(size_t(kBlock) * 400);
            for (size_t i = 0; i < left.size(); ++i) left[i] = float(0.5 * std::sin(2.0 * kPi * hertz * i / rate));
            std::vector<float> right = left;
            ProcessAll(equalizer, left, right);
            float peak = 0.0f;
            for (size_t i = left.size() / 2; i < left.size(); ++i) peak = std::max(peak, std::fabs(left[i]));
            EXPECT_NEAR(peak, 0.5f, 0.005f);
            EXPECT_EQ(std::memcmp(left.data(), right.data(), left.size() * sizeof(float)), 0);
        }
    }
}

struct SBandRow {
    int16_t fQ;
    int16_t fGain;
    int16_t fEquivalentQ;
};

TEST(EqualizerEffect, CutsBelowMinusOneDecibelNarrowTheQByTwoOverTheGain) {
    const SBandRow rows[] = {
        {6000, -12000, 1000},  // −12 dB: Q × 2/12, one sixth
        {1000, -1000, 1000},   // −1 dB is not below −1: Q unchanged
        {1000, -2000, 1000},   // −2 dB: Q × 2/2
        {1000, -4000, 500},    // −4 dB: Q × 2/4
        {1000, 6000, 1000},    // boosts leave Q alone
    };
    for (const SBandRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fQ << " " << row.fGain);
        const SCoefficients cut = SettledCoefficients(44100, [&](CEqualizerEffect& e) {
            e.SetLowFrequency(1000);
            e.SetLowQ(row.fQ);
            e.SetLowGain(row.fGain);
            e.SetHighFrequency(5000);
            e.SetHighQ(row.fQ);
            e.SetHighGain(row.fGain);
        });
        const SCoefficients flat = SettledCoefficients(44100, [&](CEqualizerEffect& e) {
            e.SetLowFrequency(1000);
            e.SetLowQ(row.fEquivalentQ);
            e.SetHighFrequency(5000);
            e.SetHighQ(row.fEquivalentQ);
        });
        EXPECT_NEAR(cut.c0, flat.c0, 1e-6f);
        EXPECT_NEAR(cut.c1, flat.c1, 1e-6f);
        EXPECT_NEAR(cut.c2, flat.c2, 1e-6f);
        EXPECT_NEAR(cut.d0, flat.d0, 1e-6f);
        EXPECT_NEAR(cut.d1, flat.d1, 1e-6f);
        EXPECT_NEAR(cut.d2, flat.d2, 1e-6f);
        // The band's added gain a is 10^(G/20) − 0.999999.
        EXPECT_NEAR(cut.a, std::pow(10.0, row.fGain / 20000.0) - 0.999999, 1e-6);
        EXPECT_EQ(cut.a, cut.b);
    }
    // 10^(−12/20) − 0.999999 = 0.2511886 − 0.999999
    const SCoefficients minus12 = SettledCoefficients(44100, [](CEqualizerEffect& e) { e.SetLowGain(-12000); });
    EXPECT_NEAR(minus12.a, -0.7488104f, 1e-6f);
    // 0 dB: 1 − 0.999999
    const SCoefficients flat = SettledCoefficients(44100, [](CEqualizerEffect&) {});
    EXPECT_NEAR(flat.a, 0.000001f, 1e-7f);
}

TEST(EqualizerEffect, PeakingBandCoefficientsAtKnownFrequencies) {
    // 0 Hz (and below, clamped): w = 0, β = Q / 2Q = 0.5, c0 = 0, c2 = 1, c1 = 2 × cos 0 × 1.
    for (int16_t hertz : {int16_t(0), int16_t(-500)}) {
        const SCoefficients c = SettledCoefficients(44100, [&](CEqualizerEffect& e) { e.SetLowFrequency(hertz); });
        EXPECT_EQ(c.c0, 0.0f);
        EXPECT_EQ(c.c1, 2.0f);
        EXPECT_EQ(c.c2, 1.0f);
    }
    // 11025 Hz at 44100: w = π/2, β = (1 − π/4)/(2 + π/2) = 0.0600992, c1 = 2 × cos(π/2) × … = 0.
    const SCoefficients c = SettledCoefficients(44100, [](CEqualizerEffect& e) { e.SetHighFrequency(11025); });
    EXPECT_NEAR(c.d0, 0.5f - 0.0600992f, 1e-6f);
    EXPECT_NEAR(c.d2, 2.0f * 0.0600992f, 1e-6f);
    EXPECT_NEAR(c.d1, 0.0f, 1e-6f);
}

TEST(EqualizerEffect, FrequenciesAboveTheHighestAreTreatedAsTheHighest) {
    // fmax = rate × 0.45351473: 9999.9998 at 22050, 19999.9996 at 44100.
    const struct {
        uint32_t fRate;
        int16_t fAbove;
        int16_t fBelow;
    } rows[] = {{22050, 10001, 9990}, {44100, 20001, 19990}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fRate);
        auto withAll = [](int16_t hertz) {
            return [hertz](CEqualizerEffect& e) {
                e.SetLowCut(hertz);
                e.SetLowFrequency(hertz);
                e.SetHighFrequency(hertz);
                e.SetHighCut(hertz);
            };
        };
        const SCoefficients above = SettledCoefficients(row.fRate, withAll(row.fAbove));
        ExpectSameCoefficients(above, SettledCoefficients(row.fRate, withAll(32767)));
        const SCoefficients below = SettledCoefficients(row.fRate, withAll(row.fBelow));
        EXPECT_NE(above.h0, below.h0);
        EXPECT_NE(above.l0, below.l0);
        EXPECT_NE(above.c2, below.c2);
    }
}

TEST(EqualizerEffect, WorkingValuesGlideFivePercentPerBlock) {
    // 100 × 0.95 + 1000 × 0.05 = 145 after one block, in float as well.
    CEqualizerEffect gliding(44100);
    gliding.SetLowFrequency(1000);
    float left[kBlock] = {};
    float right[kBlock] = {};
    gliding.Process(left, right);
    ExpectSameCoefficients(gliding.GetCoefficients(),
                           SettledCoefficients(44100, [](CEqualizerEffect& e) { e.SetLowFrequency(145); }));
    // Reset jumps to the target.
    gliding.Reset();
    gliding.Process(left, right);
    ExpectSameCoefficients(gliding.GetCoefficients(),
                           SettledCoefficients(44100, [](CEqualizerEffect& e) { e.SetLowFrequency(1000); }));
}

TEST(EqualizerEffect, SwitchingOnWhilePreviewIsActiveStartsFromClearedStateWithoutGlide) {
    auto configure = [](CEqualizerEffect& e) {
        e.SetLowGain(9000);
        e.SetLowFrequency(300);
        e.SetHighGain(-6000);
        e.SetHighCut(8000);
    };
    CEqualizerEffect used = ActiveEqualizer(44100);
    std::vector<float> left = Noise(kBlock * 20, 5);
    std::vector<float> right = Noise(kBlock * 20, 6);
    ProcessAll(used, left, right);  // state and working values far from zero
    used.SetOn(false);
    float block[kBlock] = {};
    float blockRight[kBlock] = {};
    used.Process(block, blockRight);
    configure(used);
    used.SetOn(true);

    CEqualizerEffect fresh = ActiveEqualizer(44100);
    configure(fresh);

    std::vector<float> inputLeft = Noise(kBlock, 7);
    std::vector<float> inputRight = Noise(kBlock, 8);
    std::vector<float> usedLeft = inputLeft, usedRight = inputRight;
    std::vector<float> freshLeft = inputLeft, freshRight = inputRight;
    used.Process(usedLeft.data(), usedRight.data());
    fresh.Process(freshLeft.data(), freshRight.data());
    EXPECT_EQ(std::memcmp(usedLeft.data(), freshLeft.data(), sizeof(float) * kBlock), 0);
    EXPECT_EQ(std::memcmp(usedRight.data(), freshRight.data(), sizeof(float) * kBlock), 0);
    ExpectSameCoefficients(used.GetCoefficients(), SettledCoefficients(44100, configure));
    EXPECT_NE(std::memcmp(usedLeft.data(), inputLeft.data(), sizeof(float) * kBlock), 0);
}

TEST(EqualizerEffect, CopyKeepsSettingsAndWorkingValuesButNotCoefficientsOrState) {
    CEqualizerEffect original = ActiveEqualizer(48000);
    original.SetHighGain(6000);
    std::vector<float> left = Noise(kBlock * 10, 9);
    std::vector<float> right = Noise(kBlock * 10, 10);
    ProcessAll(original, left, right);
    original.SetLowFrequency(2000);  // the copy inherits a glide in progress

    for (int32_t byAssignment = 0; byAssignment < 2; ++byAssignment) {
        SCOPED_TRACE(byAssignment ? "assignment" : "construction");
        CEqualizerEffect copy(11025);
        if (byAssignment) copy = original;
        else copy = CEqualizerEffect(original);
        EXPECT_EQ(copy.GetSampleRate(), 48000u);
        EXPECT_EQ(copy.GetHighGain(), 6000);
        EXPECT_EQ(copy.GetLowFrequency(), 2000);
        EXPECT_TRUE(copy.IsOn());
        ExpectSameCoefficients(copy.GetCoefficients(), SCoefficients());

        CEqualizerEffect inactiveOriginal = original;
        inactiveOriginal.SetPreviewActive(false);
        CEqualizerEffect inactiveCopy = inactiveOriginal;
        float a[kBlock] = {}, b[kBlock] = {}, c[kBlock] = {}, d[kBlock] = {};
        inactiveOriginal.Process(a, b);
        inactiveCopy.Process(c, d);
        ExpectSameCoefficients(inactiveCopy.GetCoefficients(), inactiveOriginal.GetCoefficients());
    }
    // The working values glided, so they differ from a settled equalizer's.
    CEqualizerEffect inactive = original;
    inactive.SetPreviewActive(false);
    float a[kBlock] = {}, b[kBlock] = {};
    inactive.Process(a, b);
    const SCoefficients settled = SettledCoefficients(48000, [](CEqualizerEffect& e) {
        e.SetHighGain(6000);
        e.SetLowFrequency(2000);
    });
    EXPECT_NE(inactive.GetCoefficients().c2, settled.c2);

    // A copy of a running equalizer starts from zero state: its output equals a fresh one's.
    CEqualizerEffect settledRunning = ActiveEqualizer(48000);
    settledRunning.SetHighGain(6000);
    ProcessAll(settledRunning, left, right);
    CEqualizerEffect copy(settledRunning);
    CEqualizerEffect fresh = ActiveEqualizer(48000);
    fresh.SetHighGain(6000);
    std::vector<float> copyLeft = Noise(kBlock, 11), copyRight = Noise(kBlock, 12);
    std::vector<float> freshLeft = copyLeft, freshRight = copyRight;
    copy.Process(copyLeft.data(), copyRight.data());
    fresh.Process(freshLeft.data(), freshRight.data());
    EXPECT_EQ(std::memcmp(copyLeft.data(), freshLeft.data(), sizeof(float) * kBlock), 0);
}

TEST(EqualizerEffect, OutputStaysFiniteForRandomSettings) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int32_t> anyValue(-32768, 32767);
    for (int32_t trial = 0; trial < 40; ++trial) {
        const uint32_t rate = std::uniform_int_distribution<uint32_t>(8000, 200000)(random);
        CEqualizerEffect equalizer = ActiveEqualizer(rate);
        for (int32_t block = 0; block < 200; ++block) {
            if (block % 25 == 0) {
                equalizer.SetLowCut(int16_t(anyValue(random)));
                equalizer.SetLowFrequency(int16_t(anyValue(random)));
                equalizer.SetLowQ(int16_t(anyValue(random)));
                equalizer.SetLowGain(int16_t(anyValue(random)));
                equalizer.SetHighFrequency(int16_t(anyValue(random)));
                equalizer.SetHighQ(int16_t(anyValue(random)));
                equalizer.SetHighGain(int16_t(anyValue(random)));
                equalizer.SetHighCut(int16_t(anyValue(random)));
                if (block == 100) equalizer.Reset();
            }
            std::vector<float> left = Noise(kBlock, uint32_t(trial * 1000 + block));
            std::vector<float> right = left;
            equalizer.Process(left.data(), right.data());
            for (float value : left) ASSERT_TRUE(std::isfinite(value)) << "trial " << trial << " block " << block;
        }
    }
}

}  // namespace
}  // namespace NSQuillet
