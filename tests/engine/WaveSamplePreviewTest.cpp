#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"

namespace NSQuillet {
namespace {

using SMinMax = std::pair<int16_t, int16_t>;

std::vector<SMinMax> Entries(const CWaveSamplePreview& preview, int32_t channel) {
    std::vector<SMinMax> entries;
    for (int32_t b = 0; b < preview.GetBlockCount(); ++b)
        entries.emplace_back(preview.GetMinimum(b, channel), preview.GetMaximum(b, channel));
    return entries;
}

TEST(WaveSamplePreview, EachEntrySummarisesItsBlockAndTheNextTwoCutAtTheEnd) {
    // 330 frames: 5 whole blocks and 10 trailing frames. Entry b covers frames 64b..64b+191.
    C16BitWaveSample sample(44100, 330, false);
    sample.Set16(200, 1000, 1);   // seen by entries 1 (64..255), 2 (128..319), 3 (192..329)
    sample.Set16(329, -500, 1);   // the last frame, seen by entries 3 and 4 (256..329)
    sample.BuildPreview();
    ASSERT_TRUE(sample.HasPreview());
    const CWaveSamplePreview& preview = *sample.GetPreview();
    EXPECT_EQ(preview.GetBlockCount(), 5);  // floor(330 / 64)
    EXPECT_EQ(preview.GetChannelCount(), 1);
    EXPECT_EQ(Entries(preview, 1),
              (std::vector<SMinMax>{{0, 0}, {0, 1000}, {0, 1000}, {-500, 1000}, {-500, 0}}));
}

TEST(WaveSamplePreview, BlockCountIsWholeBlocksOnly) {
    const std::pair<int32_t, int32_t> rows[] = {{0, 0}, {1, 0}, {63, 0}, {64, 1}, {127, 1}, {128, 2}, {100000, 1562}};
    for (const auto& [frames, blocks] : rows) {
        SCOPED_TRACE(frames);
        C24BitWaveSample sample(44100, frames, true);
        sample.BuildPreview();
        EXPECT_EQ(sample.GetPreview()->GetBlockCount(), blocks);
    }
}

TEST(WaveSamplePreview, ShortSampleWithAFullBlockWindowStopsAtTheEnd) {
    // 64 frames: one entry whose window is only its own block.
    C16BitWaveSample sample(44100, 64, false);
    sample.Set16(63, -3, 1);
    sample.Set16(0, 4, 1);
    sample.BuildPreview();
    EXPECT_EQ(Entries(*sample.GetPreview(), 1), (std::vector<SMinMax>{{-3, 4}}));
}

TEST(WaveSamplePreview, A24BitSampleIsSummarisedIn16BitScale) {
    C24BitWaveSample sample(44100, 64, false);
    sample.Set24(0, -257, 1);     // >> 8 = -2
    sample.Set24(1, 8388607, 1);  // >> 8 = 32767
    sample.Set24(2, -1, 1);       // >> 8 = -1
    sample.BuildPreview();
    EXPECT_EQ(Entries(*sample.GetPreview(), 1), (std::vector<SMinMax>{{-2, 32767}}));
}

TEST(WaveSamplePreview, StereoChannelsAreSummarisedApartAndAMissingChannelReadsZero) {
    C16BitWaveSample stereo(44100, 128, true);
    stereo.Set16(5, 300, 1);
    stereo.Set16(100, -400, 2);
    stereo.BuildPreview();
    const CWaveSamplePreview& preview = *stereo.GetPreview();
    EXPECT_EQ(preview.GetChannelCount(), 2);
    EXPECT_EQ(Entries(preview, 1), (std::vector<SMinMax>{{0, 300}, {0, 0}}));
    EXPECT_EQ(Entries(preview, 2), (std::vector<SMinMax>{{-400, 0}, {-400, 0}}));

    C16BitWaveSample mono(44100, 128, false);
    mono.Set16(5, 300, 1);
    mono.BuildPreview();
    EXPECT_EQ(mono.GetPreview()->GetMaximum(0, 2), 0);
    EXPECT_EQ(mono.GetPreview()->GetMaximum(2, 1), 0);
    EXPECT_EQ(mono.GetPreview()->GetMaximum(-1, 1), 0);
}

TEST(WaveSamplePreview, RebuildingFollowsTheAudio) {
    C16BitWaveSample sample(44100, 64, false);
    sample.BuildPreview();
    EXPECT_EQ(sample.GetPreview()->GetMaximum(0, 1), 0);
    sample.Set16(10, 123, 1);
    sample.BuildPreview();
    EXPECT_EQ(sample.GetPreview()->GetMaximum(0, 1), 123);
}

struct SStereoPeak {
    int16_t fLeft[2];
    int16_t fRight[2];
    float fPeak;
};

TEST(WaveSamplePreviewPeak, StereoAddsEachChannelsDominantValueWithItsSign) {
    const SStereoPeak rows[] = {
        {{-16384, 16384}, {-100, 16384}, 0.0f},          // left tie → its minimum -16384; + 16384 = 0
        {{-16384, 16384}, {-16384, 100}, 1.0f},          // -16384 + -16384 = -32768 → 32768 / 32768
        {{-20000, 100}, {-100, 20000}, 0.0f},            // opposite phases cancel
        {{32767, 32767}, {32767, 32767}, 1.99993896484375f},  // 65534 / 32768
        {{-32768, -32768}, {-32768, -32768}, 2.0f},      // 65536 / 32768
        {{0, 8192}, {0, 0}, 0.25f},                      // 8192 / 32768
    };
    for (const SStereoPeak& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fLeft[0] << "," << row.fLeft[1] << " / " << row.fRight[0] << ","
                                        << row.fRight[1]);
        C16BitWaveSample sample(44100, 64, true);
        for (int32_t i = 0; i < 2; ++i) {
            sample.Set16(i, row.fLeft[i], 1);
            sample.Set16(i, row.fRight[i], 2);
        }
        sample.BuildPreview();
        EXPECT_EQ(sample.GetPreview()->GetRangePeak(0, 64), row.fPeak);
    }
}

TEST(WaveSamplePreviewPeak, MonoTakesTheLargestMagnitude) {
    C16BitWaveSample sample(44100, 64, false);
    sample.Set16(0, -16384, 1);
    sample.Set16(1, 8192, 1);
    sample.BuildPreview();
    EXPECT_EQ(sample.GetPreview()->GetRangePeak(0, 64), 0.5f);  // 16384 / 32768
}

TEST(WaveSamplePreviewPeak, UsesTheBlocksFromStartUpToTheBlockOfTheEnd) {
    // 512 frames, 8 blocks; a spike at frame 500 (block 7) shows in entries 5, 6 and 7.
    C16BitWaveSample sample(44100, 512, false);
    sample.Set16(500, 16384, 1);
    sample.BuildPreview();
    const CWaveSamplePreview& preview = *sample.GetPreview();
    const struct {
        int32_t fStart;
        int32_t fCount;
        float fPeak;
    } rows[] = {
        {0, 320, 0.0f},       // blocks 0..4
        {0, 383, 0.0f},       // floor(383 / 64) = 5: still blocks 0..4
        {0, 384, 0.5f},       // blocks 0..5
        {383, 1, 0.5f},       // block 5 alone
        {380, 3, 0.0f},       // floor(380/64) = floor(383/64): no block
        {0, 0, 0.0f},
        {400, 1000, 0.5f},    // past the end: blocks 6 and 7
        {-100, 50, 0.0f},     // before the start
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fStart << "+" << row.fCount);
        EXPECT_EQ(preview.GetRangePeak(row.fStart, row.fCount), row.fPeak);
    }
}

}  // namespace
}  // namespace NSQuillet
