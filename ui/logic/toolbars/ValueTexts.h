#pragma once

#include <cstdint>
#include <string>

#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {

// Rounds half away from zero to `digits` significant digits when |value| ≥ 10^digits
// (1234 with 2 gives 1200); smaller values are returned unchanged.
double RoundToSignificantDigits(double value, int32_t digits);

// The voices' time table in milliseconds for an index 0..1023 (0.1 ms at 0), which the
// attack, decay and release knobs step through.
double GetKnobTimeOfIndex(int32_t index);

// Attack-like times: from 100 ms down to a multiple of 10, from 10 ms whole, above 0 with one
// decimal, else "0"; then " ms".
std::string FormatTimeText(double milliseconds);
// Decay-like times: 2 significant digits; below 1 s in whole ms, from 1 s in seconds (one
// decimal below 10 s).
std::string FormatWholeMillisecondText(double milliseconds);
// One decimal after rounding to 3 significant digits of the thousandths and then to tenths
// (or 2 significant digits from 1 dB); "-∞ dB" below −1000 dB.
std::string FormatDecibelText(double decibels);
// 2 significant digits; whole Hz below 1 kHz, kHz with one decimal below 10 kHz, none above.
std::string FormatFrequencyText(double hertz);

// The text beside a knob for its value (the decay knob's own value: its top is endless).
std::string GetKnobValueText(EToolbarKnob knob, int32_t value);

}  // namespace NSQuillet
