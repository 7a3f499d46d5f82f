#include "ui/logic/toolbars/KnobModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/ValueRange.h"
#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

namespace {

// Rounds a non-negative offset to the nearest multiple of trunc(rate) when the rate is above 1.
int64_t RoundToGrid(int64_t offset, double rate) {
    if (rate <= 1.0) return offset;
    const int64_t grid = int64_t(rate);
    const int64_t below = offset / grid * grid;
    return offset - below >= grid - (offset - below) ? below + grid : below;
}

}  // namespace

CKnobModel::CKnobModel(const SKnobSettings& settings) : fSettings(settings), fValue(settings.fMinimum) {
    if (fSettings.fScale == EKnobScale::kLogarithmic) {
        while (fSettings.fMinimum + fLogOffset < 1 || fSettings.fMaximum + fLogOffset < 1) fLogOffset += 10;
        fLogRange = std::log(double(fSettings.fMaximum + fLogOffset) / double(fSettings.fMinimum + fLogOffset));
    }
}

int32_t CKnobModel::Clamp(int64_t value) const {
    return int32_t(SValueRange{fSettings.fMinimum, fSettings.fMaximum}.Clamp(value));
}

bool CKnobModel::SetValue(int32_t value) {
    const int32_t clamped = Clamp(value);
    if (clamped == fValue) return false;
    fValue = clamped;
    return true;
}

int32_t CKnobModel::StepValue(int32_t value, int32_t steps, double rate) const {
    const int64_t minimum = fSettings.fMinimum;
    if (fSettings.fScale == EKnobScale::kLinear) {
        return Clamp(minimum + RoundToGrid(int64_t(value) - minimum, rate) + steps);
    }

    const double lifted = double(minimum + fLogOffset);
    const double range = double(int64_t(fSettings.fMaximum) - minimum);
    const int64_t position = int64_t(std::log((double(value) + fLogOffset) / lifted) * range / fLogRange);
    const int64_t stepped = RoundToGrid(position, rate) + steps;
    return Clamp(int64_t(lifted * std::exp(fLogRange * double(stepped) / range)) - fLogOffset);
}

int32_t CKnobModel::NudgedValue(int32_t value, int32_t notches, bool fine) const {
    value = Clamp(value);
    if (notches == 0) return value;
    const int64_t range = int64_t(fSettings.fMaximum) - fSettings.fMinimum;
    double rate = fine ? fSettings.fFineRate : fSettings.fCoarseRate;
    int64_t perNotch = std::max<int64_t>(1, int64_t(rate));
    if (fSettings.fScale == EKnobScale::kLogarithmic) {
        rate = fine ? fSettings.fCoarseRate : 1.0;
        perNotch = fine ? std::max<int64_t>(1, int64_t(rate)) : std::max<int64_t>(1, range / kLogNotchesPerTravel);
    }

    const int64_t direction = notches > 0 ? 1 : -1;
    const int64_t wanted = int64_t(notches) * perNotch;
    int32_t result = value;
    // Steps that round back onto the same value (the grid, the logarithm's truncation near the
    // bottom) are taken again until the value moves or the travel runs out.
    for (int64_t multiple = 1; multiple * perNotch <= range + perNotch; ++multiple) {
        const int64_t steps = std::clamp<int64_t>(wanted * multiple, -range, range);
        const int32_t stepped = StepValue(value, int32_t(steps), rate);
        if ((stepped - value) * direction > 0) {
            result = stepped;
            break;
        }
        if (std::abs(steps) >= range) break;
    }
    if (fSettings.fHasDefault) {
        const int32_t sticky = fSettings.fDefault;
        if ((value < sticky && result > sticky) || (value > sticky && result < sticky)) result = sticky;
    }
    return result;
}

std::optional<int32_t> CKnobModel::Nudge(int32_t notches, bool fine) {
    const int32_t value = NudgedValue(fValue, notches, fine);
    if (value == fValue) return std::nullopt;
    fValue = value;
    return value;
}

int32_t CKnobModel::GetFrameIndex(int32_t value, int32_t frameCount) const {
    const int64_t last = frameCount - 1;
    value = Clamp(value);
    if (fSettings.fScale == EKnobScale::kLinear) {
        const int64_t range = int64_t(fSettings.fMaximum) - fSettings.fMinimum;
        return int32_t((int64_t(value) - fSettings.fMinimum) * last / range);
    }
    const double ratio = (double(value) + fLogOffset) / double(fSettings.fMinimum + fLogOffset);
    const int64_t frame = int64_t(std::log(ratio) * double(last) / fLogRange);
    return int32_t(frame < 0 ? 0 : frame > last ? last : frame);
}

std::optional<int32_t> CKnobModel::Press(int32_t x, int32_t y, uint32_t modifiers) {
    if ((modifiers & kModifier_Magnify) != 0 && fSettings.fHasDefault) {
        fValue = fSettings.fDefault;
        return fValue;
    }
    fCaptured = true;
    fFineMode = (modifiers & kModifier_Extend) != 0;
    fLastX = x;
    fLastY = y;
    return std::nullopt;
}

std::optional<int32_t> CKnobModel::Move(int32_t x, int32_t y, uint32_t modifiers) {
    if (!fCaptured) return std::nullopt;
    const bool fine = (modifiers & kModifier_Extend) != 0;
    if (fine != fFineMode) {
        fFineMode = fine;
        fLastX = x;
        fLastY = y;
    }
    const int32_t dx = x - fLastX;
    const int32_t dy = y - fLastY;
    const int64_t travel = std::abs(dy) > std::abs(dx) ? -int64_t(dy) : int64_t(dx);
    const double rate = fFineMode ? fSettings.fFineRate : fSettings.fCoarseRate;
    // The nudge keeps 10 px at 0.7 steps per pixel at 7 steps: 0.7 is a little less in binary.
    const double exact = double(travel) * rate;
    const int32_t steps = int32_t(std::trunc(exact + (exact < 0 ? -1e-9 : 1e-9)));
    if (steps == 0) return std::nullopt;

    int32_t value = StepValue(fValue, steps, rate);
    // Rounding onto the grid or the logarithm's truncation must never turn a move back.
    if ((steps > 0 && value < fValue) || (steps < 0 && value > fValue)) value = fValue;
    if (fSettings.fHasDefault) {
        const int32_t sticky = fSettings.fDefault;
        if ((fValue < sticky && value > sticky) || (fValue > sticky && value < sticky)) value = sticky;
    }
    if (value == fValue) return std::nullopt;
    fValue = value;
    fLastX = x;
    fLastY = y;
    return value;
}

}  // namespace NSQuillet
