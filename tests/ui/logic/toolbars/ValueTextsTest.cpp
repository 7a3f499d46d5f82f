#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "ui/logic/toolbars/ToolbarKnobs.h"
#include "ui/logic/toolbars/ValueTexts.h"

namespace NSQuillet {
namespace {

// T(i) = 1.1^(i × 100 / 1024) × 4 − 3.9 ms, the voices' time table.
TEST(ValueTextsTest, EveryKnobsTextAtMinimumDefaultAndMaximum) {
    const struct {
        EToolbarKnob fKnob;
        const char* fMinimum;
        const char* fDefault;
        const char* fMaximum;
    } rows[] = {
        {EToolbarKnob::kGateSensitivity, "Off", "Off", "99.9"},           // 0 is off; 999 / 10
        {EToolbarKnob::kPitch, "-24.00", "0.00", "24.00"},                // cents / 100
        {EToolbarKnob::kProcessingGain, "-∞ dB", "0.0 dB", "18.0 dB"},    // 20 log10(7.943) = 17.9997
        {EToolbarKnob::kPreviewTempo, "20.000 BPM", "20.000 BPM", "450.000 BPM"},
        // T(0) = 0.1; T(21) = 0.963; T(520) = 501.96 → 500.
        {EToolbarKnob::kEnvelopeAttack, "0.1 ms", "1.0 ms", "500 ms"},
        // T(58) = 2.963 → 3 ms; the top is endless.
        {EToolbarKnob::kEnvelopeDecay, "3 ms", "∞ s", "∞ s"},
        {EToolbarKnob::kEnvelopeStretch, "0 %", "40 %", "100 %"},
        // 20 log10(t / 256 + 0.01): −40 dB; −10.151 → −10.2; −5.915 → −5920 → −5.9.
        {EToolbarKnob::kShaperThreshold, "-40.0 dB", "-10.2 dB", "-5.9 dB"},
        // ratio × 100 / 127: 39 → 30.7.
        {EToolbarKnob::kShaperRatio, "0 %", "31 %", "100 %"},
        // T(193) = 20.21 → 20.
        {EToolbarKnob::kShaperAttack, "0.1 ms", "20 ms", "500 ms"},
        // T(134) = 10.02 → 10; T(350) = 100.06 → 100; T(666) = 1964.9 → 2000.
        {EToolbarKnob::kShaperRelease, "10 ms", "100 ms", "2.0 s"},
        {EToolbarKnob::kLowCut, "15 Hz", "15 Hz", "12 kHz"},
        {EToolbarKnob::kLowFrequency, "20 Hz", "100 Hz", "3.0 kHz"},
        {EToolbarKnob::kLowGain, "-18.0 dB", "0.0 dB", "18.0 dB"},
        {EToolbarKnob::kLowQ, "0.50", "1.00", "10.00"},
        {EToolbarKnob::kHighFrequency, "1.5 kHz", "2.5 kHz", "16 kHz"},
        {EToolbarKnob::kHighGain, "-18.0 dB", "0.0 dB", "18.0 dB"},
        {EToolbarKnob::kHighQ, "0.50", "1.00", "10.00"},
        {EToolbarKnob::kHighCut, "100 Hz", "20 kHz", "20 kHz"},
    };
    ASSERT_EQ(std::size(rows), size_t(kToolbarKnobCount));
    for (const auto& row : rows) {
        const SKnobSettings& settings = GetToolbarKnobSettings(row.fKnob);
        SCOPED_TRACE(int(row.fKnob));
        EXPECT_EQ(GetKnobValueText(row.fKnob, settings.fMinimum), row.fMinimum);
        EXPECT_EQ(GetKnobValueText(row.fKnob, settings.fDefault), row.fDefault);
        EXPECT_EQ(GetKnobValueText(row.fKnob, settings.fMaximum), row.fMaximum);
    }
}

TEST(ValueTextsTest, KnobTextsBetweenTheEnds) {
    const struct {
        EToolbarKnob fKnob;
        int32_t fValue;
        const char* fText;
    } rows[] = {
        {EToolbarKnob::kGateSensitivity, 5, "0.5"},
        {EToolbarKnob::kPitch, -50, "-0.50"},
        {EToolbarKnob::kPitch, 1234, "12.34"},
        {EToolbarKnob::kProcessingGain, 1, "-60.0 dB"},       // 20 log10(0.001)
        {EToolbarKnob::kProcessingGain, 501, "-6.0 dB"},      // −6.004 → −6000
        {EToolbarKnob::kEnvelopeDecay, 749, "4.3 s"},         // T(749) = 4259 → 4300
        {EToolbarKnob::kEnvelopeDecay, 594, "1.0 s"},         // T(594) = 1003.4 → 1000
        {EToolbarKnob::kEnvelopeDecay, 349, "99 ms"},         // T(349) = 99.09
        {EToolbarKnob::kShaperAttack, 134, "10 ms"},          // T(134) = 10.02
        {EToolbarKnob::kLowGain, -5400, "-5.4 dB"},
        {EToolbarKnob::kLowGain, 250, "0.3 dB"},              // 250 → 300, half away from zero
        {EToolbarKnob::kLowGain, -40, "0.0 dB"},              // no "-0.0"
        {EToolbarKnob::kLowFrequency, 281, "280 Hz"},
        {EToolbarKnob::kLowCut, 995, "1.0 kHz"},              // 2 digits: 1000
        {EToolbarKnob::kHighFrequency, 9950, "10 kHz"},       // 2 digits: 10000
        {EToolbarKnob::kHighQ, 6250, "6.25"},
    };
    for (const auto& row : rows) EXPECT_EQ(GetKnobValueText(row.fKnob, row.fValue), row.fText) << row.fValue;
}

TEST(ValueTextsTest, FormatsAtTheirBoundaries) {
    EXPECT_EQ(RoundToSignificantDigits(1234, 2), 1200);
    EXPECT_EQ(RoundToSignificantDigits(-1250, 2), -1300);  // half away from zero
    EXPECT_EQ(RoundToSignificantDigits(99.4, 2), 99.4);     // below 10^2: unchanged

    EXPECT_EQ(FormatTimeText(0.0), "0 ms");
    EXPECT_EQ(FormatTimeText(-1.0), "0 ms");
    EXPECT_EQ(FormatTimeText(5.57), "5.6 ms");
    EXPECT_EQ(FormatTimeText(99.4), "99 ms");
    EXPECT_EQ(FormatTimeText(159.9), "150 ms");  // rounded down to tens

    EXPECT_EQ(FormatWholeMillisecondText(12345), "12 s");  // 12000
    EXPECT_EQ(FormatWholeMillisecondText(996), "1.0 s");   // 2 digits: 1000

    EXPECT_EQ(FormatDecibelText(-1000.5), "-∞ dB");
    EXPECT_EQ(FormatDecibelText(-1000.0), "-1000.0 dB");
    EXPECT_EQ(FormatDecibelText(-HUGE_VAL), "-∞ dB");
    EXPECT_EQ(FormatDecibelText(0.9996), "1.0 dB");  // 999.6: 2 digits from 1000 up
    EXPECT_EQ(FormatDecibelText(12.34), "12.3 dB");  // 12340 → 12300

    EXPECT_EQ(FormatFrequencyText(12000), "12 kHz");
    EXPECT_EQ(FormatFrequencyText(2500), "2.5 kHz");
}

}  // namespace
}  // namespace NSQuillet
