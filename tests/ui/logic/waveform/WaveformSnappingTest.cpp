#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "ui/logic/waveform/WaveformSnapping.h"

namespace NSQuillet {
namespace {

// 16-bit values read as v / 32768: |v| < 1024 is below 1/32.
constexpr int16_t kLoud = 29491;  // about 0.9
constexpr int16_t kQuietest = 1023;
constexpr int16_t kThreshold = 1024;

using FValue = std::function<int16_t(int32_t frame)>;

std::unique_ptr<C16BitWaveSample> MakeSample(int32_t frames, const FValue &left, const FValue &right = nullptr) {
    auto sample = std::make_unique<C16BitWaveSample>(44100, frames, bool(right));
    for (int32_t frame = 0; frame < frames; ++frame) {
        sample->Set16(frame, left(frame), 1);
        if (right) sample->Set16(frame, right(frame), 2);
    }
    return sample;
}

FValue Constant(int16_t value) {
    return [value](int32_t) { return value; };
}
// `before` up to frame `edge` − 1, `after` from `edge` on.
FValue Step(int32_t edge, int16_t before, int16_t after) {
    return [=](int32_t frame) { return frame < edge ? before : after; };
}

struct SSnapCase {
    const char *fWhat;
    int32_t fFrames;
    FValue fLeft;
    FValue fRight;
    int32_t fPosition;
    int32_t fExpected;
};

TEST(WaveformSnappingTest, ZeroCrossingSearch) {
    const SSnapCase cases[] = {
        {"digital silence keeps the position", 1000, Constant(0), nullptr, 500, 500},
        {"a quiet position is kept even beside a sign change", 1000, Step(501, kQuietest, -kLoud), nullptr, 500, 500},
        {"a loud tone ends at the forward limit", 100000, Constant(kLoud), nullptr, 50000, 75000},  // 50000 + 25000
        // From 900 the forward limit min(25900, 999) is 99 steps away, the
        // backward one (0) 900.
        {"1024 is not below the threshold", 1000, Constant(kThreshold), nullptr, 900, 999},
        {"sign change forward: the frame after it", 1000, Step(510, 2000, -2000), nullptr, 500, 510},
        // Backward from 500 the change lies between 490 (positive) and 489: the
        // later, 490.
        {"sign change backward: the later frame", 1000, Step(490, -2000, 2000), nullptr, 500, 490},
        // Steps f501 b499 f502 b498 f503 b497: the quiet 497 comes before the
        // change at 504.
        {"alternating, forward first", 1000,
         [](int32_t f) { return int16_t(f == 497  ? -kQuietest
                                        : f < 504 ? kLoud
                                                  : -kLoud); }, nullptr, 500, 497},
        // Both 490 (backward, quiet) and 510 (forward, quiet) are ten steps away:
        // forward first.
        {"equal distance goes forward", 1000, [](int32_t f) { return int16_t(f == 490 || f == 510 ? 0 : kLoud); },
         nullptr, 500, 510},
        // Half-periods of 60000 frames: from 30000 nothing within 25000 either
        // way.
        {"square wave with long half-periods", 200000,
         [](int32_t f) { return int16_t((f / 60000) % 2 ? -16384 : 16384); }, nullptr, 30000, 55000},
        {"square wave, edge within reach", 200000, [](int32_t f) { return int16_t((f / 60000) % 2 ? -16384 : 16384); },
         nullptr, 50000, 60000},
        {"stereo: channel 1 quiet alone is not enough", 100000, Constant(0), Constant(kLoud), 50000, 75000},
        {"stereo: quiet in both channels", 1000, Step(505, kLoud, 0), Step(505, kLoud, 10), 500, 505},
        {"stereo: a sign change in channel 2 alone", 1000, Constant(kLoud), Step(507, -2000, 2000), 500, 507},
        // Near the start the backward walk reaches frame 0 after f6 b4 … f10 b0.
        {"loud near the start: the first frame", 100000, Constant(kLoud), nullptr, 5, 0},
        {"near the start, a change before the limit", 100000, Step(8, kLoud, -kLoud), nullptr, 5, 8},
        // Near the end the forward walk stands on the last frame after 9 steps.
        {"loud near the end: the last frame", 100000, Constant(kLoud), nullptr, 99990, 99999},
        // The change between 99980 and 99979 comes at the 11th backward step,
        // after f99999.
        {"near the end the end wins over a later backward change", 100000, Step(99980, -kLoud, kLoud), nullptr, 99990,
         99999},
        {"the last frame, loud, stays", 1000, Constant(kLoud), nullptr, 999, 999},
        {"before the sample: returned as given", 1000, Constant(kLoud), nullptr, -1, -1},
        {"after the sample: returned as given", 1000, Constant(kLoud), nullptr, 1000, 1000},
    };
    for (const SSnapCase &test : cases) {
        const auto sample = MakeSample(test.fFrames, test.fLeft, test.fRight);
        const int32_t got = SnapToZeroCrossing(*sample, test.fPosition);
        EXPECT_EQ(got, test.fExpected) << test.fWhat;
        if (test.fPosition >= 0 && test.fPosition < test.fFrames) {
            EXPECT_LE(std::abs(got - test.fPosition), kZeroCrossingSearchLimit) << test.fWhat;
        }
    }
}

TEST(WaveformSnappingTest, AnEmptySampleReturnsThePosition) {
    const C16BitWaveSample sample(44100, 0, false);
    EXPECT_EQ(SnapToZeroCrossing(sample, 0), 0);
}

struct SLocatorCase {
    int32_t fPosition;
    int32_t fFrameCount;
    int32_t fExpected;
};

TEST(WaveformSnappingTest, LocatorSnapsToSliceStartsOrTheEnds) {
    const std::vector<int32_t> starts = {1000, 3000, 7000};
    const SLocatorCase cases[] = {
        {0, 10000, 0},
        {499, 10000, 0},      // 499 < 1000 / 2
        {500, 10000, 1000},   // not less than half the first start: the nearest
                              // start
        {2000, 10000, 1000},  // tie between 1000 and 3000: the earlier
        {2001, 10000, 3000},
        {5000, 10000, 3000},   // tie between 3000 and 7000
        {8500, 10000, 7000},   // 7000 + (10000 − 7000) / 2 = 8500 is not beyond
        {8501, 10000, 10000},  // beyond: the frame count
        {8500, 10001, 7000},   // 8500 < 7000 + 1500.5
        {8501, 10001, 10001},
        {12000, 10000, 10000},
    };
    for (const SLocatorCase &test : cases) {
        EXPECT_EQ(SnapLocatorToSlice(starts, test.fPosition, test.fFrameCount), test.fExpected)
            << test.fPosition << " of " << test.fFrameCount;
    }
    EXPECT_EQ(SnapLocatorToSlice({}, 1234, 10000), 1234);
    // A first slice at 0: nothing lies before half of it.
    EXPECT_EQ(SnapLocatorToSlice({0, 4000}, 1, 10000), 0);
    EXPECT_EQ(SnapLocatorToSlice({0, 4000}, 2001, 10000), 4000);
}

}  // namespace
}  // namespace NSQuillet
