#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

template <class TSample>
class WaveSampleOfEitherDepth : public testing::Test {};
using SampleClasses = testing::Types<C16BitWaveSample, C24BitWaveSample>;
TYPED_TEST_SUITE(WaveSampleOfEitherDepth, SampleClasses);

TYPED_TEST(WaveSampleOfEitherDepth, StartsZeroFilledWithTheLoopOverTheWholeSample) {
    // A rate outside 11025..1000000 is kept as read; it is clamped where it is used.
    TypeParam sample(8000, 1000, true);
    EXPECT_EQ(sample.GetSampleRate(), 8000u);
    EXPECT_EQ(sample.GetFrameCount(), 1000);
    EXPECT_EQ(sample.GetBitDepth(), (std::is_same_v<TypeParam, C16BitWaveSample> ? 16 : 24));
    EXPECT_TRUE(sample.IsStereo());
    EXPECT_FALSE(sample.HasPreview());
    EXPECT_EQ(sample.GetPreview(), nullptr);
    EXPECT_FALSE(sample.IsLoopSet());
    EXPECT_EQ(sample.GetLoopKind(), 1);
    EXPECT_EQ(sample.GetLeftLocator(), 0);
    EXPECT_EQ(sample.GetRightLocator(), 1000);
    std::vector<int32_t> values(1000, -1);
    for (int32_t channel : {1, 2}) {
        ASSERT_EQ(sample.Get24s(0, 1000, values.data(), channel), 1000);
        EXPECT_EQ(values, std::vector<int32_t>(1000, 0));
    }
}

TYPED_TEST(WaveSampleOfEitherDepth, SetLocatorsStoresThemAndMarksTheLoopSet) {
    TypeParam sample(44100, 1000, false);
    sample.SetLocators(2, 100, 900);
    EXPECT_TRUE(sample.IsLoopSet());
    EXPECT_EQ(sample.GetLoopKind(), 2);
    EXPECT_EQ(sample.GetLeftLocator(), 100);
    EXPECT_EQ(sample.GetRightLocator(), 900);
}

struct SFloatWrite {
    float fValue;
    int32_t fExpected16;
    int32_t fExpected24;
};

TEST(WaveSampleSetFloat, RoundsHalfAwayFromZeroAndClamps) {
    const SFloatWrite rows[] = {
        {1.0f, 32767, 8388607},               // full scale × 32767 / × 8388607
        {-1.0f, -32767, -8388607},            // negative full scale is one step short of the minimum
        {2.0f, 32767, 8388607},               // 65534 / 16777214 clamped to the maximum
        {-2.0f, -32768, -8388608},            // clamped to the minimum
        {0.5f, 16384, 4194304},               // 16383.5 / 4194303.5 away from zero
        {-0.5f, -16384, -4194304},            // -16383.5 / -4194303.5 away from zero
        {1.0f / 65536, 0, 128},               // 0.49998 → 0; 127.99998 → 128
        {3.0f / 65536, 1, 384},               // 1.49995 → 1; 383.99995 → 384
        {-3.0f / 65536, -1, -384},            // mirror of the row above
        {0.0f, 0, 0},
        {1e30f, 32767, 8388607},              // far beyond the range
        {-std::numeric_limits<float>::infinity(), -32768, -8388608},
        {kNaN, 0, 0},
    };
    for (const SFloatWrite& row : rows) {
        SCOPED_TRACE(row.fValue);
        C16BitWaveSample sample16(44100, 4, false);
        C24BitWaveSample sample24(44100, 4, false);
        sample16.SetFloat(2, row.fValue, 1);
        sample24.SetFloat(2, row.fValue, 1);
        EXPECT_EQ(sample16.Get16(2, 1), row.fExpected16);
        EXPECT_EQ(sample24.Get24(2, 1), row.fExpected24);
        // The range form converts the same way.
        C16BitWaveSample range16(44100, 4, false);
        C24BitWaveSample range24(44100, 4, false);
        EXPECT_EQ(range16.SetFloats(2, 1, &row.fValue, 1), 1);
        EXPECT_EQ(range24.SetFloats(2, 1, &row.fValue, 1), 1);
        EXPECT_EQ(range16.Get16(2, 1), row.fExpected16);
        EXPECT_EQ(range24.Get24(2, 1), row.fExpected24);
    }
}

