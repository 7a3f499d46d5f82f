#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/LoopSettings.h"

namespace NSQuillet {
namespace {

CLoopSettings Loop(int32_t bars, int32_t beats, int32_t numerator = 4, int32_t denominator = 4) {
    CLoopSettings loop;
    loop.SetBars(bars);
    loop.SetBeats(beats);
    loop.SetTimeSignatureNumerator(numerator);
    loop.SetTimeSignatureDenominator(denominator);
    return loop;
}

TEST(LoopSettings, DefaultsAreAnUnsetFourFourLoopAt130) {
    const CLoopSettings loop;
    EXPECT_FALSE(loop.IsPreviewOn());
    EXPECT_FALSE(loop.IsSilenceSelected());
    EXPECT_EQ(loop.GetPreviewTempo(), 130000);
    EXPECT_EQ(loop.GetTimeSignatureNumerator(), 4);
    EXPECT_EQ(loop.GetTimeSignatureDenominator(), 4);
    EXPECT_FALSE(loop.IsLoopLengthSet());
}

TEST(LoopSettings, OriginalTempo) {
    struct SRow {
        const char* fName;
        CLoopSettings fLoop;
        int64_t fFrames;
        uint32_t fRate;
        int32_t fTempo;
    };
    const SRow rows[] = {
        // 4 beats in 88200 / 44100 = 2 s: 4 / (1/30 min) = 120 BPM.
        {"one bar of 4/4 in two seconds", Loop(1, 0), 88200, 44100, 120000},
        // 6 beats in 1 s = 360 BPM.
        {"one bar of 6/8 in one second", Loop(1, 0, 6, 8), 48000, 48000, 360000},
        // 3 beats in 66150 / 44100 = 1.5 s: 120 BPM.
        {"extra beats count", Loop(0, 3), 66150, 44100, 120000},
        // 4 / (100 / 2646000) = 105840 BPM: capped.
        {"above 999.999 BPM is capped", Loop(1, 0), 100, 44100, 999999},
        {"no length", Loop(0, 0), 88200, 44100, 0},
        {"no frames", Loop(1, 0), 0, 44100, 0},
        // 4 beats in 11025 / 11025 = 1 s at the clamped rate: 240 BPM.
        {"the rate is clamped up to 11025", Loop(1, 0), 11025, 8000, 240000},
        // 1 beat in 44101 frames: 60 × 44100 / 44101 = 59.99864 BPM → 59998.64 + 0.5 → 59999.
        {"rounded to the nearest unit", Loop(0, 1), 44101, 44100, 59999},
    };
    for (const SRow& row : rows) {
        EXPECT_EQ(row.fLoop.GetOriginalTempo(row.fFrames, row.fRate), row.fTempo) << row.fName;
    }
}

TEST(LoopSettings, SettersClampToUsableValues) {
    CLoopSettings loop;
    loop.SetPreviewTempo(5);
    EXPECT_EQ(loop.GetPreviewTempo(), 20000);
    loop.SetPreviewTempo(1000000);
    EXPECT_EQ(loop.GetPreviewTempo(), 450000);
    loop.SetPreviewTempo(0);
    EXPECT_EQ(loop.GetPreviewTempo(), 20000);
    loop.SetBars(-3);
    loop.SetBeats(-1);
    EXPECT_EQ(loop.GetTotalBeats(), 0);
    loop.SetTimeSignatureNumerator(0);
    loop.SetTimeSignatureDenominator(-8);
    EXPECT_EQ(loop.GetTimeSignatureNumerator(), 1);
    EXPECT_EQ(loop.GetTimeSignatureDenominator(), 1);
}

TEST(LoopSettings, PreviewIsActiveOnlyWithALength) {
    CLoopSettings loop;
    loop.SetPreviewOn(true);
    EXPECT_FALSE(loop.IsPreviewActive());
    loop.SetBeats(1);
    EXPECT_TRUE(loop.IsPreviewActive());
}

TEST(LoopSettings, SampleFramesToOutputFrames) {
    struct SRow {
        const char* fName;
        bool fPreviewOn;
        int32_t fPreviewTempo;
        int64_t fFrames;
        uint32_t fOutputRate;
        int64_t fExpected;
    };
    // One bar of 4/4 in 88200 frames at 44100 Hz: original tempo 120000.
    const SRow rows[] = {
        {"preview off at equal rates is the identity", false, 60000, 12345, 44100, 12345},
        // 1000 × 48000 / 44100 = 1088.435 → 1088.
        {"preview off converts the rate only", false, 60000, 1000, 48000, 1088},
        // 120000 / 60000 × 1000 = 2000.
        {"half the tempo doubles", true, 60000, 1000, 44100, 2000},
        // 2000 × 88200 / 44100 = 4000.
        {"tempo and rate together", true, 60000, 1000, 88200, 4000},
        // 120000 × 1000 / 130000 = 923.08 → 923.
        {"rounded to the nearest frame", true, 130000, 1000, 44100, 923},
        // 120000 × 13 / 240000 = 6.5 → 7.
        {"halves round up", true, 240000, 13, 44100, 7},
    };
    for (const SRow& row : rows) {
        CLoopSettings loop = Loop(1, 0);
        loop.SetPreviewOn(row.fPreviewOn);
        loop.SetPreviewTempo(row.fPreviewTempo);
        EXPECT_EQ(loop.SampleFramesToOutputFrames(row.fFrames, 88200, 44100, row.fOutputRate), row.fExpected)
            << row.fName;
    }
}

TEST(LoopSettings, SixEightCountsAQuarterNoteAsTwoBeats) {
    const CLoopSettings loop = Loop(1, 0, 6, 8);
    EXPECT_EQ(loop.GetTotalBeats(), 6);
    EXPECT_DOUBLE_EQ(loop.GetBeatLength(48000), 8000.0);  // 48000 / 6
    // Q = 48000 × 8 / (6 × 4) = 16000 frames.
    EXPECT_EQ(loop.FramesToTicks(16000, 48000), 15360);
    EXPECT_EQ(loop.FramesToTicks(8000, 48000), 7680);
    EXPECT_EQ(loop.GetLoopTicks(), 46080);  // 15360 × 24 / 8
    EXPECT_EQ(loop.FramesToTicks(48000, 48000), 46080);
}

TEST(LoopSettings, LoopTicks) {
    struct SRow {
        CLoopSettings fLoop;
        int32_t fTicks;
    };
    const SRow rows[] = {
        {Loop(1, 0), 61440},                       // 15360 × 16 / 4
        {Loop(2, 1, 3, 4), 107520},                // T = 7: 15360 × 28 / 4
        {Loop(1, 0, 7, 8), 53760},                 // 15360 × 28 / 8
        {Loop(0, 0), 0},
        {Loop(1, 0, 4, 16), 15360},                // 15360 × 16 / 16
        {Loop(1 << 30, 0), std::numeric_limits<int32_t>::max()},  // 15360 × 2^34 / 4 overflows 32 bits
    };
    for (const SRow& row : rows) EXPECT_EQ(row.fLoop.GetLoopTicks(), row.fTicks) << row.fLoop.GetTotalBeats();
}

TEST(LoopSettings, FramesToTicksRoundsAndClampsToTheLoop) {
    // One bar of 4/4 in 88200 frames: Q = 88200 × 4 / 16 = 22050 frames, 61440 ticks.
    const CLoopSettings loop = Loop(1, 0);
    EXPECT_EQ(loop.FramesToTicks(0, 88200), 0);
    EXPECT_EQ(loop.FramesToTicks(11025, 88200), 7680);  // half a quarter
    EXPECT_EQ(loop.FramesToTicks(1, 88200), 1);         // 0.697 + 0.5
    EXPECT_EQ(loop.FramesToTicks(-5, 88200), 0);
    EXPECT_EQ(loop.FramesToTicks(88200 + 22050, 88200), 61440);
    EXPECT_EQ(loop.FramesToTicks(std::numeric_limits<int64_t>::max() / 2, 88200), 61440);
    // No quarter note to divide by.
    EXPECT_EQ(loop.FramesToTicks(100, 0), 0);
    EXPECT_EQ(Loop(0, 0).FramesToTicks(100, 88200), 0);
}

}  // namespace
}  // namespace NSQuillet
