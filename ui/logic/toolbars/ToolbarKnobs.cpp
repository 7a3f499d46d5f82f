#include "ui/logic/toolbars/ToolbarKnobs.h"

#include <array>

#include "engine/EnvelopeSettings.h"

namespace NSQuillet {

namespace {

constexpr EKnobScale kLin = EKnobScale::kLinear;
constexpr EKnobScale kLog = EKnobScale::kLogarithmic;

// scale, minimum, maximum, default, coarse rate, fine rate, has default
constexpr std::array<SKnobSettings, kToolbarKnobCount> kSettings = {{
    {kLin, 0, 999, 0, 5, 0.5, true},                // gate sensitivity
    {kLin, -2400, 2400, 0, 25, 0.5, true},          // pitch, cents
    {kLog, 0, 7943, 1000, 40, 4, true},             // processing gain, × 1000
    {kLin, 20000, 450000, 20000, 1000, 100, true},  // preview tempo, thousandths of a BPM
    {kLin, 0, 520, 21, 3, 0.4, true},               // envelope attack
    {kLin, 58, kDecayKnobTop, kDecayKnobTop, 3, 0.35, true},
    {kLin, 0, 100, 40, 0.6, 0.09, true},            // stretch
    {kLin, 0, 127, 77, 0.7, 0.13, true},            // shaper threshold
    {kLin, 0, 127, 39, 0.7, 0.13, true},            // shaper ratio
    {kLin, 0, 520, 193, 3, 0.3, true},              // shaper attack
    {kLin, 134, 666, 350, 3, 0.3, true},            // shaper release
    {kLog, 15, 12000, 15, 50, 10, true},            // low cut, Hz
    {kLog, 20, 3000, 100, 12, 2, true},             // low frequency, Hz
    {kLin, -18000, 18000, 0, 200, 25, true},        // low gain, thousandths of a dB
    {kLin, 500, 10000, 1000, 50, 8, true},          // low Q × 1000
    {kLog, 1500, 16000, 2500, 60, 12, true},        // high frequency, Hz
    {kLin, -18000, 18000, 0, 200, 25, true},        // high gain
    {kLin, 500, 10000, 1000, 50, 8, true},          // high Q
    {kLog, 100, 20000, 20000, 60, 25, true},        // high cut, Hz
}};

}  // namespace

const SKnobSettings& GetToolbarKnobSettings(EToolbarKnob knob) { return kSettings[size_t(knob)]; }

int32_t DecayKnobValueOfParameter(int32_t decay) {
    if (decay == SEnvelopeSettings::kEndlessDecay) return kDecayKnobTop;
    const int32_t lowest = int32_t(SEnvelopeSettings::kDecayRange.fLowest);
    const int32_t highest = int32_t(SEnvelopeSettings::kDecayRange.fHighest);
    return decay < lowest ? lowest : decay > highest ? highest : decay;
}

int32_t DecayParameterOfKnobValue(int32_t knobValue) {
    return knobValue >= kDecayKnobTop ? SEnvelopeSettings::kEndlessDecay : DecayKnobValueOfParameter(knobValue);
}

}  // namespace NSQuillet
