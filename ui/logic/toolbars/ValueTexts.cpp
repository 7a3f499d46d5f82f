#include "ui/logic/toolbars/ValueTexts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

std::string Fixed(double value, int32_t decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", int(decimals), value);
    // No "-0.0": a value that rounds to zero has no sign.
    if (text[0] == '-' && std::strtod(text, nullptr) == 0.0) return text + 1;
    return text;
}

std::string Text(int32_t entry, const std::string& argument) { return StringReference(entry).With(argument).GetText(); }
std::string Text(int32_t entry) { return StringReference(entry).GetText(); }

// Hundredths with two decimals, exact: −2400 is "-24.00".
std::string Hundredths(int32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%02d", value < 0 ? "-" : "", std::abs(value) / 100, std::abs(value) % 100);
    return text;
}

std::string Percent(double value) { return Text(NSStringIds::kPercent, Fixed(std::round(value), 0)); }

}  // namespace

double RoundToSignificantDigits(double value, int32_t digits) {
    const double magnitude = std::fabs(value);
    double limit = 1.0;
    for (int32_t i = 0; i < digits; ++i) limit *= 10.0;
    if (!(magnitude >= limit)) return value;
    double step = 1.0;
    while (magnitude >= limit * step) step *= 10.0;
    return std::round(value / step) * step;
}

double GetKnobTimeOfIndex(int32_t index) { return std::pow(1.1, double(index) * 100.0 / 1024.0) * 4.0 - 3.9; }

std::string FormatTimeText(double milliseconds) {
    std::string number;
    if (milliseconds >= 100.0) {
        number = Fixed(std::floor(milliseconds / 10.0) * 10.0, 0);
    } else if (milliseconds >= 10.0) {
        number = Fixed(milliseconds, 0);
    } else if (milliseconds > 0.0) {
        number = Fixed(milliseconds, 1);
    } else {
        number = "0";
    }
    return Text(NSStringIds::kMilliseconds, number);
}

std::string FormatWholeMillisecondText(double milliseconds) {
    const double rounded = RoundToSignificantDigits(milliseconds, 2);
    if (rounded < 1000.0) return Text(NSStringIds::kMilliseconds, Fixed(rounded, 0));
    const double seconds = rounded / 1000.0;
    return Fixed(seconds, seconds < 10.0 ? 1 : 0) + " " + Text(NSStringIds::kSecondsUnit);
}

std::string FormatDecibelText(double decibels) {
    if (!(decibels >= -1000.0)) return Text(NSStringIds::kMinusInfinityDecibels);
    double thousandths = RoundToSignificantDigits(decibels * 1000.0, 3);
    if (thousandths >= -999.0 && thousandths <= 999.0) {
        thousandths = std::round(thousandths / 100.0) * 100.0;
    } else if (thousandths >= -9999.0 && thousandths <= 9999.0) {
        thousandths = RoundToSignificantDigits(thousandths, 2);
    }
    return Text(NSStringIds::kDecibels, Fixed(thousandths / 1000.0, 1));
}

std::string FormatFrequencyText(double hertz) {
    const double rounded = RoundToSignificantDigits(hertz, 2);
    if (rounded < 1000.0) return Text(NSStringIds::kHertz, Fixed(rounded, 0));
    const double kilohertz = rounded / 1000.0;
    return Text(NSStringIds::kKilohertz, Fixed(kilohertz, kilohertz < 10.0 ? 1 : 0));
}

std::string GetKnobValueText(EToolbarKnob knob, int32_t value) {
    switch (knob) {
        case EToolbarKnob::kGateSensitivity:
            return value == 0 ? Text(NSStringIds::kOffLabel) : Fixed(value / 10.0, 1);
        case EToolbarKnob::kPitch:
            return Hundredths(value);
        case EToolbarKnob::kProcessingGain:
            return FormatDecibelText(value <= 0 ? -HUGE_VAL : 20.0 * std::log10(value / 1000.0));
        case EToolbarKnob::kPreviewTempo:
            return Fixed(value / 1000.0, 3) + Text(NSStringIds::kBPMSuffix);
        case EToolbarKnob::kEnvelopeAttack:
        case EToolbarKnob::kShaperAttack:
            return FormatTimeText(GetKnobTimeOfIndex(value));
        case EToolbarKnob::kEnvelopeDecay:
            if (value >= kDecayKnobTop) return Text(NSStringIds::kEndlessSeconds);
            return FormatWholeMillisecondText(GetKnobTimeOfIndex(value));
        case EToolbarKnob::kShaperRelease:
            return FormatWholeMillisecondText(GetKnobTimeOfIndex(value));
        case EToolbarKnob::kEnvelopeStretch:
            return Percent(value);
        case EToolbarKnob::kShaperThreshold:
            // The level the shaper's follower is held at: threshold / 256 + 0.01.
            return FormatDecibelText(20.0 * std::log10(value / 256.0 + 0.01));
        case EToolbarKnob::kShaperRatio:
            return Percent(value * 100.0 / 127.0);
        case EToolbarKnob::kLowCut:
        case EToolbarKnob::kLowFrequency:
        case EToolbarKnob::kHighFrequency:
        case EToolbarKnob::kHighCut:
            return FormatFrequencyText(value);
        case EToolbarKnob::kLowGain:
        case EToolbarKnob::kHighGain:
            return FormatDecibelText(value / 1000.0);
        case EToolbarKnob::kLowQ:
        case EToolbarKnob::kHighQ:
            return Fixed(value / 1000.0, 2);
    }
    return std::string();
}

}  // namespace NSQuillet
