#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "engine/TransientSearch.h"
#include "foundation/ProgressReporter.h"

using namespace NSQuillet;

namespace {

struct SExpectedSlice {
    int32_t fPosition;
    int16_t fLevel;
    ESliceKind fKind;
};

void ExpectSlices(const CSliceSequence& sequence, const std::vector<SExpectedSlice>& expected) {
    ASSERT_EQ(sequence.GetSliceCount(), int32_t(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const CSlice& slice = sequence.GetSlices()[i];
        EXPECT_EQ(slice.GetPosition(), expected[i].fPosition) << "slice " << i;
        EXPECT_EQ(slice.GetLevel(), expected[i].fLevel) << "slice " << i;
        EXPECT_EQ(slice.GetKind(), expected[i].fKind) << "slice " << i;
    }
}

C16BitWaveSample Mono(int32_t frames, const std::vector<std::pair<int32_t, int16_t>>& values) {
    C16BitWaveSample sample(44100, frames, false);
    for (auto [frame, value] : values) sample.Set16(frame, value, 1);
    sample.BuildPreview();
    return sample;
}

class CScriptedProgress final : public IProgressReporter {
public:
    void Progress(int32_t permille) override { fReported.push_back(permille); }
    bool IsStopRequested() const override { return fStop; }
    std::vector<int32_t> fReported;
    bool fStop = false;
};

constexpr auto kNormal = ESliceKind::kNormal;

}  // namespace

TEST(TransientSearch, SilenceEndsWithOnePlaceholderAtFrameZero) {
    // The follower stays at 100: 100 × 0x7F28 >> 15 = 99, plus 1. No onset, the frame-0
    // placeholder is inserted at the end (level 1024, zeroCount 1) and removed again, then the
    // empty list gets the level-16384 slice.
    auto sample = Mono(5000, {});
    CSliceSequence sequence(&sample);
    EXPECT_TRUE(sequence.Analyze(nullptr));
    ExpectSlices(sequence, {{0, 16384, kNormal}});
}

TEST(TransientSearch, ImpulseSnapsBackToTheQuietFrameAndIsMeasuredAgainstTheFloor) {
    // Frame 1000: d = 2 × 10000 = 20000 > follower 100 and 20000 >> 2 = 5000 > floor 100: onset.
    // Snap: value(1000) is loud, value(999) = 0 is met going back and is quiet: frame 999.
    // Level = min(20000 × 1024 / 100, 32767) = 32767. The frame-0 placeholder is removed.
    auto sample = Mono(4000, {{1000, 10000}});
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{999, 32767, kNormal}});
}

TEST(TransientSearch, OnsetAtFrameZeroMergesWithThePlaceholder) {
    // Onset at 0 inserts the placeholder (level 1024) at 0; the real slice at 0 merges into it at
    // the end with the larger level 32767; zeroCount is 2, so nothing is removed.
    auto sample = Mono(4000, {{0, 10000}});
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{0, 32767, kNormal}});
}

TEST(TransientSearch, LaterSliceIsMeasuredAgainstTheSettledFloor) {
    // After the first transient the follower decays to its fixed point 151
    // (152 × 0x7F28 >> 15 = 150, +1; 151 stays 151), and the floor with it. The second impulse
    // (1000) gives d = 2000, then 1000; a quiet value(7000) = 1000 < 1023 keeps the snap at 7000.
    // Level = 2000 × 1024 / 151 = 13562.
    auto sample = Mono(10000, {{1000, 10000}, {7000, 1000}});
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{999, 32767, kNormal}, {7000, 13562, kNormal}});
}

TEST(TransientSearch, LatePeakGrowsTheWatchWindowTo696Frames) {
    // Ramp x = 400 + 4n from frame 1000 (n = 0..799): a = 800 at the onset, then 404 + 4n, so
    // the peak is new at every frame from n = 100 on and peakIndex = counter − 1 at each check.
    // Window 300, 500, 600, 650, 675, 687, 693, 696; at 696, 695 > 696 − 1 fails: the transient
    // ends at n = 695 with peak 404 + 4 × 695 = 3184. Level = 3184 × 1024 / 100 = 32604
    // (a window of 697 would give 3188 → 32645; no growth, 1600 → 16384).
    std::vector<std::pair<int32_t, int16_t>> ramp;
    for (int32_t n = 0; n < 800; ++n) ramp.push_back({1000 + n, int16_t(400 + 4 * n)});
    auto sample = Mono(5000, ramp);
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{1000, 32604, kNormal}});
}

