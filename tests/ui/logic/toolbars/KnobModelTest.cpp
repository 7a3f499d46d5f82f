#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ui/logic/SkinPictures.h"
#include "ui/logic/WindowKeys.h"
#include "ui/logic/toolbars/KnobModel.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"
#include "ui/logic/toolbars/ValueTexts.h"

namespace NSQuillet {
namespace {

CKnobModel Knob(EToolbarKnob knob, int32_t value) {
    CKnobModel model(GetToolbarKnobSettings(knob));
    model.SetValue(value);
    return model;
}

TEST(KnobModelTest, LinearStepsSnapTheOffsetToTheCoarseGridFirst) {
    const struct {
        EToolbarKnob fKnob;
        int32_t fValue;
        int32_t fSteps;
        double fRate;
        int32_t fExpected;
    } rows[] = {
        {EToolbarKnob::kPitch, 130, 25, 25, 150},            // offset 2530 → 2525 (nearer), + 25
        {EToolbarKnob::kPitch, 140, 25, 25, 175},            // 2540 → 2550, + 25
        {EToolbarKnob::kPitch, 140, -25, 25, 125},           // 2540 → 2550, − 25
        {EToolbarKnob::kPitch, 130, 1, 0.5, 131},            // fine rate 0.5: no grid
        {EToolbarKnob::kPitch, 2390, 25, 25, 2400},          // 4790 → 4800, + 25, clamped
        {EToolbarKnob::kPitch, -2390, -50, 25, -2400},       // 10 → 0, − 50, clamped
        {EToolbarKnob::kPreviewTempo, 20500, 1000, 1000, 22000},  // 500 → 1000 (half up), + 1000
        {EToolbarKnob::kShaperRelease, 140, 3, 3, 143},      // offset 6 is on the grid of 3, + 3
        {EToolbarKnob::kShaperThreshold, 77, 1, 0.7, 78},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fValue);
        const CKnobModel model(GetToolbarKnobSettings(row.fKnob));
        EXPECT_EQ(model.StepValue(row.fValue, row.fSteps, row.fRate), row.fExpected);
    }
}

TEST(KnobModelTest, FrameIndexRunsFromTheFirstToTheLastFrame) {
    const struct {
        EToolbarKnob fKnob;
        int32_t fValue;
        int32_t fFrame;
    } rows[] = {
        {EToolbarKnob::kPitch, -2400, 0},
        {EToolbarKnob::kPitch, 0, 31},      // 2400 × 63 / 4800 = 31.5
        {EToolbarKnob::kPitch, 2400, 63},
        {EToolbarKnob::kEnvelopeDecay, 750, 63},
        {EToolbarKnob::kProcessingGain, 0, 0},
        {EToolbarKnob::kProcessingGain, 1000, 43},  // ln(1010 / 10) × 63 / ln(7953 / 10) = 43.53
        {EToolbarKnob::kProcessingGain, 7943, 63},
        {EToolbarKnob::kLowCut, 1000, 39},          // ln(1000 / 15) × 63 / ln 800 = 39.58
        {EToolbarKnob::kLowCut, 12000, 63},
        {EToolbarKnob::kLowFrequency, 100, 20},     // ln 5 × 63 / ln 150 = 20.2
        {EToolbarKnob::kHighFrequency, 2500, 13},   // ln(5 / 3) × 63 / ln(32 / 3) = 13.61
        {EToolbarKnob::kHighCut, 1000, 27},         // ln 10 × 63 / ln 200 = 27.38
        {EToolbarKnob::kHighCut, 20000, 63},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fValue);
        EXPECT_EQ(Knob(row.fKnob, row.fValue).GetFrameIndex(NSQuilletSkin::kKnobFrameCount), row.fFrame);
    }
}

TEST(KnobModelTest, SlowTravelAddsUpUntilItMakesAStep) {
    // Threshold, 0.7 steps per pixel: one pixel is no step, the second makes one.
    CKnobModel model = Knob(EToolbarKnob::kShaperThreshold, 77);
    EXPECT_EQ(model.Press(0, 0, 0), std::nullopt);
    EXPECT_TRUE(model.IsCaptured());
    EXPECT_EQ(model.Move(1, 0, 0), std::nullopt);
    EXPECT_EQ(model.Move(2, 0, 0), 78);  // 2 × 0.7 from the press
    EXPECT_EQ(model.Move(3, 0, 0), std::nullopt);
    EXPECT_EQ(model.Move(4, 0, 0), 79);  // from the point of the last step
    EXPECT_EQ(model.Move(14, 0, 0), 86);  // 10 × 0.7 = 7, not 6
    // Vertical travel wins when it is the larger: up increases.
    EXPECT_EQ(model.Move(15, -10, 0), 93);  // −dy = 10 > |dx| = 1
    EXPECT_EQ(model.Move(25, -9, 0), 100);  // dx = 10 > |dy| = 1
    model.Release();
    EXPECT_FALSE(model.IsCaptured());
    EXPECT_EQ(model.Move(40, 0, 0), std::nullopt);
    EXPECT_EQ(model.GetValue(), 100);
}

