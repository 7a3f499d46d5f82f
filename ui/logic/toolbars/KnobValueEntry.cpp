#include "ui/logic/toolbars/KnobValueEntry.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "ui/logic/toolbars/ValueTexts.h"

namespace NSQuillet {

namespace {

constexpr const char* kInfinity = "\xE2\x88\x9E";     // ∞
constexpr const char* kMinusSign = "\xE2\x88\x92";    // − (the typographic minus)
constexpr const char* kNoBreakSpace = "\xC2\xA0";

// A typed number and what follows it, the unit in lower case; the number is ±infinity for
// "∞" or "inf".
struct STypedNumber {
    double fValue = 0.0;
    std::string fUnit;
};

bool StartsWith(const std::string& text, size_t at, const char* prefix) {
    return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t'; }

void SkipSpaces(const std::string& text, size_t& at) {
    for (;;) {
        if (at < text.size() && IsAsciiSpace(text[at])) {
            ++at;
        } else if (StartsWith(text, at, kNoBreakSpace)) {
            at += 2;
        } else {
            return;
        }
    }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Sign, digits with at most one decimal point ('.' or ','), then the unit. Parsed without the
// C library's locale: the editor runs with the user's, whose decimal point may be a comma.
std::optional<STypedNumber> SplitTypedNumber(const std::string& text) {
    size_t at = 0;
    SkipSpaces(text, at);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    } else if (StartsWith(text, at, kMinusSign)) {
        negative = true;
        at += 3;
    }

    STypedNumber number;
    if (StartsWith(text, at, kInfinity)) {
        number.fValue = std::numeric_limits<double>::infinity();
        at += 3;
    } else if (at + 3 <= text.size() && Lower(text[at]) == 'i' && Lower(text[at + 1]) == 'n' &&
               Lower(text[at + 2]) == 'f') {
        number.fValue = std::numeric_limits<double>::infinity();
        at += 3;
    } else {
        std::string digits;
        bool point = false;
        size_t digitCount = 0;
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (c >= '0' && c <= '9') {
                digits += c;
                ++digitCount;
            } else if ((c == '.' || c == ',') && !point) {
                digits += '.';
                point = true;
            } else {
                break;
            }
        }
        if (digitCount == 0) return std::nullopt;
        const std::from_chars_result result =
            std::from_chars(digits.data(), digits.data() + digits.size(), number.fValue, std::chars_format::fixed);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
    }
    if (negative) number.fValue = -number.fValue;

    SkipSpaces(text, at);
    size_t end = text.size();
    while (end > at && IsAsciiSpace(text[end - 1])) --end;
    for (size_t i = at; i < end; ++i) number.fUnit += Lower(text[i]);
    return number;
}

bool IsOneOf(const std::string& unit, std::initializer_list<const char*> units) {
    for (const char* allowed : units) {
        if (unit == allowed) return true;
    }
    return false;
}

int32_t ClampToKnob(EToolbarKnob knob, double value) {
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    if (!(value > settings.fMinimum)) return settings.fMinimum;
    if (!(value < settings.fMaximum)) return settings.fMaximum;
    return int32_t(std::round(value));
}

// The index of the time table within lowest..highest whose time lies nearest `milliseconds`.
int32_t NearestTimeIndex(double milliseconds, int32_t lowest, int32_t highest) {
    int32_t nearest = lowest;
    double distance = std::fabs(GetKnobTimeOfIndex(lowest) - milliseconds);
    for (int32_t index = lowest + 1; index <= highest; ++index) {
        const double d = std::fabs(GetKnobTimeOfIndex(index) - milliseconds);
        if (d < distance) {
            distance = d;
            nearest = index;
        }
    }
    return nearest;
}

std::optional<int32_t> ParseTime(EToolbarKnob knob, const STypedNumber& number, int32_t highest) {
    if (!IsOneOf(number.fUnit, {"", "ms", "s"}) || !std::isfinite(number.fValue)) return std::nullopt;
    const double milliseconds = number.fUnit == "s" ? number.fValue * 1000.0 : number.fValue;
    return NearestTimeIndex(milliseconds, GetToolbarKnobSettings(knob).fMinimum, highest);
}

// `value` with `decimals` decimals, '.' as the point whatever the locale; no "-0".
std::string Fixed(double value, int32_t decimals) {
    char text[64];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, int(decimals));
    std::string fixed(text, result.ptr);
    if (fixed[0] == '-' && fixed.find_first_not_of("-0.") == std::string::npos) fixed.erase(0, 1);
    return fixed;
}

// The fewest decimals from `fewest` up to `most` with which `shown` (`suffix` after it) parses
// back to `value`: what the user sees is what an unedited Enter keeps.
std::string ShortestText(EToolbarKnob knob, int32_t value, double shown, int32_t fewest, int32_t most,
                         const char* suffix = "") {
    std::string text;
    for (int32_t decimals = fewest; decimals <= most; ++decimals) {
        text = Fixed(shown, decimals) + suffix;
        if (ParseKnobValueEntry(knob, text) == value) break;
    }
    return text;
}

std::string TimeText(EToolbarKnob knob, int32_t value) {
    const double milliseconds = GetKnobTimeOfIndex(value);
    // From a second on the value text shows seconds, so the entry does too, with its unit.
    if (milliseconds >= 1000.0) return ShortestText(knob, value, milliseconds / 1000.0, 1, 4, " s");
    return ShortestText(knob, value, milliseconds, milliseconds < 10.0 ? 1 : 0, 3);
}

std::string FrequencyText(EToolbarKnob knob, int32_t value) {
    if (value >= 1000) return ShortestText(knob, value, value / 1000.0, 0, 3, "k");
    return Fixed(value, 0);
}

}  // namespace

