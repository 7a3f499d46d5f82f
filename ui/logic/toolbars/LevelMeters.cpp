#include "ui/logic/toolbars/LevelMeters.h"

#include <algorithm>
#include <cmath>

namespace NSQuillet {

namespace {

// `perBlock` raised to the number of 64-sample blocks at 44.1 kHz in `milliseconds`.
double Fall(double perBlock, double milliseconds) {
    return std::exp(std::max(milliseconds, 0.0) / 1000.0 * 44100.0 / 64.0 * std::log(perBlock));
}

}  // namespace

void CPeakMeterModel::Tick(double left, double right, bool stereo, bool clipped, double elapsedMilliseconds) {
    const double fall = Fall(0.98, elapsedMilliseconds);
    const double read[2] = {left, stereo ? right : left};
    for (size_t channel = 0; channel < 2; ++channel) {
        if (fHeld[channel] >= kFloorLevel) fHeld[channel] *= fall;
        fHeld[channel] = std::max(fHeld[channel], std::fabs(read[channel]));
    }
    fClipped = clipped;
}

int32_t CPeakMeterModel::PositionOfLevel(double level) {
    const double decibels = level > 0.0 ? std::max(20.0 * std::log10(level), -96.0) : -96.0;
    const int64_t position = kTop - int64_t(std::trunc(decibels * -999.0 / 90.0));
    return int32_t(std::clamp<int64_t>(position, 0, kTop));
}

int32_t CPeakMeterModel::LitSegments(int32_t position, int32_t segmentCount) {
    const int64_t lit = (int64_t(std::clamp(position, 0, kTop)) * segmentCount + kTop - 1) / kTop;
    return int32_t(lit);
}

int32_t CGainChangeMeterModel::LitSegments(double factor, int32_t segmentCount) {
    if (!(factor > 0.0)) return segmentCount;
    const double decibels = std::fabs(20.0 * std::log10(factor));
    return int32_t(std::min(std::floor(decibels), double(segmentCount)));
}

void CGainChangeMeterModel::Tick(double smallest, double largest, double elapsedMilliseconds) {
    const double fall = Fall(0.995, elapsedMilliseconds);
    if (!IsInsideBand(fSmallest)) fSmallest = 1.0 + (fSmallest - 1.0) * fall;
    if (!IsInsideBand(fLargest)) fLargest = 1.0 + (fLargest - 1.0) * fall;
    fSmallest = std::min(fSmallest, smallest);
    fLargest = std::max(fLargest, largest);
}

}  // namespace NSQuillet
