#include "engine/WaveSamplePreview.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/SixteenBitFrameReader.h"

namespace NSQuillet {

namespace {

constexpr int32_t kChunkFrames = 4096;
static_assert(kChunkFrames % CWaveSamplePreview::kFramesPerBlock == 0);
static_assert(CWaveSamplePreview::kWindowFrames == 3 * CWaveSamplePreview::kFramesPerBlock);

// Fixed trip count so that the compiler vectorises it at -O2.
inline void MinMaxOfBlock(const int16_t* values, int16_t& minimum, int16_t& maximum) {
    int16_t lo = std::numeric_limits<int16_t>::max();
    int16_t hi = std::numeric_limits<int16_t>::min();
    for (int32_t i = 0; i < CWaveSamplePreview::kFramesPerBlock; ++i) {
        lo = std::min(lo, values[i]);
        hi = std::max(hi, values[i]);
    }
    minimum = lo;
    maximum = hi;
}

void Summarise(const ISixteenBitFrameReader& sample, int32_t frameCount, int32_t channel, int32_t blockCount,
               std::vector<int16_t>& entries) {
    constexpr int32_t kBlock = CWaveSamplePreview::kFramesPerBlock;
    entries.assign(size_t(blockCount) * 2, 0);
    if (blockCount == 0) return;
    // 16-bit audio is read in place, other audio through copies in 16-bit scale.
    const int16_t* values = sample.Get16Values(channel);
    int16_t chunk[kChunkFrames];
    auto framesAt = [&](int64_t first, int32_t frames) -> const int16_t* {
        if (values) return values + first;
        sample.Get16s(int32_t(first), frames, chunk, channel);
        return chunk;
    };

    // First the minimum and maximum of each whole block alone ...
    const int64_t wholeFrames = int64_t(blockCount) * kBlock;
    for (int64_t first = 0; first < wholeFrames; first += kChunkFrames) {
        const int32_t frames = int32_t(std::min<int64_t>(kChunkFrames, wholeFrames - first));
        const int16_t* at = framesAt(first, frames);
        int16_t* out = entries.data() + first / kBlock * 2;
        for (int32_t k = 0; k < frames / kBlock; ++k) MinMaxOfBlock(at + k * kBlock, out[2 * k], out[2 * k + 1]);
    }
    // ... and of the frames after the last whole block, which only later windows see.
    const int32_t tailFrames = int32_t(frameCount - wholeFrames);
    int16_t tailMin = 0;
    int16_t tailMax = 0;
    if (tailFrames > 0) {
        const int16_t* at = framesAt(wholeFrames, tailFrames);
        tailMin = *std::min_element(at, at + tailFrames);
        tailMax = *std::max_element(at, at + tailFrames);
    }

    // Then each window joins its block with the next two. Entries b + 1 and b + 2 are still
    // the blocks' own values when entry b is rewritten.
    for (int32_t b = 0; b < blockCount; ++b) {
        int16_t lo = entries[2 * size_t(b)];
        int16_t hi = entries[2 * size_t(b) + 1];
        for (int32_t next = b + 1; next <= b + 2; ++next) {
            if (next < blockCount) {
                lo = std::min(lo, entries[2 * size_t(next)]);
                hi = std::max(hi, entries[2 * size_t(next) + 1]);
            } else if (next == blockCount && tailFrames > 0) {
                lo = std::min(lo, tailMin);
                hi = std::max(hi, tailMax);
            }
        }
        entries[2 * size_t(b)] = lo;
        entries[2 * size_t(b) + 1] = hi;
    }
}

inline int32_t Magnitude(int32_t value) { return value < 0 ? -value : value; }

// The one of the two with the larger magnitude, the minimum on a tie.
inline int32_t Dominant(int16_t minimum, int16_t maximum) {
    return Magnitude(maximum) > Magnitude(minimum) ? maximum : minimum;
}

}  // namespace

CWaveSamplePreview::CWaveSamplePreview(const ISixteenBitFrameReader& frames, int32_t frameCount, bool stereo)
    : fBlockCount(frameCount / kFramesPerBlock), fChannelCount(stereo ? 2 : 1) {
    Summarise(frames, frameCount, 1, fBlockCount, fChannel1);
    if (fChannelCount == 2) Summarise(frames, frameCount, 2, fBlockCount, fChannel2);
}

const std::vector<int16_t>* CWaveSamplePreview::Channel(int32_t channel) const {
    if (channel == 1) return &fChannel1;
    if (channel == 2 && fChannelCount == 2) return &fChannel2;
    return nullptr;
}

int16_t CWaveSamplePreview::GetMinimum(int32_t block, int32_t channel) const {
    const auto* entries = Channel(channel);
    if (!entries || block < 0 || block >= fBlockCount) return 0;
    return (*entries)[2 * size_t(block)];
}

int16_t CWaveSamplePreview::GetMaximum(int32_t block, int32_t channel) const {
    const auto* entries = Channel(channel);
    if (!entries || block < 0 || block >= fBlockCount) return 0;
    return (*entries)[2 * size_t(block) + 1];
}

float CWaveSamplePreview::GetRangePeak(int32_t start, int32_t count) const {
    const int64_t end = int64_t(start) + count;
    const int64_t firstBlock = start <= 0 ? 0 : start / kFramesPerBlock;
    const int64_t endBlock = std::min<int64_t>(fBlockCount, end <= 0 ? 0 : end / kFramesPerBlock);
    int32_t peak = 0;
    for (int64_t b = firstBlock; b < endBlock; ++b) {
        const size_t at = 2 * size_t(b);
        int32_t magnitude;
        if (fChannelCount == 2) {
            magnitude = Magnitude(Dominant(fChannel1[at], fChannel1[at + 1]) + Dominant(fChannel2[at], fChannel2[at + 1]));
        } else {
            magnitude = std::max(Magnitude(fChannel1[at]), Magnitude(fChannel1[at + 1]));
        }
        peak = std::max(peak, magnitude);
    }
    return float(peak) * (1.0f / 32768.0f);
}

}  // namespace NSQuillet
