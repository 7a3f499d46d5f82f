#include "ui/logic/waveform/WaveformGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace NSQuillet {

namespace {

// A double brought into int32 without undefined behaviour on overflow or NaN.
int32_t SaturatedInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (value >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

}  // namespace

CWaveformGeometry::CWaveformGeometry(int32_t viewWidth, int32_t viewHeight, SVisibleRange range)
    : fViewWidth(viewWidth), fViewHeight(viewHeight), fRange(range) {}

int32_t CWaveformGeometry::GetContentWidth() const { return std::max(1, fViewWidth - 2 * kContentInset); }

SViewRect CWaveformGeometry::GetContent() const {
    return {kContentInset, 0, GetContentWidth(), std::max(0, fViewHeight)};
}

SViewRect CWaveformGeometry::GetMarkerStrip() const {
    return {kContentInset, 0, GetContentWidth(), std::min(kMarkerStripHeight, std::max(0, fViewHeight))};
}

SViewRect CWaveformGeometry::GetWaveformArea() const {
    const SViewRect strip = GetMarkerStrip();
    return {kContentInset, strip.Bottom(), GetContentWidth(), std::max(0, fViewHeight - strip.fHeight)};
}

int32_t CWaveformGeometry::FrameToX(int32_t frame) const {
    const double frames = double(fRange.fEnd) - double(fRange.fStart);
    // An empty range maps everything to the content's left edge instead of
    // dividing by zero.
    if (frames == 0.0) return GetContentLeft();
    return SaturatedInt32(
        std::floor(GetContentLeft() + GetContentWidth() * (double(frame) - double(fRange.fStart)) / frames + 0.5));
}

int32_t CWaveformGeometry::XToFrame(double x, int32_t low, int32_t high) const {
    double frame =
        (x - GetContentLeft()) * (double(fRange.fEnd) - double(fRange.fStart)) / GetContentWidth() + fRange.fStart;
    frame = std::min(std::max(frame, double(low)), double(high));
    return SaturatedInt32(std::floor(frame + 0.5));
}

double CWaveformGeometry::FramesPerPixel() const {
    return (double(fRange.fEnd) - double(fRange.fStart)) / GetContentWidth();
}

}  // namespace NSQuillet