TEST(WaveSampleGetFloat, ReadsOverThePowerOfTwoScale) {
    C16BitWaveSample sample16(44100, 3, false);
    sample16.Set16(0, 16384, 1);
    sample16.Set16(1, -32768, 1);
    sample16.SetFloat(2, 1.0f, 1);
    EXPECT_EQ(sample16.GetFloat(0, 1), 0.5f);                  // 16384 / 32768
    EXPECT_EQ(sample16.GetFloat(1, 1), -1.0f);                 // -32768 / 32768
    EXPECT_EQ(sample16.GetFloat(2, 1), 0.999969482421875f);    // written 32767, read 32767 / 32768
    C24BitWaveSample sample24(44100, 3, false);
    sample24.Set24(0, 4194304, 1);
    sample24.Set24(1, -8388608, 1);
    sample24.SetFloat(2, 1.0f, 1);
    EXPECT_EQ(sample24.GetFloat(0, 1), 0.5f);                  // 4194304 / 8388608
    EXPECT_EQ(sample24.GetFloat(1, 1), -1.0f);                 // -8388608 / 8388608
    EXPECT_EQ(sample24.GetFloat(2, 1), 0.99999988079071045f);  // 8388607 / 8388608
    float out[3];
    EXPECT_EQ(sample24.GetFloats(0, 3, out, 1), 3);
    EXPECT_EQ(out[1], -1.0f);
}

struct S24BitValue {
    int32_t fWritten;
    int16_t fAs16;
    int32_t fStored24;
};

TEST(WaveSample24Bit, ReadsIn16BitScaleByArithmeticShift) {
    const S24BitValue rows[] = {
        {-1, -1, -1},                          // -1 >> 8 = -1, not 0
        {-256, -1, -256},                      // -256 >> 8 = -1
        {-257, -2, -257},                      // floor(-257 / 256) = -2
        {255, 0, 255},                         // 255 >> 8 = 0
        {256, 1, 256},                         // 256 >> 8 = 1
        {8388607, 32767, 8388607},             // 0x7FFFFF >> 8 = 0x7FFF
        {-8388608, -32768, -8388608},          // -0x800000 >> 8 = -0x8000
        {8388608, 32767, 8388607},             // beyond 24 bits: clamped to 8388607
        {std::numeric_limits<int32_t>::min(), -32768, -8388608},
    };
    for (const S24BitValue& row : rows) {
        SCOPED_TRACE(row.fWritten);
        C24BitWaveSample sample(44100, 3, false);
        sample.Set24(1, row.fWritten, 1);
        EXPECT_EQ(sample.Get24(1, 1), row.fStored24);
        EXPECT_EQ(sample.Get16(1, 1), row.fAs16);
        int16_t range[3] = {9, 9, 9};
        EXPECT_EQ(sample.Get16s(0, 3, range, 1), 3);
        EXPECT_EQ(range[1], row.fAs16);
    }
}

TEST(WaveSample16Bit, Writes24BitScaleByArithmeticShift) {
    const S24BitValue rows[] = {
        {-1, -1, -256},                        // -1 >> 8 = -1, read back × 256
        {-256, -1, -256},
        {-257, -2, -512},                      // floor(-257 / 256) = -2
        {255, 0, 0},
        {8388607, 32767, 8388352},             // 0x7FFFFF >> 8 = 32767; × 256 = 8388352
        {std::numeric_limits<int32_t>::max(), 32767, 8388352},  // clamped to 0x7FFFFF first
        {std::numeric_limits<int32_t>::min(), -32768, -8388608},
    };
    for (const S24BitValue& row : rows) {
        SCOPED_TRACE(row.fWritten);
        C16BitWaveSample sample(44100, 3, false);
        sample.Set24(1, row.fWritten, 1);
        EXPECT_EQ(sample.Get16(1, 1), row.fAs16);
        EXPECT_EQ(sample.Get24(1, 1), row.fStored24);
        EXPECT_EQ(sample.Get24AsFloat(1, 1), float(row.fStored24));
    }
}

