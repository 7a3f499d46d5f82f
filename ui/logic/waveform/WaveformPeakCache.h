#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class CABCWaveSample;

// The smallest and largest value of some frames of one channel, −1.0..1.0 as read as float.
struct SPeak {
    float fMin = 0.0f;
    float fMax = 0.0f;
};

// Minimum and maximum per block of 2^k frames for k = kFirstLevel.. per channel, built once
// when the sample changes, so that a pixel column's peak over any number of frames costs a
// few lookups and a repaint costs time proportional to the view's width, not the sample's
// length. Frames shorter than the first level are read from the sample itself.
// Built and read on the user-interface thread.
class CWaveformPeakCache {
public:
    static constexpr int32_t kFirstLevel = 4;  // 16-frame blocks

    CWaveformPeakCache() = default;
    // Reads every frame of `sample` once. Not owned; the sample must outlive the cache and
    // stay unchanged (rebuild after a change).
    explicit CWaveformPeakCache(const CABCWaveSample& sample);

    int32_t GetFrameCount() const { return fFrameCount; }
    int32_t GetChannelCount() const { return fChannelCount; }
    // The peak of frames [start, end) of `channel` (1 or 2), exact: whole blocks from the
    // cache, the frames at the edges from the sample. An empty or outside range gives {0, 0}.
    SPeak GetPeak(int32_t channel, int32_t start, int32_t end) const;
    // The same for the sum of both channels (the sum view), each frame (L + R) / 2 ...
    // computed from the sample at the edges and from per-block sums' min/max in between.
    SPeak GetSumPeak(int32_t start, int32_t end) const;

private:
    const CABCWaveSample* fSample = nullptr;
    int32_t fFrameCount = 0;
    int32_t fChannelCount = 0;
    // fLevels[channel][level − kFirstLevel]: min/max pairs per block; channel index 2 is the
    // sum of L and R.
    std::vector<std::vector<std::vector<SPeak>>> fLevels;
};

}  // namespace NSQuillet
