#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class CABCWaveSample;

// The smallest and largest value of some frames, as read as float (about −1.0..1.0).
struct SPeak {
    float fMin = 0.0f;
    float fMax = 0.0f;
    friend bool operator==(const SPeak& a, const SPeak& b) { return a.fMin == b.fMin && a.fMax == b.fMax; }
};

// Minimum and maximum per block of 2^k frames (k from kFirstLevel up to one block for the
// whole sample) per channel, built once when the sample changes, so that the peak of a pixel
// column costs a few lookups whatever the number of frames it covers, and a repaint costs
// time proportional to the view's width, never to the sample's length. Frames at a range's
// edges finer than the first level are read from the sample, so every peak is exact.
//
// Memory: two floats per 64 frames and channel, twice over for the coarser levels, about an
// eighth of a 16-bit sample's own size. The sum channel (L + R) / 2 of the sum view is built
// on first use. User-interface thread.
class CWaveformPeakCache {
public:
    static constexpr int32_t kFirstLevel = 6;
    static constexpr int32_t kFirstBlock = 1 << kFirstLevel;
    // The channel number of the sum view: each frame (L + R) / 2, for a mono sample channel 1.
    static constexpr int32_t kSumChannel = 3;

    CWaveformPeakCache() = default;
    // Reads every frame of `sample` once. Not owned; the sample must outlive the cache and stay
    // unchanged while it is used (build a new cache after a change).
    explicit CWaveformPeakCache(const CABCWaveSample& sample);

    const CABCWaveSample* GetSample() const { return fSample; }
    int32_t GetFrameCount() const { return fFrameCount; }

    // The peak of frames [start, end) of `channel` (1, 2 or kSumChannel), cut to the sample;
    // {0, 0} for a range with no frame inside, or a channel the sample does not have.
    SPeak GetPeak(int32_t channel, int32_t start, int32_t end) const;
    SPeak GetSumPeak(int32_t start, int32_t end) const { return GetPeak(kSumChannel, start, end); }
    // The value of one frame as the cache sees it (the sum channel's mean, a channel's float).
    float GetValue(int32_t channel, int32_t frame) const;

private:
    using TLevels = std::vector<std::vector<SPeak>>;

    const TLevels* Levels(int32_t channel) const;
    void BuildSumLevels() const;
    SPeak ReadPeak(int32_t channel, int32_t start, int32_t end) const;

    const CABCWaveSample* fSample = nullptr;
    int32_t fFrameCount = 0;
    bool fStereo = false;
    // [level − kFirstLevel][block]; the sum's levels are made on first use.
    TLevels fChannel1;
    TLevels fChannel2;
    mutable TLevels fSum;
};

}  // namespace NSQuillet