TEST(KnobModelTest, ChangingFineModeResetsTheReferencePoint) {
    // Gate: coarse 5 on a grid of 5, fine 0.5.
    CKnobModel model = Knob(EToolbarKnob::kGateSensitivity, 0);
    model.Press(0, 0, 0);
    EXPECT_EQ(model.Move(10, 0, kModifier_Extend), std::nullopt);  // new reference at 10
    EXPECT_EQ(model.Move(12, 0, kModifier_Extend), 1);              // 2 × 0.5, not 12 × 0.5
    EXPECT_EQ(model.Move(12, 0, 0), std::nullopt);                  // coarse again, reference at 12
    EXPECT_EQ(model.Move(13, 0, 0), 5);                             // offset 1 → 0 on the grid, + 5

    // Pressed in fine mode.
    CKnobModel fine = Knob(EToolbarKnob::kGateSensitivity, 0);
    fine.Press(0, 0, kModifier_Extend);
    EXPECT_EQ(fine.Move(4, 0, kModifier_Extend), 2);
    EXPECT_EQ(fine.Move(5, 0, kModifier_Extend | kModifier_Fine), std::nullopt);
}

TEST(KnobModelTest, TheDefaultIsStickyOnceInEachDirection) {
    // Pitch at −40 cents, 25 cents a pixel.
    CKnobModel model = Knob(EToolbarKnob::kPitch, -40);
    model.Press(0, 0, 0);
    EXPECT_EQ(model.Move(3, 0, 0), 0);    // 2360 → 2350, + 75 = +25 cents: stops on 0
    EXPECT_EQ(model.Move(4, 0, 0), 25);   // and goes on from there
    EXPECT_EQ(model.Move(2, 0, 0), 0);    // 2425 − 50 = −25 cents: stops on 0
    EXPECT_EQ(model.Move(0, 0, 0), -50);
}

TEST(KnobModelTest, MagnifyClickResetsToTheDefaultWithoutCapture) {
    CKnobModel model = Knob(EToolbarKnob::kLowGain, -5400);
    EXPECT_EQ(model.Press(5, 5, kModifier_Magnify), 0);
    EXPECT_FALSE(model.IsCaptured());
    EXPECT_EQ(model.GetValue(), 0);
    EXPECT_EQ(model.Move(50, 5, 0), std::nullopt);

    SKnobSettings noDefault = GetToolbarKnobSettings(EToolbarKnob::kLowGain);
    noDefault.fHasDefault = false;
    CKnobModel plain(noDefault);
    EXPECT_EQ(plain.Press(5, 5, kModifier_Magnify), std::nullopt);
    EXPECT_TRUE(plain.IsCaptured());
}

TEST(KnobModelTest, SettingTheValueClampsAndTellsWhetherItChanged) {
    CKnobModel model(GetToolbarKnobSettings(EToolbarKnob::kLowQ));
    EXPECT_EQ(model.GetValue(), 500);  // the minimum until set
    EXPECT_TRUE(model.SetValue(1000));
    EXPECT_FALSE(model.SetValue(1000));
    EXPECT_TRUE(model.SetValue(20000));
    EXPECT_EQ(model.GetValue(), 10000);
}

TEST(KnobModelTest, EqualTravelOnALogKnobMultipliesByEqualFactors) {
    // p = trunc(ln((v + o) / (min + o)) × r / L), snapped to the coarse grid, plus the steps;
    // v = trunc((min + o) × e^(L × p / r)) − o.
    const struct {
        EToolbarKnob fKnob;
        int32_t fStart;
        int32_t fDx;
        double fFactor;  // e^(L × steps / r)
        int32_t fValues[6];
    } rows[] = {
        // o = 10, L = ln 795.3, r = 7943; 10 px × 40 = 400 steps: × 1.3998.
        // 1000: p = 5488 → 5480 + 400 = 5880 → trunc(10 × e^(6.67872 × 5880 / 7943)) − 10 = 1393.
        {EToolbarKnob::kProcessingGain, 1000, 10, 1.3998, {1393, 1954, 2739, 3839, 5378, 7532}},
        {EToolbarKnob::kProcessingGain, 1000, -10, 0.7144, {706, 501, 355, 251, 176, 123}},
        // o = 0, L = ln 800, r = 11985; 20 px × 50 = 1000 steps: × 1.7467.
        // 15: p = 0 + 1000 → trunc(15 × e^(6.68461 × 1000 / 11985)) = 26.
        {EToolbarKnob::kLowCut, 15, 20, 1.7467, {26, 45, 77, 135, 237, 414}},
        // o = 0, L = ln 200, r = 19900; −20 px × 60 = −1200 steps: × 0.7265.
        // 20000: p = 19900 → 19920 − 1200 = 18720 → trunc(100 × e^(5.29832 × 18720 / 19900)) = 14607.
        {EToolbarKnob::kHighCut, 20000, -20, 0.7265, {14607, 10612, 7710, 5601, 4069, 2956}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fStart);
        CKnobModel model = Knob(row.fKnob, row.fStart);
        model.Press(0, 0, 0);
        int32_t previous = row.fStart;
        for (int32_t i = 0; i < 6; ++i) {
            EXPECT_EQ(model.Move(row.fDx * (i + 1), 0, 0), row.fValues[i]) << i;
            // The grid and the truncations cost about 1 % and a unit or two against the exact factor.
            EXPECT_NEAR(double(row.fValues[i]) / previous, row.fFactor, 0.01 + 2.0 / previous) << i;
            previous = row.fValues[i];
        }
    }
}