TEST(TransientSearch, EmphasisWrapsAt16Bits) {
    // x = −16384 after 0: d = −32768, whose magnitude reads back as −32768 and is no onset; the
    // halving tail keeps d at 0. The loop counts as silence.
    std::vector<std::pair<int32_t, int16_t>> tail;
    int16_t x = -16384;
    for (int32_t frame = 1000; x != 0; ++frame, x = int16_t(x / 2)) tail.push_back({frame, x});
    auto sample = Mono(4000, tail);
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{0, 16384, kNormal}});
}

TEST(TransientSearch, TwentyFourBitAudioIsReadThroughTheArithmeticShift) {
    // −256056 >> 8 = −1001 (floor), not −1000: d = −2002, a = 2002, the value is quiet so the
    // snap stays at 1000, level = 2002 × 1024 / 100 = 20500 (truncation would give 20480).
    C24BitWaveSample sample(48000, 4000, false);
    sample.Set24(1000, -256056, 1);
    sample.BuildPreview();
    CSliceSequence sequence(&sample);
    sequence.Analyze(nullptr);
    ExpectSlices(sequence, {{1000, 20500, kNormal}});
}

TEST(TransientSearch, StereoSnapMixesTruncatingTowardZero) {
    // Loud −5000 on both channels from 996; frame 995 varies; everything before it is 0.
    struct SCase {
        int16_t fLeft, fRight;
        int32_t fSnapped;
        const char* fWhy;
    } cases[] = {
        {-1024, -1021, 995, "(−2045) / 2 = −1022 is quiet; flooring to −1023 would walk on to 994"},
        {-1024, -1024, 994, "−1024 is loud: the walk passes it and stops on the quiet 0 at 994"},
        {3000, 3000, 996, "+3000 after −5000 is a sign change: the later frame 996"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fWhy);
        C16BitWaveSample sample(44100, 3000, true);
        for (int32_t frame = 996; frame <= 2000; ++frame) {
            sample.Set16(frame, -5000, 1);
            sample.Set16(frame, -5000, 2);
        }
        sample.Set16(995, row.fLeft, 1);
        sample.Set16(995, row.fRight, 2);
        CSliceSequence sequence(&sample);
        EXPECT_EQ(CTransientSearch(sample, sequence).SnapToZeroCrossing(1000), row.fSnapped);
    }
}

TEST(TransientSearch, SnapReachesAtMost500FramesBackAndNeverBelowZero) {
    C16BitWaveSample sample(44100, 3000, false);
    for (int32_t frame = 0; frame < 3000; ++frame) sample.Set16(frame, 5000, 1);
    CSliceSequence sequence(&sample);
    CTransientSearch search(sample, sequence);
    EXPECT_EQ(search.SnapToZeroCrossing(2000), 1500);
    EXPECT_EQ(search.SnapToZeroCrossing(300), 0);
    EXPECT_EQ(search.SnapToZeroCrossing(0), 0);
}

TEST(TransientSearch, StopAtTheSecondBlockKeepsInsertedSlicesAndDropsThePendingOne) {
    // Impulse of 1000 at frame 1000 (2000 × 1024 / 100 = 20480 once completed), another in the
    // second block.
    const int32_t frames = (1 << 20) + 2000;
    auto sample = Mono(frames, {{1000, 1000}, {(1 << 20) + 1000, 1000}});
    {
        CSliceSequence sequence(&sample);
        CScriptedProgress progress;
        progress.fStop = true;  // asked before the start: looked at only from the second block on
        EXPECT_FALSE(sequence.Analyze(&progress));
        // 1048576 × 1000 / 1050576 = 998.
        EXPECT_EQ(progress.fReported, (std::vector<int32_t>{0, 998}));
        // Only the placeholder was inserted; zeroCount 1 removes it; the empty list gets 0.
        ExpectSlices(sequence, {{0, 16384, kNormal}});
    }
    CSliceSequence sequence(&sample);
    CScriptedProgress progress;
    EXPECT_TRUE(sequence.Analyze(&progress));
    // The second impulse meets the settled floor 151: 2000 × 1024 / 151 = 13562.
    ExpectSlices(sequence, {{1000, 20480, kNormal}, {(1 << 20) + 1000, 13562, kNormal}});
}

