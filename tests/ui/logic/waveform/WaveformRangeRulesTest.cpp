#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>

#include "ui/logic/waveform/WaveformGeometry.h"
#include "tests/ui/logic/waveform/WaveformPrinting.h"
#include "ui/logic/waveform/WaveformRangeRules.h"

namespace NSQuillet {
namespace {

using namespace NSWaveformRange;

constexpr int32_t kNone = -2;  // an expected range of {kNone, kNone}: the rule changes nothing

std::optional<SVisibleRange> Expected(SVisibleRange range) {
    if (range.fStart == kNone) return std::nullopt;
    return range;
}

struct SZoomCase {
    const char* fWhat;
    SVisibleRange fRange;
    int32_t fWidth;
    int32_t fFrameCount;
    int32_t fAround;
    int32_t fCursor;
    SVisibleRange fExpected;
};

TEST(WaveformRangeRulesTest, ZoomIn) {
    const SZoomCase cases[] = {
        {"deepest zoom does nothing", {0, 64}, 1024, 100000, 0, 0, {kNone, kNone}},       // s = 0.0625
        {"below the deepest does nothing", {0, 62}, 1000, 100000, 0, 0, {kNone, kNone}},  // s = 0.062
        {"from 3 to 2", {0, 3000}, 1000, 100000, 0, 0, {0, 2000}},
        {"from 2 to 1: strictly smaller", {0, 2000}, 1000, 100000, 0, 0, {0, 1000}},
        {"just above the deepest", {0, 63}, 1000, 100000, 0, 0, {0, 62}},  // trunc(1000 × 0.0625)
        {"new end truncated", {0, 250}, 999, 100000, 0, 0, {0, 249}},      // trunc(999 × 0.25) = 249
        // s = 8, s' = 4, d = 2000 − 4 × 2000 / 8 = 1000; end = 4000 + 1000.
        {"around a frame", {0, 8000}, 1000, 100000, 2000, 0, {1000, 5000}},
        {"-1 zooms around the cursor", {0, 8000}, 1000, 100000, -1, 2000, {1000, 5000}},
        {"a cursor outside: no shift", {0, 8000}, 1000, 100000, -1, 9000, {0, 4000}},
        {"around the start: no shift", {1000, 3000}, 1000, 100000, 1000, 0, {1000, 2000}},
        {"around the end: no shift", {1000, 3000}, 1000, 100000, 3000, 0, {1000, 2000}},
        // d = 1001 − 2 × 1001 / 3 = 333.67, both ends moved by 333.
        {"the shift truncated, the width kept", {0, 3000}, 1000, 100000, 1001, 0, {333, 2333}},
        // s = 2, s' = 1, d = 1900 − 1900 / 2 = 950: [1950, 2950) cut at 2500.
        {"clamped at the frame count", {1000, 3000}, 1000, 2500, 2900, 0, {1950, 2500}},
        // d = 400 − 400 / 2 = 200: [−200, 800) cut at 0.
        {"clamped at 0", {-400, 1600}, 1000, 100000, 0, 0, {0, 800}},
        // s = 0.1, s' = 0.0625 over 10 px is 0.625 frames: the one frame stays, nothing changes.
        {"never an empty range", {0, 1}, 10, 100000, 0, 0, {kNone, kNone}},
    };
    for (const SZoomCase& test : cases) {
        EXPECT_EQ(ZoomIn(test.fRange, test.fWidth, test.fFrameCount, test.fAround, test.fCursor),
                  Expected(test.fExpected))
            << test.fWhat;
    }
}

TEST(WaveformRangeRulesTest, ZoomInFromOneFramePerPixelHalvesDownToTheDeepest) {
    struct SWidthCase {
        int32_t fWidth;
        int32_t fEnds[4];
    };
    const SWidthCase cases[] = {
        {1024, {512, 256, 128, 64}},  // exactly 0.5, 0.25, 0.125, 0.0625 frames per pixel
        {1000, {500, 250, 125, 62}},  // the last trunc(62.5)
    };
    for (const SWidthCase& test : cases) {
        SVisibleRange range{0, test.fWidth};
        for (int32_t end : test.fEnds) {
            EXPECT_TRUE(CanZoomIn(range, test.fWidth));
            const auto zoomed = ZoomIn(range, test.fWidth, 100000, 0, 0);
            ASSERT_TRUE(zoomed.has_value()) << test.fWidth << " px from " << range;
            EXPECT_EQ(*zoomed, (SVisibleRange{0, end})) << test.fWidth << " px";
            range = *zoomed;
        }
        EXPECT_FALSE(CanZoomIn(range, test.fWidth));
        EXPECT_EQ(ZoomIn(range, test.fWidth, 100000, 0, 0), std::nullopt);
    }
}

TEST(WaveformRangeRulesTest, ZoomingAroundAFrameKeepsItUnderItsPixel) {
    const int32_t frame = 2000;
    const CWaveformGeometry before(1020, 100, {0, 8000});
    const auto in = ZoomIn(before.GetRange(), 1000, 100000, frame, 0);
    ASSERT_TRUE(in.has_value());
    EXPECT_EQ(CWaveformGeometry(1020, 100, *in).FrameToX(frame), before.FrameToX(frame));  // both 260
    const auto out = ZoomOut(*in, 1000, 100000, frame, 0);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(*out, (SVisibleRange{0, 8000}));
}

TEST(WaveformRangeRulesTest, ZoomOut) {
    const SZoomCase cases[] = {
        // s = 10, s' = 16: [0, 16000) overshoots by 6000 > 0, the whole sample, as before.
        {"the whole sample does nothing", {0, 10000}, 1000, 10000, 0, 0, {kNone, kNone}},
        // s = 1, s' = 2, d = 500 − 2 × 500 = −500.
        {"around a frame", {4000, 5000}, 1000, 10000, 4500, 0, {3500, 5500}},
        {"-1 zooms around the cursor", {4000, 5000}, 1000, 10000, -1, 4500, {3500, 5500}},
        {"a negative start shifts right", {0, 1000}, 1000, 10000, 500, 0, {0, 2000}},  // [−500, 1500)
        // [8500, 10500): o = 500 is not above the start, both ends move left by it.
        {"overshoot moves left", {8500, 9500}, 1000, 10000, -1, 0, {8000, 10000}},
        // [100, 2100) over 1500 frames: o = 600 > 100.
        {"overshoot beyond the start: the whole sample", {100, 1100}, 1000, 1500, -1, 0, {0, 1500}},
        // s + 0.00625 = 0.12625 > 0.125: the next level is 0.25.
        {"a level within 0.00625 is skipped", {0, 120}, 1000, 10000, 0, 0, {0, 250}},
        {"0.118 to 0.125", {0, 118}, 1000, 10000, 0, 0, {0, 125}},
        {"0.125 to 0.25", {0, 125}, 1000, 10000, 0, 0, {0, 250}},
        {"from below the deepest", {0, 62}, 1000, 10000, 0, 0, {0, 125}},
        {"new end rounded half up", {0, 62}, 999, 10000, 0, 0, {0, 125}},  // floor(124.875 + 0.5)
        // s = 3, s' = 4, d = 1001 − 4 × 1001 / 3 = −333.67, both ends moved by −333.
        {"the shift truncated, the width kept", {3000, 6000}, 1000, 10000, 4001, 0, {2667, 6667}},
    };
    for (const SZoomCase& test : cases) {
        EXPECT_EQ(ZoomOut(test.fRange, test.fWidth, test.fFrameCount, test.fAround, test.fCursor),
                  Expected(test.fExpected))
            << test.fWhat;
    }
}

TEST(WaveformRangeRulesTest, CanZoomAndCanScroll) {
    EXPECT_TRUE(CanZoomIn({0, 66}, 1000));   // 0.066 > 0.065625
    EXPECT_FALSE(CanZoomIn({0, 65}, 1000));  // 0.065
    EXPECT_FALSE(CanZoomIn({0, 62}, 1000));
    EXPECT_FALSE(CanZoomOut({0, 10000}, 10000));
    EXPECT_TRUE(CanZoomOut({1, 10000}, 10000));
    EXPECT_TRUE(CanZoomOut({0, 9999}, 10000));
    EXPECT_FALSE(CanScrollLeft({0, 5000}));
    EXPECT_TRUE(CanScrollLeft({1, 5000}));
    EXPECT_FALSE(CanScrollRight({5000, 10000}, 10000));
    EXPECT_TRUE(CanScrollRight({5000, 9999}, 10000));
}

struct SScrollCase {
    const char* fWhat;
    SVisibleRange fRange;
    SVisibleRange fLeft;
    SVisibleRange fRight;
};

TEST(WaveformRangeRulesTest, ScrollButtonsStepSixteenPixelsKeepingTheWidth) {
    // 1000 px over 10000 frames.
    const SScrollCase cases[] = {
        {"2 frames per pixel: 32", {1000, 3000}, {968, 2968}, {1032, 3032}},
        {"1.99: trunc(31.84 + 0.5) = 32", {8000, 9990}, {7968, 9958}, {8010, 10000}},
        {"0.062: trunc(0.992 + 0.5) = 1", {100, 162}, {99, 161}, {101, 163}},
        {"0.03: trunc(0.98) = 0, at least 1", {100, 130}, {99, 129}, {101, 131}},
        {"stops at 0", {10, 2010}, {0, 2000}, {42, 2042}},
        {"at the ends nothing", {0, 10000}, {kNone, kNone}, {kNone, kNone}},
    };
    for (const SScrollCase& test : cases) {
        EXPECT_EQ(ScrollLeft(test.fRange, 1000), Expected(test.fLeft)) << test.fWhat;
        EXPECT_EQ(ScrollRight(test.fRange, 1000, 10000), Expected(test.fRight)) << test.fWhat;
    }
}

TEST(WaveformRangeRulesTest, AutoScrollStepsSixtyFourPixelsWithinTheSample) {
    // [2000, 4000) over 1000 px: 64 px are 128 frames.
    const CWaveformGeometry geometry(1020, 100, {2000, 4000});
    const struct {
        int32_t fSteps;
        SVisibleRange fExpected;
    } cases[] = {
        {1, {2128, 4128}},    {-1, {1872, 3872}}, {-20, {0, 2000}},  // 2000 − 2560 clamped to 0
        {100, {8000, 10000}},                                        // 2000 + 12800 clamped to 10000 − 2000
        {0, {kNone, kNone}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(AutoScroll(geometry, test.fSteps, 10000), Expected(test.fExpected)) << test.fSteps;
    }
}

TEST(WaveformRangeRulesTest, FollowCursor) {
    // The view shows [2000, 3000) of 10000 frames.
    const struct {
        const char* fWhat;
        int32_t fCursor;
        int32_t fSliceStart;
        SVisibleRange fExpected;
    } cases[] = {
        {"inside: nothing", 2500, 2000, {kNone, kNone}},
        {"on the first visible frame: nothing", 2000, 0, {kNone, kNone}},
        {"on the end: outside", 3000, 2800, {2800, 3800}},
        {"slice start within a screen: from the slice", 5000, 4500, {4500, 5500}},
        {"slice start a screen or more back: from the cursor", 5000, 4000, {5000, 6000}},
        {"before the view", 500, 0, {0, 1000}},
        {"no slice", 5000, 0, {5000, 6000}},
        {"near the end: the last screenful", 9500, 9400, {9000, 10000}},
        {"just fitting", 9500, 9000, {9000, 10000}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(FollowCursor({2000, 3000}, test.fCursor, test.fSliceStart, 10000), Expected(test.fExpected))
            << test.fWhat;
    }
    // Wider than the sample: from 0.
    EXPECT_EQ(FollowCursor({100, 1100}, 1500, 0, 800), (SVisibleRange{0, 1000}));
}

TEST(WaveformRangeRulesTest, AfterWaveChange) {
    const struct {
        SVisibleRange fRange;
        int32_t fFrameCount;
        SVisibleRange fExpected;
    } cases[] = {
        {{2000, 3000}, 10000, {2000, 3000}},
        {{2000, 3000}, 3000, {2000, 3000}},  // still fits exactly
        {{2000, 3000}, 2500, {1500, 2500}},  // the width kept, ending at the frame count
        {{2000, 3000}, 800, {0, 800}},       // the width no longer fits
        {{0, 0}, 500, {0, 500}},             // an empty range shows the whole new sample
    };
    for (const auto& test : cases) {
        EXPECT_EQ(AfterWaveChange(test.fRange, test.fFrameCount), test.fExpected) << test.fRange;
    }
}

TEST(WaveformRangeRulesTest, VerticalZoomStepsWithinOneToSixteen) {
    EXPECT_DOUBLE_EQ(VerticalZoomIn(1.0), 1.25);
    EXPECT_DOUBLE_EQ(VerticalZoomIn(12.8), 16.0);
    EXPECT_DOUBLE_EQ(VerticalZoomIn(15.0), 16.0);  // 18.75 clamped
    EXPECT_DOUBLE_EQ(VerticalZoomIn(16.0), 16.0);
    EXPECT_DOUBLE_EQ(VerticalZoomOut(16.0), 12.8);
    EXPECT_DOUBLE_EQ(VerticalZoomOut(1.25), 1.0);
    EXPECT_DOUBLE_EQ(VerticalZoomOut(1.1), 1.0);  // 0.88 clamped
    EXPECT_DOUBLE_EQ(VerticalZoomOut(1.0), 1.0);
}

}  // namespace
}  // namespace NSQuillet
