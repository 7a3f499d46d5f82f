#include "ui/logic/waveform/WaveformPeakCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"

namespace NSQuillet {
namespace {

// A peak computed frame by frame, the reference every cached peak must equal exactly.
SPeak PeakFrameByFrame(const CABCWaveSample& sample, int32_t channel, int32_t start, int32_t end) {
    start = std::max(start, 0);
    end = std::min(end, sample.GetFrameCount());
    if (start >= end) return {};
    auto value = [&](int32_t frame) {
        if (channel != CWaveformPeakCache::kSumChannel) return sample.GetFloat(frame, channel);
        if (!sample.IsStereo()) return sample.GetFloat(frame, 1);
        return (sample.GetFloat(frame, 1) + sample.GetFloat(frame, 2)) * 0.5f;
    };
    SPeak peak{value(start), value(start)};
    for (int32_t frame = start + 1; frame < end; ++frame) {
        peak.fMin = std::min(peak.fMin, value(frame));
        peak.fMax = std::max(peak.fMax, value(frame));
    }
    return peak;
}

template <class TSample>
std::unique_ptr<TSample> MakeNoise(int32_t frames, bool stereo, uint32_t seed) {
    auto sample = std::make_unique<TSample>(44100, frames, stereo);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> level(-1.0f, 1.0f);
    for (int32_t channel = 1; channel <= sample->GetChannelCount(); ++channel)
        for (int32_t frame = 0; frame < frames; ++frame) sample->SetFloat(frame, level(random), channel);
    return sample;
}

// Ranges of every kind: inside one block, across block and level boundaries, aligned and not,
// cut at either end of the sample, empty and reversed.
void ExpectEveryRangeExact(const CABCWaveSample& sample, const CWaveformPeakCache& cache, uint32_t seed) {
    const int32_t frames = sample.GetFrameCount();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> position(-100, frames + 100);
    std::vector<std::pair<int32_t, int32_t>> ranges = {
        {0, frames}, {0, 1}, {63, 65}, {64, 128}, {1, frames - 1}, {frames - 1, frames},
        {-50, 10}, {frames - 10, frames + 50}, {100, 100}, {200, 100}, {frames, frames + 5},
    };
    for (int i = 0; i < 400; ++i) ranges.emplace_back(position(random), position(random));
    for (int32_t channel : {1, 2, CWaveformPeakCache::kSumChannel}) {
        if (channel == 2 && !sample.IsStereo()) continue;
        for (auto [start, end] : ranges) {
            SCOPED_TRACE(testing::Message() << "channel " << channel << " [" << start << ", " << end << ")");
            EXPECT_EQ(cache.GetPeak(channel, start, end), PeakFrameByFrame(sample, channel, start, end));
        }
    }
}

TEST(WaveformPeakCache, EveryPeakEqualsTheFramesItCovers) {
    struct SCase {
        int32_t fFrames;
        bool fStereo;
        bool f24Bit;
    };
    // Lengths around the block sizes: less than a block, exact powers of two, one over.
    const SCase cases[] = {{50, false, false}, {64, true, false}, {4097, true, false},
                           {100003, false, false}, {65536, true, true}, {9001, false, true}};
    uint32_t seed = 1;
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fFrames << " frames, stereo " << c.fStereo << ", 24-bit " << c.f24Bit);
        std::unique_ptr<CABCWaveSample> sample;
        if (c.f24Bit)
            sample = MakeNoise<C24BitWaveSample>(c.fFrames, c.fStereo, seed);
        else
            sample = MakeNoise<C16BitWaveSample>(c.fFrames, c.fStereo, seed);
        CWaveformPeakCache cache(*sample);
        ExpectEveryRangeExact(*sample, cache, seed++);
    }
}

TEST(WaveformPeakCache, TheSumViewShowsTheMeanOfBothChannels) {
    C16BitWaveSample sample(44100, 256, true);
    // Left +16384 (0.5) and right −16384 at frame 10 cancel; left 32767 with right 0 at 200 is
    // 32767 / 32768 / 2.
    sample.Set16(10, 16384, 1);
    sample.Set16(10, -16384, 2);
    sample.Set16(200, 32767, 1);
    sample.Set16(70, -8192, 2);  // −0.25 / 2 = −0.125
    CWaveformPeakCache cache(sample);
    EXPECT_EQ(cache.GetPeak(CWaveformPeakCache::kSumChannel, 0, 256), (SPeak{-0.125f, 32767.0f / 65536.0f}));
    EXPECT_EQ(cache.GetPeak(CWaveformPeakCache::kSumChannel, 10, 11), (SPeak{0.0f, 0.0f}));
    EXPECT_EQ(cache.GetPeak(1, 0, 256), (SPeak{0.0f, 32767.0f / 32768.0f}));
    EXPECT_FLOAT_EQ(cache.GetValue(CWaveformPeakCache::kSumChannel, 200), 32767.0f / 65536.0f);
}

TEST(WaveformPeakCache, AChannelTheSampleLacksAndAnEmptySampleGiveNoPeak) {
    C16BitWaveSample mono(44100, 1000, false);
    mono.Set16(5, 1000, 1);
    CWaveformPeakCache cache(mono);
    EXPECT_EQ(cache.GetPeak(2, 0, 1000), SPeak{});
    EXPECT_EQ(cache.GetPeak(7, 0, 1000), SPeak{});
    // The sum of a mono sample is its one channel.
    EXPECT_EQ(cache.GetPeak(CWaveformPeakCache::kSumChannel, 0, 1000), (SPeak{0.0f, 1000.0f / 32768.0f}));

    C16BitWaveSample empty(44100, 0, true);
    CWaveformPeakCache emptyCache(empty);
    EXPECT_EQ(emptyCache.GetPeak(1, 0, 10), SPeak{});
    EXPECT_EQ(CWaveformPeakCache().GetPeak(1, 0, 10), SPeak{});
}

}  // namespace
}  // namespace NSQuillet