TEST(WaveSample24Bit, Writes16BitScaleTimes256) {
    C24BitWaveSample sample(44100, 2, false);
    const int16_t values[2] = {-32768, 1};
    EXPECT_EQ(sample.Set16s(0, 2, values, 1), 2);
    EXPECT_EQ(sample.Get24(0, 1), -8388608);  // -32768 × 256
    EXPECT_EQ(sample.Get24(1, 1), 256);       // 1 × 256
}

struct S24AsFloatWrite {
    float fValue;
    int16_t fStored16;
    int32_t fStored24;
};

TEST(WaveSample24AsFloat, TruncatesTowardZeroThenClamps) {
    const S24AsFloatWrite rows[] = {
        {-1.9f, -1, -1},                       // trunc -1; 16-bit: -1 >> 8 = -1
        {511.9f, 1, 511},                      // trunc 511; 511 >> 8 = 1
        {-511.9f, -2, -511},                   // trunc -511; -511 >> 8 = -2
        {255.99f, 0, 255},                     // trunc 255; 255 >> 8 = 0
        {1e10f, 32767, 8388607},               // clamped to 0x7FFFFF
        {-1e10f, -32768, -8388608},            // clamped to -0x800000
        {kNaN, 0, 0},
    };
    for (const S24AsFloatWrite& row : rows) {
        SCOPED_TRACE(row.fValue);
        C16BitWaveSample sample16(44100, 2, false);
        C24BitWaveSample sample24(44100, 2, false);
        sample16.Set24AsFloat(1, row.fValue, 1);
        sample24.Set24AsFloat(1, row.fValue, 1);
        EXPECT_EQ(sample16.Get16(1, 1), row.fStored16);
        EXPECT_EQ(sample24.Get24(1, 1), row.fStored24);
        EXPECT_EQ(sample24.Get24AsFloat(1, 1), float(row.fStored24));
    }
    C16BitWaveSample sample16(44100, 2, false);
    sample16.Set16(0, -2, 1);
    float out[2];
    EXPECT_EQ(sample16.Get24AsFloats(0, 2, out, 1), 2);
    EXPECT_EQ(out[0], -512.0f);  // -2 × 256
}

TEST(WaveSampleInterleaved, PairsAreChannelOneThenChannelTwo) {
    C16BitWaveSample sample16(44100, 4, true);
    const int16_t pairs[6] = {1, -1, 2, -2, 3, -3};
    EXPECT_EQ(sample16.SetInterleaved16(1, 3, pairs), 3);
    EXPECT_EQ(sample16.Get16(0, 1), 0);
    EXPECT_EQ(sample16.Get16(1, 1), 1);
    EXPECT_EQ(sample16.Get16(1, 2), -1);
    EXPECT_EQ(sample16.Get16(3, 1), 3);
    EXPECT_EQ(sample16.Get16(3, 2), -3);
    int32_t pairs24[8];
    EXPECT_EQ(sample16.GetInterleaved24(0, 4, pairs24), 4);
    EXPECT_EQ(std::vector<int32_t>(pairs24, pairs24 + 8),
              (std::vector<int32_t>{0, 0, 256, -256, 512, -512, 768, -768}));  // each × 256

    C24BitWaveSample sample24(44100, 2, true);
    const int32_t values24[4] = {-257, 300, 8388607, -1};
    EXPECT_EQ(sample24.SetInterleaved24(0, 2, values24), 2);
    int16_t pairs16[4];
    EXPECT_EQ(sample24.GetInterleaved16(0, 2, pairs16), 2);
    EXPECT_EQ(std::vector<int16_t>(pairs16, pairs16 + 4),
              (std::vector<int16_t>{-2, 1, 32767, -1}));  // each >> 8, arithmetic
    const float floats[4] = {-1.5f, 2.5f, 3.0f, 4.9f};
    EXPECT_EQ(sample24.SetInterleaved24AsFloat(0, 2, floats), 2);
    float back[4];
    EXPECT_EQ(sample24.GetInterleaved24AsFloat(0, 2, back), 2);
    EXPECT_EQ(std::vector<float>(back, back + 4), (std::vector<float>{-1.0f, 2.0f, 3.0f, 4.0f}));  // truncated
}

