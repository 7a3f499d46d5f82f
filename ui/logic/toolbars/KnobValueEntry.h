#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {

// What the user typed into a knob's entry field, in the units its value text shows (semitones,
// dB, BPM, Hz or kHz, ms or s, percent…), as the knob's value clamped into its range; none
// when the text is not a number. A unit typed after the number may be left out.
std::optional<int32_t> ParseKnobValueEntry(EToolbarKnob knob, const std::string& text);

// The knob's value as the entry field starts with: its value text without the unit.
std::string GetKnobValueEntryText(EToolbarKnob knob, int32_t value);

}  // namespace NSQuillet
