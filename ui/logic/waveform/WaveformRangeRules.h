#pragma once

#include <cstdint>
#include <optional>

#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

// How the detail view's visible range zooms, scrolls, auto-scrolls and follows the playback
// cursor. `contentWidth` is the detail view's content width in pixels (≥ 1), `frameCount` the
// sample's. Each answers the new range, or none when the rule changes nothing.
namespace NSWaveformRange {

// The deepest zoom: 16 pixels per frame. Zoom levels are powers of two times it.
inline constexpr double kDeepestFramesPerPixel = 0.0625;
inline constexpr double kZoomFactor = 2.0;
inline constexpr double kVerticalZoomStep = 1.25;
inline constexpr double kMinVerticalZoom = 1.0;
inline constexpr double kMaxVerticalZoom = 16.0;
// A scroll button step and an auto-scroll step, in pixels.
inline constexpr int32_t kScrollStepPixels = 16;
inline constexpr int32_t kAutoScrollStepPixels = 64;

// Around frame `around` (−1 means `cursor`): c stays under its pixel when strictly inside.
std::optional<SVisibleRange> ZoomIn(SVisibleRange range, int32_t contentWidth, int32_t frameCount, int32_t around,
                                    int32_t cursor, double factor = kZoomFactor);
std::optional<SVisibleRange> ZoomOut(SVisibleRange range, int32_t contentWidth, int32_t frameCount, int32_t around,
                                     int32_t cursor, double factor = kZoomFactor);
// Frames per pixel above 0.065625.
bool CanZoomIn(SVisibleRange range, int32_t contentWidth);
// start > 0 or end < frame count.
bool CanZoomOut(SVisibleRange range, int32_t frameCount);
bool CanScrollLeft(SVisibleRange range);
bool CanScrollRight(SVisibleRange range, int32_t frameCount);
// One press of a scroll button: 16 pixels' worth of frames (at least 1), the width kept.
std::optional<SVisibleRange> ScrollLeft(SVisibleRange range, int32_t contentWidth);
std::optional<SVisibleRange> ScrollRight(SVisibleRange range, int32_t contentWidth, int32_t frameCount);
// `steps` signed steps of 64 pixels while a captured drag is outside the view.
std::optional<SVisibleRange> AutoScroll(const CWaveformGeometry& geometry, int32_t steps, int32_t frameCount);
// Jump to Cursor and Scroll During Playback: `sliceStart` is the start of the shown slice
// containing the cursor (0 when none).
std::optional<SVisibleRange> FollowCursor(SVisibleRange range, int32_t cursor, int32_t sliceStart,
                                          int32_t frameCount);
// The range kept after the sample changed to `frameCount` frames.
SVisibleRange AfterWaveChange(SVisibleRange range, int32_t frameCount);
// The vertical zoom factor after one press, clamped to [1, 16].
double VerticalZoomIn(double factor);
double VerticalZoomOut(double factor);

}  // namespace NSWaveformRange
}  // namespace NSQuillet
