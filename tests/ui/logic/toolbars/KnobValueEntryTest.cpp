#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ui/logic/toolbars/KnobValueEntry.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {
namespace {

using K = EToolbarKnob;

// Times are the voices' table T(i) = 4 × 1.1^(i × 100 / 1024) − 3.9 ms; the nearest index wins.
TEST(KnobValueEntryTest, TypedValuesInTheUnitsOfTheValueTexts) {
    const struct {
        EToolbarKnob fKnob;
        const char* fText;
        int32_t fValue;
    } rows[] = {
        {K::kGateSensitivity, "Off", 0},
        {K::kGateSensitivity, " off ", 0},
        {K::kGateSensitivity, "12.5", 125},              // tenths
        {K::kGateSensitivity, "12,5", 125},              // a comma as the point
        {K::kGateSensitivity, "0.04", 0},                // 0.4 rounds to 0
        {K::kGateSensitivity, "100", 999},               // clamped
        {K::kPitch, "+3", 300},                          // semitones → cents
        {K::kPitch, "-12.5", -1250},
        {K::kPitch, "\xE2\x88\x92" "2", -200},           // the typographic minus
        {K::kPitch, "7 st", 700},
        {K::kPitch, "-30", -2400},
        {K::kProcessingGain, "0", 1000},                 // 0 dB = × 1
        {K::kProcessingGain, "-6", 501},                 // 1000 × 10^−0.3 = 501.19
        {K::kProcessingGain, "6 dB", 1995},              // 1000 × 10^0.3 = 1995.26
        {K::kProcessingGain, "18", 7943},                // 1000 × 10^0.9 = 7943.28
        {K::kProcessingGain, "20", 7943},                // 10000, clamped
        {K::kProcessingGain, "-60", 1},                  // 1000 × 10^−3
        {K::kProcessingGain, "-70", 0},                  // 0.316 rounds to silence
        {K::kProcessingGain, "-\xE2\x88\x9E", 0},        // −∞
        {K::kProcessingGain, "-inf dB", 0},
        {K::kPreviewTempo, "140", 140000},               // thousandths of a BPM
        {K::kPreviewTempo, "140.5 BPM", 140500},
        {K::kPreviewTempo, "97,25bpm", 97250},
        {K::kPreviewTempo, "120.0004", 120000},
        {K::kPreviewTempo, "10", 20000},
        {K::kPreviewTempo, "500", 450000},
        {K::kEnvelopeAttack, "0", 0},                    // T(0) = 0.1 is the nearest
        {K::kEnvelopeAttack, "1 ms", 22},                // T(21) = 0.964, T(22) = 1.009
        {K::kEnvelopeAttack, "1ms", 22},
        {K::kShaperAttack, "500", 520},                  // T(519) = 497.2, T(520) = 502.0
        {K::kShaperAttack, "0.5 s", 520},
        {K::kShaperAttack, "9 s", 520},                  // beyond the range: its top
        {K::kEnvelopeDecay, "100 ms", 350},              // T(349) = 99.09, T(350) = 100.06
        {K::kEnvelopeDecay, "\xE2\x88\x9E", 750},        // ∞: the endless decay at the top
        {K::kEnvelopeDecay, "\xE2\x88\x9E s", 750},
        {K::kEnvelopeDecay, "INF", 750},
        {K::kEnvelopeDecay, "10 s", 749},                // finite times stay below the top
        {K::kEnvelopeDecay, "1", 58},                    // T(58) = 2.96, the bottom
        {K::kShaperRelease, "10 ms", 134},               // T(133) = 9.89, T(134) = 10.02
        {K::kShaperRelease, "2 s", 666},                 // above T(666) = 1964.9
        {K::kEnvelopeStretch, "40 %", 40},
        {K::kEnvelopeStretch, "40%", 40},
        {K::kEnvelopeStretch, "150", 100},
        {K::kShaperThreshold, "-40", 0},                 // (10^−2 − 0.01) × 256
        {K::kShaperThreshold, "-10.2 dB", 77},           // (0.30903 − 0.01) × 256 = 76.55
        {K::kShaperThreshold, "0", 127},                 // 253.4, clamped
        {K::kShaperThreshold, "-inf", 0},
        {K::kShaperRatio, "30.7 %", 39},                 // 30.7 × 1.27 = 38.99
        {K::kShaperRatio, "50", 64},                     // 63.5, half away from zero
        {K::kShaperRatio, "100", 127},
        {K::kLowFrequency, "2.5k", 2500},
        {K::kLowFrequency, "2500", 2500},
        {K::kLowFrequency, "2.5 kHz", 2500},
        {K::kLowFrequency, "1,5K", 1500},
        {K::kLowFrequency, "281 Hz", 281},
        {K::kLowFrequency, "5k", 3000},                  // clamped
        {K::kLowCut, "10", 15},                          // clamped
        {K::kHighCut, "20 kHz", 20000},
        {K::kHighCut, "25k", 20000},
        {K::kLowGain, "-5.4", -5400},                    // thousandths of a dB
        {K::kLowGain, "0.25 dB", 250},
        {K::kHighGain, "+18", 18000},
        {K::kHighGain, "-20", -18000},
        {K::kLowQ, "1", 1000},                           // Q × 1000
        {K::kHighQ, "6.25", 6250},
        {K::kHighQ, ".7071", 707},
        {K::kHighQ, "0.1", 500},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.fText) + " for knob " + std::to_string(int(row.fKnob)));
        EXPECT_EQ(ParseKnobValueEntry(row.fKnob, row.fText), row.fValue);
    }
}

