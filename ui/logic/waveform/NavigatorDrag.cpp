#include "ui/logic/waveform/NavigatorDrag.h"

#include <algorithm>
#include <cmath>

#include "ui/logic/waveform/WaveformRangeRules.h"

namespace NSQuillet {

CNavigatorDrag::CNavigatorDrag(SVisibleRange range, int32_t frameCount, int32_t navigatorWidth, int32_t detailWidth,
                               int32_t pressX, int32_t pressY, bool doubleClick, bool extend)
    : fMode(doubleClick || extend ? EMode::kZoom : EMode::kScroll),
      fRange(range),
      fStartAtPress(range.fStart),
      fFrameCount(frameCount),
      fNavigatorWidth(std::max(1, navigatorWidth)),
      fDetailWidth(std::max(1, detailWidth)),
      fPressX(pressX),
      fReferenceY(pressY) {}

std::optional<SVisibleRange> CNavigatorDrag::Move(int32_t x, int32_t y) {
    const SVisibleRange before = fRange;
    const int64_t width = fRange.Width();
    double k = 1.0 / fNavigatorWidth;
    if (fMode == EMode::kZoom && fFrameCount > 0) {
        k = std::min(k, 5.0 * double(width) / (double(fNavigatorWidth) * fFrameCount));
    }
    const double dx = double(x) - fPressX;
    int64_t start = int64_t(fStartAtPress) + int64_t(std::floor(k * dx * fFrameCount + 0.5));
    start = std::max<int64_t>(0, std::min<int64_t>(start, int64_t(fFrameCount) - width));
    fRange = {int32_t(start), int32_t(start + width)};

    if (fMode == EMode::kZoom) {
        const double framesPerPixel = std::max(NSWaveformRange::kDeepestFramesPerPixel,
                                               double(width) / fDetailWidth * std::pow(1.01, double(y) - fReferenceY));
        const double half = framesPerPixel * fDetailWidth / 2.0;
        const double centre = (double(fRange.fStart) + double(fRange.fEnd)) / 2.0;
        const double newStart = std::max(0.0, std::floor(centre - half + 0.5));
        const double newEnd = std::min(double(fFrameCount), std::floor(centre + half + 0.5));
        const SVisibleRange scaled{int32_t(newStart), int32_t(newEnd)};
        if (scaled != fRange) {
            // The scaled range is the new reference for both travels.
            fRange = scaled;
            fStartAtPress = scaled.fStart;
            fPressX = x;
            fReferenceY = y;
        }
    }
    if (fRange == before) return std::nullopt;
    return fRange;
}

}  // namespace NSQuillet
