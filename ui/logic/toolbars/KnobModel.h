#pragma once

#include <cstdint>
#include <optional>

namespace NSQuillet {

enum class EKnobScale { kLinear, kLogarithmic };

// One rotary control's range and feel. Rates are value steps per pixel of mouse travel.
struct SKnobSettings {
    EKnobScale fScale = EKnobScale::kLinear;
    int32_t fMinimum = 0;
    int32_t fMaximum = 0;
    int32_t fDefault = 0;
    double fCoarseRate = 1.0;
    double fFineRate = 1.0;
    bool fHasDefault = true;
};

// The state and stepping of one knob without its drawing: the value, the mouse capture and the
// reference point of a drag. A widget feeds it view pixels and the modifier bits of
// WindowKeys.h, and tells its handler what it returns. User-interface thread only.
class CKnobModel {
public:
    // `settings.fMinimum` < `settings.fMaximum`. The value starts at the minimum.
    explicit CKnobModel(const SKnobSettings& settings);

    const SKnobSettings& GetSettings() const { return fSettings; }
    int32_t GetValue() const { return fValue; }
    // Clamped into the range; true when the value changed (the widget redraws). Never a
    // value change to report: the toolbar sets what the document holds.
    bool SetValue(int32_t value);

    // `value` moved by `steps` at `rate` (the rate in use, which sets the grid: above 1 the
    // position is first rounded to a multiple of trunc(rate)), clamped into the range.
    int32_t StepValue(int32_t value, int32_t steps, double rate) const;
    // `value` moved by `notches` wheel notches or arrow keys (negative: down). Linear knobs move
    // max(1, trunc(rate)) per notch on the rate's grid, the rate being the coarse one or, when
    // `fine`, the fine one. Logarithmic knobs, whose pixel steps are too small to see, move one
    // filmstrip frame's factor (1/kLogNotchesPerTravel of the travel) per notch, or when `fine`
    // one pixel at the coarse rate. A notch that would leave the value where it is while there
    // is room takes as many more as it needs; one across the default stops on it.
    int32_t NudgedValue(int32_t value, int32_t notches, bool fine) const;
    // NudgedValue of the current value, taken: the new value to report, none when it stays.
    std::optional<int32_t> Nudge(int32_t notches, bool fine);
    static constexpr int32_t kLogNotchesPerTravel = 63;

    // The filmstrip frame, 0 at the minimum, `frameCount` − 1 at the maximum.
    int32_t GetFrameIndex(int32_t value, int32_t frameCount) const;
    int32_t GetFrameIndex(int32_t frameCount) const { return GetFrameIndex(fValue, frameCount); }

    // A press: with the magnify modifier on a knob with a default, the default to report and
    // no capture (a click resets the knob); otherwise the mouse is captured, fine mode is the
    // extend modifier, and nothing is reported. The caller begins a change either way.
    std::optional<int32_t> Press(int32_t x, int32_t y, uint32_t modifiers);
    // While captured: the new value to report, none when it stays. Travel too slow for a step
    // keeps the reference point, so it adds up over the following moves.
    std::optional<int32_t> Move(int32_t x, int32_t y, uint32_t modifiers);
    // Mouse up or capture lost; the caller ends the change.
    void Release() { fCaptured = false; }
    bool IsCaptured() const { return fCaptured; }

private:
    int32_t Clamp(int64_t value) const;

    SKnobSettings fSettings;
    int32_t fValue;
    // Logarithmic knobs: the offset that lifts the range to 1 and above, ln of max / min of
    // the lifted range.
    int32_t fLogOffset = 0;
    double fLogRange = 1.0;
    bool fCaptured = false;
    bool fFineMode = false;
    int32_t fLastX = 0;
    int32_t fLastY = 0;
};

}  // namespace NSQuillet