TEST(WaveSampleInterleaved, MonoSampleReadsZeroForChannelTwoAndWritesOnlyChannelOne) {
    C16BitWaveSample sample(44100, 2, false);
    const int16_t pairs[4] = {5, 6, 7, 8};
    EXPECT_EQ(sample.SetInterleaved16(0, 2, pairs), 2);
    int16_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(sample.GetInterleaved16(0, 2, out), 2);
    EXPECT_EQ(std::vector<int16_t>(out, out + 4), (std::vector<int16_t>{5, 0, 7, 0}));
}

struct SRange {
    int32_t fStart;
    int32_t fCount;
    int32_t fHandled;
    std::vector<int16_t> fRead;     // the `count` entries a read returns
    std::vector<int16_t> fWritten;  // the sample after writing 1, 2, 3, ... over the range
};

// A 4-frame sample holding 10, 20, 30, 40.
const SRange kRanges[] = {
    {0, 4, 4, {10, 20, 30, 40}, {1, 2, 3, 4}},
    {1, 2, 2, {20, 30}, {10, 1, 2, 40}},
    {-2, 4, 2, {0, 0, 10, 20}, {3, 4, 30, 40}},          // the first two entries lie before frame 0
    {2, 4, 2, {30, 40, 0, 0}, {10, 20, 1, 2}},           // the last two lie past the end
    {-1, 6, 4, {0, 10, 20, 30, 40, 0}, {2, 3, 4, 5}},    // over both ends
    {4, 2, 0, {0, 0}, {10, 20, 30, 40}},                 // wholly after
    {-3, 2, 0, {0, 0}, {10, 20, 30, 40}},                // wholly before
    {std::numeric_limits<int32_t>::max() - 1, 3, 0, {0, 0, 0}, {10, 20, 30, 40}},  // start + count overflows 32 bits
    {std::numeric_limits<int32_t>::min(), 3, 0, {0, 0, 0}, {10, 20, 30, 40}},
    {1, 0, 0, {}, {10, 20, 30, 40}},
    {1, -5, 0, {}, {10, 20, 30, 40}},
};

template <class TSample>
TSample MakeFourFrames(bool stereo) {
    TSample sample(44100, 4, stereo);
    for (int32_t frame = 0; frame < 4; ++frame) sample.Set16(frame, int16_t(10 * (frame + 1)), 1);
    return sample;
}

TYPED_TEST(WaveSampleOfEitherDepth, RangesAreCutToTheSample) {
    for (const SRange& row : kRanges) {
        SCOPED_TRACE(testing::Message() << "start " << row.fStart << " count " << row.fCount);
        const size_t entries = row.fRead.size();
        // Exactly `count` entries on the heap, so a write past them is caught by the sanitizer.
        auto out = std::make_unique<int16_t[]>(entries + 1);
        std::fill(out.get(), out.get() + entries + 1, int16_t(99));
        const TypeParam sample = MakeFourFrames<TypeParam>(false);
        EXPECT_EQ(sample.Get16s(row.fStart, row.fCount, out.get(), 1), row.fHandled);
        EXPECT_EQ(std::vector<int16_t>(out.get(), out.get() + entries), row.fRead);
        EXPECT_EQ(out[entries], 99);

        TypeParam written = MakeFourFrames<TypeParam>(false);
        auto in = std::make_unique<int16_t[]>(std::max<size_t>(entries, 1));
        for (size_t i = 0; i < entries; ++i) in[i] = int16_t(i + 1);
        EXPECT_EQ(written.Set16s(row.fStart, row.fCount, in.get(), 1), row.fHandled);
        std::vector<int16_t> after(4);
        written.Get16s(0, 4, after.data(), 1);
        EXPECT_EQ(after, row.fWritten);
    }
}

