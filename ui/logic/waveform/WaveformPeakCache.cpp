#include "ui/logic/waveform/WaveformPeakCache.h"

#include <algorithm>

#include "engine/WaveSample.h"

namespace NSQuillet {
namespace {

// Frames read per call while building: large enough to amortise the virtual read, small
// enough to stay in the first-level cache.
constexpr int32_t kChunkFrames = 16384;
static_assert(kChunkFrames % CWaveformPeakCache::kFirstBlock == 0, "chunks hold whole blocks");

template <class T>
inline T Smaller(T a, T b) { return b < a ? b : a; }
template <class T>
inline T Larger(T a, T b) { return b > a ? b : a; }

SPeak Join(SPeak a, SPeak b) { return {Smaller(a.fMin, b.fMin), Larger(a.fMax, b.fMax)}; }

// The smallest and largest of `count` (≥ 1) values; plain comparisons in fixed lanes, so that
// -O2 vectorises them.
template <class T>
void MinMax(const T* values, int32_t count, T& smallest, T& largest) {
    constexpr int32_t kLanes = 8;
    T low[kLanes], high[kLanes];
    for (int32_t k = 0; k < kLanes; ++k) low[k] = high[k] = values[0];
    int32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (int32_t k = 0; k < kLanes; ++k) {
            low[k] = Smaller(low[k], values[i + k]);
            high[k] = Larger(high[k], values[i + k]);
        }
    }
    for (; i < count; ++i) {
        low[0] = Smaller(low[0], values[i]);
        high[0] = Larger(high[0], values[i]);
    }
    for (int32_t k = 1; k < kLanes; ++k) {
        low[0] = Smaller(low[0], low[k]);
        high[0] = Larger(high[0], high[k]);
    }
    smallest = low[0];
    largest = high[0];
}

SPeak PeakOf(const float* values, int32_t count) {
    SPeak peak;
    MinMax(values, count, peak.fMin, peak.fMax);
    return peak;
}

// As float the way a 16-bit sample reads them: the scaling is monotonic, so converting the
// extremes equals converting every value first.
SPeak PeakOf16(const int16_t* values, int32_t count) {
    int16_t low = 0;
    int16_t high = 0;
    MinMax(values, count, low, high);
    constexpr float kScale = 1.0f / 32768.0f;
    return {float(low) * kScale, float(high) * kScale};
}

// Each coarser level joins pairs of the finer one, up to a single block.
void AddCoarserLevels(std::vector<std::vector<SPeak>>& levels) {
    while (levels.back().size() > 1) {
        const std::vector<SPeak>& finer = levels.back();
        std::vector<SPeak> coarser((finer.size() + 1) / 2);
        for (size_t i = 0; i < coarser.size(); ++i)
            coarser[i] = 2 * i + 1 < finer.size() ? Join(finer[2 * i], finer[2 * i + 1]) : finer[2 * i];
        levels.push_back(std::move(coarser));
    }
}

// The first level from `read`, which fills `count` values of type TValue from `start`, and
// `peakOf`, the peak of a block of them; then the coarser levels.
template <class TValue, class FRead, class FPeak>
std::vector<std::vector<SPeak>> BuildLevels(int32_t frameCount, FRead read, FPeak peakOf) {
    constexpr int32_t kBlock = CWaveformPeakCache::kFirstBlock;
    std::vector<std::vector<SPeak>> levels(1);
    levels[0].reserve(size_t((int64_t(frameCount) + kBlock - 1) / kBlock));
    std::vector<TValue> chunk(kChunkFrames);
    for (int32_t start = 0; start < frameCount; start += kChunkFrames) {
        const int32_t count = std::min(kChunkFrames, frameCount - start);
        read(start, count, chunk.data());
        for (int32_t block = 0; block < count; block += kBlock)
            levels[0].push_back(peakOf(chunk.data() + block, std::min(kBlock, count - block)));
    }
    AddCoarserLevels(levels);
    return levels;
}

std::vector<std::vector<SPeak>> BuildChannelLevels(const CABCWaveSample& sample, int32_t channel) {
    const int32_t frames = sample.GetFrameCount();
    if (sample.GetBitDepth() == 16) {
        return BuildLevels<int16_t>(
            frames, [&](int32_t start, int32_t count, int16_t* out) { sample.Get16s(start, count, out, channel); },
            PeakOf16);
    }
    return BuildLevels<float>(
        frames, [&](int32_t start, int32_t count, float* out) { sample.GetFloats(start, count, out, channel); },
        PeakOf);
}

}  // namespace