TEST(KnobValueEntryTest, RejectsWhatIsNotANumberInTheKnobsUnits) {
    const struct {
        EToolbarKnob fKnob;
        const char* fText;
    } rows[] = {
        {K::kGateSensitivity, ""},
        {K::kGateSensitivity, "   "},
        {K::kGateSensitivity, "abc"},
        {K::kGateSensitivity, "1e3"},          // no exponents
        {K::kGateSensitivity, "1.2.3"},
        {K::kGateSensitivity, "--3"},
        {K::kGateSensitivity, "- 3"},
        {K::kGateSensitivity, "."},
        {K::kGateSensitivity, "12 dB"},        // a unit the knob does not show
        {K::kPitch, "inf"},
        {K::kPitch, "3 semitones up"},
        {K::kPreviewTempo, "1 2 0"},
        {K::kPreviewTempo, "120 bpmx"},
        {K::kProcessingGain, "+inf"},          // only silence is infinite
        {K::kEnvelopeDecay, "-\xE2\x88\x9E"},
        {K::kEnvelopeDecay, "\xE2\x88\x9E dB"},
        {K::kEnvelopeAttack, "5 Hz"},
        {K::kEnvelopeStretch, "off"},          // only the gate is off at 0
        {K::kLowCut, "2.5 MHz"},
        {K::kLowCut, "k"},
        {K::kHighQ, "1 dB"},
        {K::kHighGain, "18 %"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.fText) + " for knob " + std::to_string(int(row.fKnob)));
        EXPECT_EQ(ParseKnobValueEntry(row.fKnob, row.fText), std::nullopt);
    }
}

TEST(KnobValueEntryTest, StartTextsAtMinimumDefaultAndMaximum) {
    const struct {
        EToolbarKnob fKnob;
        const char* fMinimum;
        const char* fDefault;
        const char* fMaximum;
    } rows[] = {
        {K::kGateSensitivity, "0.0", "0.0", "99.9"},
        {K::kPitch, "-24.00", "0.00", "24.00"},
        // 20 log10(7.943) = 17.9997, and 18.0 dB is 7943.28 again.
        {K::kProcessingGain, "-\xE2\x88\x9E", "0.0", "18.0"},
        {K::kPreviewTempo, "20.000", "20.000", "450.000"},
        // T(0) = 0.1; T(21) = 0.964, "1.0" would be T(22) = 1.009; T(520) = 501.96.
        {K::kEnvelopeAttack, "0.1", "0.96", "502"},
        // T(58) = 2.963, "3.0" would be T(59) = 3.027; the top is endless.
        {K::kEnvelopeDecay, "2.96", "\xE2\x88\x9E", "\xE2\x88\x9E"},
        {K::kEnvelopeStretch, "0", "40", "100"},
        // 20 log10(t / 256 + 0.01): −40; −10.151 → "-10.2" = 76.55; −5.915 → "-5.9" = 127.2.
        {K::kShaperThreshold, "-40.0", "-10.2", "-5.9"},
        // 39 × 100 / 127 = 30.71, and 31 % is 39.37 again.
        {K::kShaperRatio, "0", "31", "100"},
        // T(193) = 20.211, "20" would be T(192) = 19.988.
        {K::kShaperAttack, "0.1", "20.2", "502"},
        // T(134) = 10.02; T(350) = 100.06; T(666) = 1964.9, shown in seconds.
        {K::kShaperRelease, "10", "100", "2.0 s"},
        {K::kLowCut, "15", "15", "12k"},
        {K::kLowFrequency, "20", "100", "3k"},
        {K::kLowGain, "-18.0", "0.0", "18.0"},
        {K::kLowQ, "0.50", "1.00", "10.00"},
        // 1500: "2k" would be 2000.
        {K::kHighFrequency, "1.5k", "2.5k", "16k"},
        {K::kHighGain, "-18.0", "0.0", "18.0"},
        {K::kHighQ, "0.50", "1.00", "10.00"},
        {K::kHighCut, "100", "20k", "20k"},
    };
    ASSERT_EQ(std::size(rows), size_t(kToolbarKnobCount));
    for (const auto& row : rows) {
        const SKnobSettings& settings = GetToolbarKnobSettings(row.fKnob);
        SCOPED_TRACE(int(row.fKnob));
        EXPECT_EQ(GetKnobValueEntryText(row.fKnob, settings.fMinimum), row.fMinimum);
        EXPECT_EQ(GetKnobValueEntryText(row.fKnob, settings.fDefault), row.fDefault);
        EXPECT_EQ(GetKnobValueEntryText(row.fKnob, settings.fMaximum), row.fMaximum);
        EXPECT_EQ(ParseKnobValueEntry(row.fKnob, row.fMinimum), settings.fMinimum);
        EXPECT_EQ(ParseKnobValueEntry(row.fKnob, row.fDefault), settings.fDefault);
        EXPECT_EQ(ParseKnobValueEntry(row.fKnob, row.fMaximum), settings.fMaximum);
    }
}

// An unedited Enter must keep the value, so every position's start text reads back as itself.
TEST(KnobValueEntryTest, EveryValuesStartTextParsesBackToIt) {
    for (int32_t k = 0; k < kToolbarKnobCount; ++k) {
        const EToolbarKnob knob = EToolbarKnob(k);
        const SKnobSettings& settings = GetToolbarKnobSettings(knob);
        int32_t failures = 0;
        for (int32_t value = settings.fMinimum; value <= settings.fMaximum && failures < 5; ++value) {
            const std::string text = GetKnobValueEntryText(knob, value);
            if (ParseKnobValueEntry(knob, text) != value) {
                ADD_FAILURE() << "knob " << k << " value " << value << " text " << text;
                ++failures;
            }
        }
    }
}

}  // namespace
}  // namespace NSQuillet