std::optional<int32_t> ParseKnobValueEntry(EToolbarKnob knob, const std::string& text) {
    if (knob == EToolbarKnob::kGateSensitivity) {
        std::string word;
        for (char c : text) {
            if (!IsAsciiSpace(c)) word += Lower(c);
        }
        if (word == "off") return 0;
    }
    const std::optional<STypedNumber> typed = SplitTypedNumber(text);
    if (!typed) return std::nullopt;
    const STypedNumber& number = *typed;
    const double value = number.fValue;
    const bool finite = std::isfinite(value);
    const std::string& unit = number.fUnit;

    switch (knob) {
        case EToolbarKnob::kGateSensitivity:
            if (!unit.empty() || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 10.0);
        case EToolbarKnob::kPitch:
            if (!IsOneOf(unit, {"", "st"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 100.0);
        case EToolbarKnob::kProcessingGain:
            if (!IsOneOf(unit, {"", "db"}) || value == std::numeric_limits<double>::infinity()) return std::nullopt;
            // −∞ dB and any level that rounds below 1 (about −66 dB) are silence.
            return ClampToKnob(knob, 1000.0 * std::pow(10.0, value / 20.0));
        case EToolbarKnob::kPreviewTempo:
            if (!IsOneOf(unit, {"", "bpm"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 1000.0);
        case EToolbarKnob::kEnvelopeAttack:
        case EToolbarKnob::kShaperAttack:
        case EToolbarKnob::kShaperRelease:
            return ParseTime(knob, number, GetToolbarKnobSettings(knob).fMaximum);
        case EToolbarKnob::kEnvelopeDecay:
            if (value == std::numeric_limits<double>::infinity() && IsOneOf(unit, {"", "s"})) return kDecayKnobTop;
            // Every finite time lies below the top, which is the endless decay.
            return ParseTime(knob, number, kDecayKnobTop - 1);
        case EToolbarKnob::kEnvelopeStretch:
            if (!IsOneOf(unit, {"", "%"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, value);
        case EToolbarKnob::kShaperThreshold:
            if (!IsOneOf(unit, {"", "db"}) || value == std::numeric_limits<double>::infinity()) return std::nullopt;
            // The inverse of the text's 20 log10(threshold / 256 + 0.01).
            return ClampToKnob(knob, (std::pow(10.0, value / 20.0) - 0.01) * 256.0);
        case EToolbarKnob::kShaperRatio:
            if (!IsOneOf(unit, {"", "%"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 127.0 / 100.0);
        case EToolbarKnob::kLowCut:
        case EToolbarKnob::kLowFrequency:
        case EToolbarKnob::kHighFrequency:
        case EToolbarKnob::kHighCut:
            if (!IsOneOf(unit, {"", "hz", "k", "khz"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, unit == "k" || unit == "khz" ? value * 1000.0 : value);
        case EToolbarKnob::kLowGain:
        case EToolbarKnob::kHighGain:
            if (!IsOneOf(unit, {"", "db"}) || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 1000.0);
        case EToolbarKnob::kLowQ:
        case EToolbarKnob::kHighQ:
            if (!unit.empty() || !finite) return std::nullopt;
            return ClampToKnob(knob, value * 1000.0);
    }
    return std::nullopt;
}

std::string GetKnobValueEntryText(EToolbarKnob knob, int32_t value) {
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    value = value < settings.fMinimum ? settings.fMinimum : value > settings.fMaximum ? settings.fMaximum : value;
    switch (knob) {
        case EToolbarKnob::kGateSensitivity:
            return Fixed(value / 10.0, 1);
        case EToolbarKnob::kPitch:
            return Fixed(value / 100.0, 2);
        case EToolbarKnob::kProcessingGain:
            if (value == 0) return std::string("-") + kInfinity;
            return ShortestText(knob, value, 20.0 * std::log10(value / 1000.0), 1, 4);
        case EToolbarKnob::kPreviewTempo:
            return Fixed(value / 1000.0, 3);
        case EToolbarKnob::kEnvelopeAttack:
        case EToolbarKnob::kShaperAttack:
        case EToolbarKnob::kShaperRelease:
            return TimeText(knob, value);
        case EToolbarKnob::kEnvelopeDecay:
            if (value >= kDecayKnobTop) return kInfinity;
            return TimeText(knob, value);
        case EToolbarKnob::kEnvelopeStretch:
            return Fixed(value, 0);
        case EToolbarKnob::kShaperThreshold:
            return ShortestText(knob, value, 20.0 * std::log10(value / 256.0 + 0.01), 1, 3);
        case EToolbarKnob::kShaperRatio:
            return ShortestText(knob, value, value * 100.0 / 127.0, 0, 3);
        case EToolbarKnob::kLowCut:
        case EToolbarKnob::kLowFrequency:
        case EToolbarKnob::kHighFrequency:
        case EToolbarKnob::kHighCut:
            return FrequencyText(knob, value);
        case EToolbarKnob::kLowGain:
        case EToolbarKnob::kHighGain:
            return ShortestText(knob, value, value / 1000.0, 1, 3);
        case EToolbarKnob::kLowQ:
        case EToolbarKnob::kHighQ:
            return ShortestText(knob, value, value / 1000.0, 2, 3);
    }
    return std::string();
}

}  // namespace NSQuillet
