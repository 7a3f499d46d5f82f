#pragma once

#include <algorithm>
#include <cstdint>

namespace NSQuillet {

// One channel's strip of the waveform area: the detail view draws a channel in it and the
// amplitude ruler labels it, so both place an amplitude at the same height.
struct SWaveformLane {
    int32_t fTop = 0;
    int32_t fHeight = 0;

    static constexpr int32_t kPadding = 3;

    double Centre() const { return fTop + fHeight / 2.0; }
    // Full scale at vertical zoom 1, in pixels from the centre.
    double HalfHeight() const { return std::max(1.0, fHeight / 2.0 - kPadding); }
    // `value` −1.0..1.0 scaled by `zoom`; not clipped to the lane.
    double ValueToY(double value, double zoom) const { return Centre() - value * zoom * HalfHeight(); }
};

// Lane `lane` of `laneCount` (1 or 2) dividing the waveform area, one pixel between them.
inline SWaveformLane GetWaveformLane(int32_t areaTop, int32_t areaHeight, int32_t laneCount, int32_t lane) {
    if (laneCount < 2) return SWaveformLane{areaTop, areaHeight};
    const int32_t first = (areaHeight - 1) / 2;
    if (lane == 0) return SWaveformLane{areaTop, first};
    return SWaveformLane{areaTop + first + 1, areaHeight - first - 1};
}

}  // namespace NSQuillet
