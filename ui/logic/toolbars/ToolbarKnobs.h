#pragma once

#include <cstdint>

#include "ui/logic/toolbars/KnobModel.h"

namespace NSQuillet {

// The knobs of the second, envelope, transient shaper and equalizer toolbars, in that order.
enum class EToolbarKnob : int32_t {
    kGateSensitivity,
    kPitch,
    kProcessingGain,
    kPreviewTempo,
    kEnvelopeAttack,
    kEnvelopeDecay,
    kEnvelopeStretch,
    kShaperThreshold,
    kShaperRatio,
    kShaperAttack,
    kShaperRelease,
    kLowCut,
    kLowFrequency,
    kLowGain,
    kLowQ,
    kHighFrequency,
    kHighGain,
    kHighQ,
    kHighCut,
};
inline constexpr int32_t kToolbarKnobCount = 19;

// Range, default and rates in the units the document holds its parameter in, except that the
// decay knob's top position stands for the endless decay (see below).
const SKnobSettings& GetToolbarKnobSettings(EToolbarKnob knob);

// The decay knob runs 58..750; its top position 750 is the parameter's endless decay 1023.
inline constexpr int32_t kDecayKnobTop = 750;
int32_t DecayKnobValueOfParameter(int32_t decay);
int32_t DecayParameterOfKnobValue(int32_t knobValue);

}  // namespace NSQuillet