CWaveformPeakCache::CWaveformPeakCache(const CABCWaveSample& sample)
    : fSample(&sample), fFrameCount(sample.GetFrameCount()), fStereo(sample.IsStereo()) {
    fChannel1 = BuildChannelLevels(sample, 1);
    if (fStereo) fChannel2 = BuildChannelLevels(sample, 2);
}

const CWaveformPeakCache::TLevels* CWaveformPeakCache::Levels(int32_t channel) const {
    if (channel == 1) return &fChannel1;
    if (channel == 2) return fStereo ? &fChannel2 : nullptr;
    if (channel != kSumChannel) return nullptr;
    if (!fStereo) return &fChannel1;
    if (fSum.empty()) BuildSumLevels();
    return &fSum;
}

void CWaveformPeakCache::BuildSumLevels() const {
    std::vector<float> right(kChunkFrames);
    fSum = BuildLevels<float>(
        fFrameCount,
        [&](int32_t start, int32_t count, float* out) {
            fSample->GetFloats(start, count, out, 1);
            fSample->GetFloats(start, count, right.data(), 2);
            for (int32_t i = 0; i < count; ++i) out[i] = (out[i] + right[i]) * 0.5f;
        },
        PeakOf);
}

float CWaveformPeakCache::GetValue(int32_t channel, int32_t frame) const {
    if (!fSample || !Levels(channel)) return 0.0f;
    if (channel != kSumChannel) return fSample->GetFloat(frame, channel);
    if (!fStereo) return fSample->GetFloat(frame, 1);
    return (fSample->GetFloat(frame, 1) + fSample->GetFloat(frame, 2)) * 0.5f;
}

// Frames finer than a block, from the sample.
SPeak CWaveformPeakCache::ReadPeak(int32_t channel, int32_t start, int32_t end) const {
    const int32_t count = end - start;
    if (channel != kSumChannel && fSample->GetBitDepth() == 16) {
        int16_t values[kFirstBlock];
        fSample->Get16s(start, count, values, channel);
        return PeakOf16(values, count);
    }
    float values[kFirstBlock];
    fSample->GetFloats(start, count, values, channel == kSumChannel ? 1 : channel);
    if (channel == kSumChannel && fStereo) {
        float right[kFirstBlock];
        fSample->GetFloats(start, count, right, 2);
        for (int32_t i = 0; i < count; ++i) values[i] = (values[i] + right[i]) * 0.5f;
    }
    return PeakOf(values, count);
}

SPeak CWaveformPeakCache::GetPeak(int32_t channel, int32_t start, int32_t end) const {
    const TLevels* levels = fSample ? Levels(channel) : nullptr;
    start = std::max(start, 0);
    end = std::min(end, fFrameCount);
    if (!levels || start >= end) return {};

    // Up to the first block boundary from the sample, then the largest aligned blocks that fit,
    // then the rest from the sample.
    const int32_t firstBoundary = int32_t(std::min<int64_t>(end, (int64_t(start) + kFirstBlock - 1) / kFirstBlock * kFirstBlock));
    bool any = false;
    SPeak peak;
    auto add = [&](SPeak part) {
        peak = any ? Join(peak, part) : part;
        any = true;
    };
    if (start < firstBoundary) add(ReadPeak(channel, start, firstBoundary));
    int32_t position = firstBoundary;
    while (int64_t(position) + kFirstBlock <= end) {
        // The coarsest level whose block starts here (its index aligned) and ends by `end`.
        const uint32_t block = uint32_t(position) >> kFirstLevel;
        const uint32_t blocksLeft = uint32_t(end - position) >> kFirstLevel;
        int32_t level = 31 - __builtin_clz(blocksLeft);
        if (block != 0) level = std::min(level, __builtin_ctz(block));
        level = std::min(level, int32_t(levels->size()) - 1);
        add((*levels)[size_t(level)][size_t(position >> (kFirstLevel + level))]);
        position += kFirstBlock << level;
    }
    if (position < end) add(ReadPeak(channel, position, end));
    return peak;
}

}  // namespace NSQuillet