TYPED_TEST(WaveSampleOfEitherDepth, InterleavedRangesAreCutToTheSample) {
    TypeParam sample = MakeFourFrames<TypeParam>(true);
    sample.Set16(3, -40, 2);
    auto out = std::make_unique<int16_t[]>(6);
    EXPECT_EQ(sample.GetInterleaved16(2, 3, out.get()), 2);
    EXPECT_EQ(std::vector<int16_t>(out.get(), out.get() + 6), (std::vector<int16_t>{30, 0, 40, -40, 0, 0}));
    const int16_t in[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(sample.SetInterleaved16(-2, 3, in), 1);  // only the third pair lands, on frame 0
    EXPECT_EQ(sample.Get16(0, 1), 5);
    EXPECT_EQ(sample.Get16(0, 2), 6);
    EXPECT_EQ(sample.Get16(1, 1), 20);
}

TYPED_TEST(WaveSampleOfEitherDepth, FramesAndChannelsOutsideTheSampleAreRefused) {
    TypeParam sample = MakeFourFrames<TypeParam>(false);
    for (int32_t frame : {-1, 4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        sample.Set16(frame, 1, 1);
        sample.SetFloat(frame, 1.0f, 1);
        sample.Set24(frame, 1, 1);
        sample.Set24AsFloat(frame, 1.0f, 1);
        EXPECT_EQ(sample.Get16(frame, 1), 0);
        EXPECT_EQ(sample.GetFloat(frame, 1), 0.0f);
        EXPECT_EQ(sample.Get24(frame, 1), 0);
        EXPECT_EQ(sample.Get24AsFloat(frame, 1), 0.0f);
    }
    // Channel 2 of a mono sample, and channels that do not exist.
    for (int32_t channel : {2, 0, 3, -1}) {
        SCOPED_TRACE(channel);
        sample.Set16(0, 77, channel);
        EXPECT_EQ(sample.Get16(0, channel), 0);
        const int16_t in[2] = {5, 5};
        EXPECT_EQ(sample.Set16s(0, 2, in, channel), 0);
        int16_t out[2] = {9, 9};
        EXPECT_EQ(sample.Get16s(0, 2, out, channel), 0);
        EXPECT_EQ(out[0], 0);
        EXPECT_EQ(out[1], 0);
    }
    std::vector<int16_t> after(4);
    sample.Get16s(0, 4, after.data(), 1);
    EXPECT_EQ(after, (std::vector<int16_t>{10, 20, 30, 40}));
}

TYPED_TEST(WaveSampleOfEitherDepth, MarkedStereoWithoutASecondBufferReadsSilence) {
    TypeParam sample = MakeFourFrames<TypeParam>(false);
    sample.SetStereo(true);
    sample.Set16(0, 5, 2);
    EXPECT_EQ(sample.Get16(0, 2), 0);
    int16_t pairs[8];
    EXPECT_EQ(sample.GetInterleaved16(0, 4, pairs), 4);
    EXPECT_EQ(pairs[0], 10);
    EXPECT_EQ(pairs[1], 0);
    sample.BuildPreview();
    EXPECT_EQ(sample.FindZeroCrossing(1), 1);  // channel 1 holds 20 (quiet) and channel 2 reads 0
}

TYPED_TEST(WaveSampleOfEitherDepth, CopyIsDeepIncludingThePreview) {
    TypeParam original(44100, 256, true);
    original.Set16(10, 1000, 1);
    original.Set16(20, -1000, 2);
    original.SetLocators(2, 5, 200);
    original.BuildPreview();

    TypeParam copy(original);
    EXPECT_EQ(copy.GetLoopKind(), 2);
    EXPECT_TRUE(copy.IsLoopSet());
    EXPECT_EQ(copy.GetLeftLocator(), 5);
    EXPECT_EQ(copy.GetRightLocator(), 200);
    ASSERT_TRUE(copy.HasPreview());
    ASSERT_NE(copy.GetPreview(), original.GetPreview());
    EXPECT_EQ(copy.GetPreview()->GetBlockCount(), 4);
    EXPECT_EQ(copy.GetPreview()->GetMaximum(0, 1), 1000);
    EXPECT_EQ(copy.GetPreview()->GetMinimum(0, 2), -1000);

    copy.Set16(10, 1, 1);
    copy.Set16(20, 2, 2);
    copy.BuildPreview();
    EXPECT_EQ(original.Get16(10, 1), 1000);
    EXPECT_EQ(original.Get16(20, 2), -1000);
    EXPECT_EQ(original.GetPreview()->GetMaximum(0, 1), 1000);
}

TYPED_TEST(WaveSampleOfEitherDepth, AddChannelFromPlacesTheOtherSamplesFirstChannel) {
    TypeParam added(44100, 3, false);
    added.Set16(0, 7, 1);

    TypeParam asSecond(44100, 3, false);
    asSecond.Set16(0, 1, 1);
    asSecond.AddChannelFrom(added, 2);
    EXPECT_TRUE(asSecond.IsStereo());
    EXPECT_EQ(asSecond.Get16(0, 1), 1);
    EXPECT_EQ(asSecond.Get16(0, 2), 7);

    TypeParam asFirst(44100, 3, false);
    asFirst.Set16(0, 1, 1);
    asFirst.AddChannelFrom(added, 1);
    EXPECT_TRUE(asFirst.IsStereo());
    EXPECT_EQ(asFirst.Get16(0, 1), 7);
    EXPECT_EQ(asFirst.Get16(0, 2), 1);

    // The new channel is a copy: the source can change afterwards.
    added.Set16(0, 8, 1);
    EXPECT_EQ(asSecond.Get16(0, 2), 7);
}

TEST(WaveSampleAddChannel, RefusesAnotherClassLengthOrChannel) {
    C16BitWaveSample sample(44100, 3, false);
    sample.Set16(0, 1, 1);
    const C24BitWaveSample otherClass(44100, 3, false);
    const C16BitWaveSample otherLength(44100, 4, false);
    const C16BitWaveSample fine(44100, 3, false);
    EXPECT_THROW(sample.AddChannelFrom(otherClass, 2), NSMishap::XStdInvalidArgument);
    EXPECT_THROW(sample.AddChannelFrom(otherLength, 2), NSMishap::XStdInvalidArgument);
    EXPECT_THROW(sample.AddChannelFrom(fine, 3), NSMishap::XStdInvalidArgument);
    EXPECT_FALSE(sample.IsStereo());
    EXPECT_EQ(sample.Get16(0, 1), 1);
}

// Buffers below and from 4 MiB are laid out differently (the large ones on 2 MiB boundaries):
// each starts zeroed, keeps its first and last frame, and copies whole.
TEST(WaveSampleBuffers, LargeAndSmallBuffersStartZeroedAndCopyWhole) {
    struct SRow {
        int32_t fDepth;
        int32_t fFrames;
    };
    // 4 MiB is 2097152 16-bit values or 1048576 24-bit ones.
    const SRow rows[] = {{16, 2097151}, {16, 2097152}, {16, 3000001}, {24, 1048575}, {24, 1048576}, {24, 1}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.fDepth) + "-bit, " + std::to_string(row.fFrames) + " frames");
        std::unique_ptr<CABCWaveSample> sample;
        if (row.fDepth == 24) {
            sample = std::make_unique<C24BitWaveSample>(44100, row.fFrames, true);
        } else {
            sample = std::make_unique<C16BitWaveSample>(44100, row.fFrames, true);
        }
        std::vector<int32_t> values(size_t(row.fFrames));
        for (int32_t channel = 1; channel <= 2; ++channel) {
            sample->Get24s(0, row.fFrames, values.data(), channel);
            EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](int32_t v) { return v == 0; }));
        }
        const int32_t last = row.fFrames - 1;
        sample->Set24(0, -8388608, 1);
        sample->Set24(last, 8388352, 2);  // 0x7fff00, exact at both depths
        std::unique_ptr<CABCWaveSample> copy;
        if (row.fDepth == 24) {
            copy = std::make_unique<C24BitWaveSample>(static_cast<const C24BitWaveSample&>(*sample));
        } else {
            copy = std::make_unique<C16BitWaveSample>(static_cast<const C16BitWaveSample&>(*sample));
        }
        for (const CABCWaveSample* each : {sample.get(), copy.get()}) {
            EXPECT_EQ(each->Get24(0, 1), -8388608);
            EXPECT_EQ(each->Get24(last, 2), 8388352);
            if (last > 0) {
                EXPECT_EQ(each->Get24(last, 1), 0);
                EXPECT_EQ(each->Get24(0, 2), 0);
            }
        }
    }
}

}  // namespace
}  // namespace NSQuillet
