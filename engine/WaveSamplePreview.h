#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class ISixteenBitFrameReader;

// The overview of a wave sample: per 64-frame block and channel, the minimum and maximum
// 16-bit value of a 192-frame window (the block and the next 128 frames, cut at the end of
// the sample). Trailing frames that do not fill a block get no entry of their own.
class CWaveSamplePreview {
public:
    static constexpr int32_t kFramesPerBlock = 64;
    static constexpr int32_t kWindowFrames = 192;

    // Summarises `frameCount` frames of `frames` (both channels when `stereo`) in 16-bit
    // scale, so 24-bit audio is summarised as 16-bit. Values that `frames` gives in place must
    // cover `frameCount` frames. Allocates; may throw std::bad_alloc.
    CWaveSamplePreview(const ISixteenBitFrameReader& frames, int32_t frameCount, bool stereo);
    CWaveSamplePreview(const CWaveSamplePreview&) = default;
    CWaveSamplePreview& operator=(const CWaveSamplePreview&) = default;

    int32_t GetBlockCount() const { return fBlockCount; }
    int32_t GetChannelCount() const { return fChannelCount; }
    // 0 for a block or channel outside the preview.
    int16_t GetMinimum(int32_t block, int32_t channel) const;
    int16_t GetMaximum(int32_t block, int32_t channel) const;

    // Peak of the blocks floor(start/64) up to, not including, floor((start + count)/64),
    // scaled by 1/32768; 0 when no block is covered. Mono: the largest magnitude of any
    // minimum or maximum. Stereo: per block, each channel's minimum or maximum, whichever has
    // the larger magnitude (the minimum on a tie), summed with signs; so it can reach 2.0.
    float GetRangePeak(int32_t start, int32_t count) const;

private:
    const std::vector<int16_t>* Channel(int32_t channel) const;

    int32_t fBlockCount = 0;
    int32_t fChannelCount = 1;
    // Per block: minimum, then maximum.
    std::vector<int16_t> fChannel1;
    std::vector<int16_t> fChannel2;
};

}  // namespace NSQuillet
