#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"

namespace NSQuillet {
namespace {

using SOverrides = std::vector<std::pair<int32_t, int16_t>>;

constexpr int16_t kLoud = 5000;

// Values in 16-bit scale, far from the quiet levels, so the same rows hold for both depths.
struct SSearch {
    const char* fName;
    int32_t fFrameCount;
    int32_t fStart;
    SOverrides fLeft;
    SOverrides fRight;  // stereo when not empty
    int32_t fExpected;
};

const SSearch kSearches[] = {
    {"empty sample", 0, 100, {}, {}, 0},
    {"quiet start frame", 1000, 500, {{500, 0}}, {}, 500},
    {"forward crossing before backward at the same distance", 1000, 500, {{503, -kLoud}, {497, -kLoud}}, {}, 503},
    {"backward crossing gives the later frame", 1000, 500, {{496, -kLoud}}, {}, 497},
    {"quiet frame before the crossing onto it", 1000, 500, {{499, -500}}, {}, 499},
    {"forward quiet before backward crossing in one turn", 1000, 500, {{502, 0}, {498, -kLoud}}, {}, 502},
    {"earlier turn wins", 1000, 500, {{498, -kLoud}, {503, -kLoud}}, {}, 499},
    {"crossing onto the lower bound gives the later frame", 1000, 3, {{0, -kLoud}}, {}, 1},
    {"floored at frame 0", 1000, 3, {}, {}, 0},
    {"capped at the last frame", 1000, 996, {}, {}, 999},
    {"start on frame 0 is its own bound", 1000, 0, {}, {}, 0},
    {"start on the last frame is its own bound", 1000, 999, {}, {}, 999},
    {"start before the sample", 1000, -7, {}, {}, 0},
    {"start after the sample", 1000, 5000, {}, {}, 999},
    {"forward reach of 25000 ends first", 60000, 30000, {}, {}, 55000},
    {"crossing beyond the forward reach", 60000, 30000, {{55001, -kLoud}, {4999, -kLoud}}, {}, 55000},
    {"crossing inside the backward reach", 60000, 30000, {{5001, -kLoud}}, {}, 5002},
    {"channel 2 crossing counts", 1000, 500, {}, {{504, -kLoud}}, 504},
    {"quiet needs both channels", 1000, 500, {{500, 0}, {501, 0}, {502, 0}}, {{502, 0}}, 502},
};

template <class TSample>
std::unique_ptr<TSample> MakeSample(const SSearch& row) {
    const bool stereo = !row.fRight.empty();
    auto sample = std::make_unique<TSample>(44100, row.fFrameCount, stereo);
    std::vector<int16_t> loud(size_t(row.fFrameCount), kLoud);
    sample->Set16s(0, row.fFrameCount, loud.data(), 1);
    if (stereo) sample->Set16s(0, row.fFrameCount, loud.data(), 2);
    for (const auto& [frame, value] : row.fLeft) sample->Set16(frame, value, 1);
    for (const auto& [frame, value] : row.fRight) sample->Set16(frame, value, 2);
    return sample;
}

template <class TSample>
class ZeroCrossing : public testing::Test {};
using SampleClasses = testing::Types<C16BitWaveSample, C24BitWaveSample>;
TYPED_TEST_SUITE(ZeroCrossing, SampleClasses);

TYPED_TEST(ZeroCrossing, TestsQuietThenSignChangeThenBoundForwardBeforeBackward) {
    for (const SSearch& row : kSearches) {
        SCOPED_TRACE(row.fName);
        EXPECT_EQ(MakeSample<TypeParam>(row)->FindZeroCrossing(row.fStart), row.fExpected);
    }
}

struct SQuiet {
    int32_t fValue;  // in the sample's own scale
    bool fQuiet;
};

// A loud sample of the row's sign with the row's value at the start frame 500 and a silent
// frame at 503: the search stops at 500 when the value is quiet, else at 503.
template <class TSample, class FSet>
void ExpectQuietLevel(const std::vector<SQuiet>& rows, int32_t loud, FSet set) {
    for (const SQuiet& row : rows) {
        SCOPED_TRACE(row.fValue);
        TSample sample(44100, 1000, false);
        const int32_t around = row.fValue < 0 ? -loud : loud;
        for (int32_t frame = 0; frame < 1000; ++frame) set(sample, frame, around);
        set(sample, 500, row.fValue);
        set(sample, 503, 0);
        EXPECT_EQ(sample.FindZeroCrossing(500), row.fQuiet ? 500 : 503);
    }
}

TEST(ZeroCrossingQuietLevel, IsAMagnitudeBelow1023For16Bit) {
    ExpectQuietLevel<C16BitWaveSample>({{1022, true}, {-1022, true}, {1023, false}, {-1023, false}}, 5000,
                                       [](C16BitWaveSample& s, int32_t f, int32_t v) { s.Set16(f, int16_t(v), 1); });
}

TEST(ZeroCrossingQuietLevel, IsAMagnitudeBelow262143For24Bit) {
    // 262143 = 0x3FFFF; 1023 × 256 = 261888 is quiet here though 1023 is not in 16-bit.
    ExpectQuietLevel<C24BitWaveSample>(
        {{262142, true}, {-262142, true}, {261888, true}, {262143, false}, {-262143, false}}, 5000 * 256,
        [](C24BitWaveSample& s, int32_t f, int32_t v) { s.Set24(f, v, 1); });
}

}  // namespace
}  // namespace NSQuillet