TEST(TransientSearch, EmptySampleLeavesAnEmptyList) {
    C16BitWaveSample sample(44100, 0, false);
    CSliceSequence sequence(&sample);
    EXPECT_TRUE(sequence.Analyze(nullptr));
    EXPECT_EQ(sequence.GetSliceCount(), 0);
}

TEST(TransientSearch, ReAnalyzeMergesWithin65FramesAndKeepsUserKinds) {
    // The audio gives one slice at 999 with level 32767.
    auto sample = Mono(8000, {{1000, 10000}});
    struct SCase {
        const char* fName;
        std::vector<CSlice> fExisting;
        std::vector<SExpectedSlice> fAfter;
    } cases[] = {
        {"locked 39 frames before stays locked and takes the larger level",
         {CSlice(960, 16384, ESliceKind::kLocked), CSlice(5000, 700, ESliceKind::kMuted)},
         {{960, 32767, ESliceKind::kLocked}, {5000, 700, ESliceKind::kMuted}}},
        {"muted 64 frames after is un-muted",
         {CSlice(1063, 500, ESliceKind::kMuted)},
         {{1063, 32767, kNormal}}},
        {"65 frames away is a new slice",
         {CSlice(1064, 500, ESliceKind::kMuted)},
         {{999, 32767, kNormal}, {1064, 500, ESliceKind::kMuted}}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fName);
        CSliceSequence sequence(&sample);
        for (const auto& slice : row.fExisting) sequence.InsertSlice(slice);
        EXPECT_TRUE(sequence.ReAnalyze(nullptr));
        ExpectSlices(sequence, row.fAfter);
    }
}

TEST(TransientSearch, ScansSplitAnywhereFindWhatOneRunFinds) {
    // Clicks of rising size every 3001 frames over noise-free decays, in 16 and 24 bits.
    constexpr int32_t kFrames = 40000;
    const int32_t steps[] = {1, 7, 256, 3001, 29999};
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "24-bit" : "16-bit");
        std::unique_ptr<CABCWaveSample> sample;
        if (wide) {
            sample = std::make_unique<C24BitWaveSample>(44100, kFrames, true);
        } else {
            sample = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
        }
        for (int32_t frame = 0; frame < kFrames; ++frame) {
            const int32_t inClick = frame % 3001;
            const int32_t size = 2000 + (frame / 3001) * 1500;
            const int32_t value = inClick < 400 ? (inClick % 2 ? size : -size) * (400 - inClick) / 400 : 0;
            sample->Set16(frame, int16_t(value), 1);
            sample->Set16(frame, int16_t(value / 2), 2);
        }
        CSliceSequence whole(sample.get());
        ASSERT_TRUE(whole.Analyze(nullptr));
        ASSERT_GT(whole.GetSliceCount(), 10);
        for (const int32_t step : steps) {
            SCOPED_TRACE(step);
            CSliceSequence split(sample.get());
            CTransientSearch search(*sample, split);
            for (int32_t end = step; search.GetScannedFrames() < kFrames; end += step) search.Scan(end);
            search.Complete();
            split.EnsureFirstSlice(search.GetZeroCount());
            ASSERT_EQ(split.GetSliceCount(), whole.GetSliceCount());
            for (int32_t i = 0; i < whole.GetSliceCount(); ++i) {
                EXPECT_EQ(split.GetSlices()[size_t(i)].GetPosition(), whole.GetSlices()[size_t(i)].GetPosition()) << i;
                EXPECT_EQ(split.GetSlices()[size_t(i)].GetLevel(), whole.GetSlices()[size_t(i)].GetLevel()) << i;
            }
        }
    }
}