TEST(KnobModelTest, WheelNotchesAndArrowKeysStepByAUsefulAmount) {
    const struct {
        EToolbarKnob fKnob;
        int32_t fValue;
        int32_t fNotches;
        bool fFine;
        int32_t fExpected;
    } rows[] = {
        {EToolbarKnob::kPitch, 0, 1, false, 25},             // trunc(25) cents a notch
        {EToolbarKnob::kPitch, 130, 1, false, 150},          // offset 2530 → 2525 on the grid, + 25
        {EToolbarKnob::kPitch, -10, 1, false, 0},            // 2390 → 2400 + 25 = +25 crosses 0: stops on it
        {EToolbarKnob::kPitch, 0, 10, false, 250},           // a page: ten notches
        {EToolbarKnob::kPitch, 0, -1, true, -1},             // fine 0.5: one cent
        {EToolbarKnob::kPitch, 2400, 1, false, 2400},        // at the top
        {EToolbarKnob::kGateSensitivity, 0, -1, false, 0},   // at the bottom
        {EToolbarKnob::kPreviewTempo, 120000, 1, false, 121000},  // 1 BPM
        {EToolbarKnob::kPreviewTempo, 120000, -1, true, 119900},  // 0.1 BPM
        {EToolbarKnob::kEnvelopeStretch, 40, 1, false, 41},  // 0.6 a pixel: still one unit
        {EToolbarKnob::kShaperThreshold, 77, 1, true, 78},
        // Gain: 7943 / 63 = 126 positions a notch, one frame, × 1.112; p(1000) = 5488.
        {EToolbarKnob::kProcessingGain, 1000, 1, false, 1112},  // trunc(10 × e^(6.67872 × 5614 / 7943)) − 10
        {EToolbarKnob::kProcessingGain, 1000, -1, false, 897},  // 5362 → 897.9
        {EToolbarKnob::kProcessingGain, 0, 1, false, 1},        // 126 → 1.12
        {EToolbarKnob::kProcessingGain, 1000, 1, true, 1026},   // grid 40: 5480 + 40 → 1026.9
        // Low cut, fine: 50 and 100 positions still give 15 (15.42, 15.86); 150 gives 16.31.
        {EToolbarKnob::kLowCut, 15, 1, true, 16},
        // 11985 / 63 = 190 positions; p(1000) = 7529 → 7719: trunc(15 × e^(6.68461 × 7719 / 11985)) = 1111.
        {EToolbarKnob::kLowCut, 1000, 1, false, 1111},
        // 2980 / 63 = 47 positions would give 102.7 from 95: across the default 100, stops on it.
        {EToolbarKnob::kLowFrequency, 95, 1, false, 100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(int(row.fKnob)) + " from " + std::to_string(row.fValue));
        CKnobModel model = Knob(row.fKnob, row.fValue);
        EXPECT_EQ(model.NudgedValue(row.fValue, row.fNotches, row.fFine), row.fExpected);
        const std::optional<int32_t> taken = model.Nudge(row.fNotches, row.fFine);
        EXPECT_EQ(taken, row.fExpected == row.fValue ? std::nullopt : std::optional<int32_t>(row.fExpected));
        EXPECT_EQ(model.GetValue(), row.fExpected);
    }
}

TEST(KnobModelTest, TheDecayKnobsTopIsTheEndlessDecay) {
    const struct {
        int32_t fParameter;
        int32_t fKnob;
    } rows[] = {{1023, 750}, {749, 749}, {58, 58}, {10, 58}, {900, 749}};
    for (const auto& row : rows) EXPECT_EQ(DecayKnobValueOfParameter(row.fParameter), row.fKnob) << row.fParameter;
    EXPECT_EQ(DecayParameterOfKnobValue(750), 1023);
    EXPECT_EQ(DecayParameterOfKnobValue(749), 749);

    CKnobModel decay = Knob(EToolbarKnob::kEnvelopeDecay, 700);
    decay.Press(0, 0, 0);
    EXPECT_EQ(decay.Move(0, -40, 0), 750);  // 120 steps up, clamped at the top
    EXPECT_EQ(DecayParameterOfKnobValue(decay.GetValue()), 1023);
    EXPECT_EQ(GetKnobValueText(EToolbarKnob::kEnvelopeDecay, DecayKnobValueOfParameter(1023)), "∞ s");
}

}  // namespace
}  // namespace NSQuillet
