#include "ui/logic/waveform/WaveformRangeRules.h"

#include <algorithm>
#include <cmath>

namespace NSQuillet {
namespace NSWaveformRange {

namespace {

double FramesPerPixel(SVisibleRange range, int32_t contentWidth) {
    return (double(range.fEnd) - double(range.fStart)) / std::max(1, contentWidth);
}

int64_t Truncated(double value) { return int64_t(std::trunc(value)); }

int32_t ToInt32(int64_t value) { return int32_t(std::min<int64_t>(std::max<int64_t>(value, INT32_MIN), INT32_MAX)); }

std::optional<SVisibleRange> IfChanged(SVisibleRange range, SVisibleRange result) {
    if (result == range) return std::nullopt;
    return result;
}

// Both ends move by the same whole number of frames (d truncated toward zero), so the new
// width, and with it the zoom level, stays exactly as computed.
int64_t ShiftAround(SVisibleRange range, int32_t c, double s, double sNew) {
    if (!(c > range.fStart && c < range.fEnd)) return 0;
    const double offset = double(c) - double(range.fStart);
    return Truncated(offset - sNew * offset / s);
}

}  // namespace

std::optional<SVisibleRange> ZoomIn(SVisibleRange range, int32_t contentWidth, int32_t frameCount, int32_t around,
                                    int32_t cursor, double factor) {
    const int32_t width = std::max(1, contentWidth);
    const double s = FramesPerPixel(range, width);
    if (s <= kDeepestFramesPerPixel || !(factor > 1.0)) return std::nullopt;
    double sNew = kDeepestFramesPerPixel;
    while (sNew * factor < s) sNew *= factor;
    const int32_t c = around == -1 ? cursor : around;
    // At least one frame stays visible however narrow the content.
    const int64_t newWidth = std::max<int64_t>(1, Truncated(double(range.fStart) + width * sNew) - range.fStart);
    const int64_t shift = ShiftAround(range, c, s, sNew);
    const int64_t start = std::max<int64_t>(0, int64_t(range.fStart) + shift);
    const int64_t end = std::min<int64_t>(frameCount, int64_t(range.fStart) + newWidth + shift);
    return IfChanged(range, {ToInt32(start), ToInt32(end)});
}

std::optional<SVisibleRange> ZoomOut(SVisibleRange range, int32_t contentWidth, int32_t frameCount, int32_t around,
                                     int32_t cursor, double factor) {
    const int32_t width = std::max(1, contentWidth);
    if (!(factor > 1.0)) return std::nullopt;
    const double s = FramesPerPixel(range, width);
    double sNew = kDeepestFramesPerPixel * factor;
    while (!(sNew > s + 0.00625)) sNew *= factor;
    const int32_t c = around == -1 ? cursor : around;
    const int64_t shift = ShiftAround(range, c, s, sNew);
    int64_t start = int64_t(range.fStart) + shift;
    int64_t end = int64_t(std::floor(double(range.fStart) + width * sNew + 0.5)) + shift;
    if (start < 0) {
        end -= start;
        start = 0;
    }
    if (end > frameCount) {
        const int64_t overshoot = end - frameCount;
        if (overshoot > start) {
            start = 0;
            end = frameCount;
        } else {
            start -= overshoot;
            end -= overshoot;
        }
    }
    return IfChanged(range, {ToInt32(start), ToInt32(end)});
}

bool CanZoomIn(SVisibleRange range, int32_t contentWidth) { return FramesPerPixel(range, contentWidth) > 0.065625; }

bool CanZoomOut(SVisibleRange range, int32_t frameCount) { return range.fStart > 0 || range.fEnd < frameCount; }

bool CanScrollLeft(SVisibleRange range) { return range.fStart > 0; }

bool CanScrollRight(SVisibleRange range, int32_t frameCount) { return range.fEnd < frameCount; }

namespace {

int64_t ScrollStep(SVisibleRange range, int32_t contentWidth) {
    return std::max<int64_t>(1, Truncated(kScrollStepPixels * FramesPerPixel(range, contentWidth) + 0.5));
}

}  // namespace

std::optional<SVisibleRange> ScrollLeft(SVisibleRange range, int32_t contentWidth) {
    if (!CanScrollLeft(range)) return std::nullopt;
    const int64_t start = std::max<int64_t>(0, int64_t(range.fStart) - ScrollStep(range, contentWidth));
    return IfChanged(range, {ToInt32(start), ToInt32(start + range.Width())});
}

std::optional<SVisibleRange> ScrollRight(SVisibleRange range, int32_t contentWidth, int32_t frameCount) {
    if (!CanScrollRight(range, frameCount)) return std::nullopt;
    const int64_t end = std::min<int64_t>(int64_t(range.fEnd) + ScrollStep(range, contentWidth), frameCount);
    return IfChanged(range, {ToInt32(end - range.Width()), ToInt32(end)});
}

std::optional<SVisibleRange> AutoScroll(const CWaveformGeometry& geometry, int32_t steps, int32_t frameCount) {
    const SVisibleRange range = geometry.GetRange();
    const int32_t width = range.Width();
    const double x = double(geometry.GetContentLeft()) + double(kAutoScrollStepPixels) * steps;
    const int32_t start = geometry.XToFrame(x, 0, std::max(0, frameCount - width));
    return IfChanged(range, {start, ToInt32(int64_t(start) + width)});
}

std::optional<SVisibleRange> FollowCursor(SVisibleRange range, int32_t cursor, int32_t sliceStart, int32_t frameCount) {
    if (cursor >= range.fStart && cursor < range.fEnd) return std::nullopt;
    const int64_t width = range.Width();
    int64_t start = int64_t(cursor) - sliceStart < width ? sliceStart : cursor;
    if (start + width > frameCount) start = std::max<int64_t>(0, frameCount - width);
    return IfChanged(range, {ToInt32(start), ToInt32(start + width)});
}

SVisibleRange AfterWaveChange(SVisibleRange range, int32_t frameCount) {
    // An empty range would show nothing of the new sample: it shows the whole sample instead.
    if (range.Width() <= 0 || range.fStart < 0) return {0, frameCount};
    if (range.fEnd <= frameCount) return range;
    if (range.Width() <= frameCount) return {frameCount - range.Width(), frameCount};
    return {0, frameCount};
}

double VerticalZoomIn(double factor) {
    return std::min(kMaxVerticalZoom, std::max(kMinVerticalZoom, factor * kVerticalZoomStep));
}

double VerticalZoomOut(double factor) {
    return std::min(kMaxVerticalZoom, std::max(kMinVerticalZoom, factor / kVerticalZoomStep));
}

}  // namespace NSWaveformRange
}  // namespace NSQuillet
