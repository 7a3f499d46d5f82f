#include "ui/logic/waveform/WaveformSnapping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

bool IsQuiet(float value) { return std::fabs(value) < kZeroCrossingThreshold; }
bool SignsDiffer(float a, float b) { return (a > 0.0f && b < 0.0f) || (a < 0.0f && b > 0.0f); }

}  // namespace

int32_t SnapToZeroCrossing(const CABCWaveSample &sample, int32_t position) {
    const int32_t frameCount = sample.GetFrameCount();
    if (position < 0 || position >= frameCount) return position;
    const int32_t low = int32_t(std::max<int64_t>(int64_t(position) - kZeroCrossingSearchLimit, 0));
    const int32_t high = int32_t(std::min<int64_t>(int64_t(position) + kZeroCrossingSearchLimit, frameCount - 1));
    const int32_t count = high - low + 1;
    const bool stereo = sample.IsStereo();
    std::vector<float> left(size_t(count), 0.0f);
    std::vector<float> right(stereo ? size_t(count) : 0, 0.0f);
    sample.GetFloats(low, count, left.data(), 1);
    if (stereo) sample.GetFloats(low, count, right.data(), 2);

    const auto quiet = [&](int32_t frame) {
        const size_t i = size_t(frame - low);
        return IsQuiet(left[i]) && (!stereo || IsQuiet(right[i]));
    };
    const auto signChange = [&](int32_t a, int32_t b) {
        const size_t i = size_t(a - low);
        const size_t j = size_t(b - low);
        return SignsDiffer(left[i], left[j]) || (stereo && SignsDiffer(right[i], right[j]));
    };

    if (quiet(position)) return position;
    // One walk, alternating forward and backward; it ends at the first limit it
    // stands on, so near an end of the sample that end is the answer unless a
    // crossing comes first.
    int32_t forward = position;
    int32_t backward = position;
    for (;;) {
        if (forward >= high) return high;
        ++forward;
        if (quiet(forward) || signChange(forward - 1, forward)) return forward;
        if (forward == high) return high;

        if (backward <= low) return low;
        --backward;
        if (quiet(backward)) return backward;
        if (signChange(backward + 1, backward)) return backward + 1;
        if (backward == low) return low;
    }
}

int32_t SnapLocatorToSlice(const std::vector<int32_t> &shownStarts, int32_t position, int32_t frameCount) {
    if (shownStarts.empty()) return position;
    const int64_t p = position;
    const int64_t first = shownStarts.front();
    const int64_t last = shownStarts.back();
    if (2 * p < first) return 0;
    if (2 * (p - last) > int64_t(frameCount) - last) return frameCount;
    int32_t nearest = shownStarts.front();
    int64_t nearestDistance = std::llabs(p - first);
    for (int32_t start : shownStarts) {
        const int64_t distance = std::llabs(p - start);
        if (distance < nearestDistance) {
            nearest = start;
            nearestDistance = distance;
        }
    }
    return nearest;
}

}  // namespace NSQuillet
