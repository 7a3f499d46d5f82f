#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/FloatBlockConversion.h"
#include "engine/SampleConversion.h"

namespace NSQuillet {
namespace {

using namespace NSSampleConversion;

float FloatOfBits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(FloatBlockConversion, RoundsHalvesAwayClampsAndZeroesNaN) {
    struct SCase {
        float fValue;
        int16_t f16;
        int32_t f24;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const SCase cases[] = {
        {0.5f, 16384, 4194304},                         // 16383.5 and 4194303.5 round away from zero
        {-0.5f, -16384, -4194304},
        {0.5f - 0x1p-25f, 16383, 4194303},              // 16383.5 - 32767 × 2^-25 ≈ 16383.499; 24 bits: 4194303.25
        {1.0f, 32767, 8388607},                         // full scale is 32767, 8388607
        {-1.0f, -32767, -8388607},
        {2.0f, 32767, 8388607},                         // clamped high
        {-1.5f, -32768, -8388608},                      // -49150.5 and -12582910.5 clamped low
        {infinity, 32767, 8388607},
        {-infinity, -32768, -8388608},
        {nan, 0, 0},
        {-0.0f, 0, 0},
        {1e-30f, 0, 0},                                 // far below half a step
        {-1e-30f, 0, 0},
        {std::numeric_limits<float>::denorm_min(), 0, 0},
        {0x1p-16f, 0, 128},                             // 32767 / 65536 ≈ 0.49999 -> 0; 8388607 / 65536 ≈ 127.99998 -> 128
        {3.0f * 0x1p-16f, 1, 384},                      // 1.49995 -> 1; 383.99995 -> 384
    };
    // Blocks of every length up to two vector widths and a tail, so the case lands in the
    // vector part and in the scalar tail.
    for (const SCase& c : cases) {
        for (int32_t length = 1; length <= 19; ++length) {
            std::vector<float> in(size_t(length), c.fValue);
            std::vector<int16_t> out16(size_t(length), 99);
            std::vector<int32_t> out24(size_t(length), 99);
            ScaleRoundClamp16(in.data(), out16.data(), length);
            ScaleRoundClamp24(in.data(), out24.data(), length);
            for (int32_t i = 0; i < length; ++i) {
                EXPECT_EQ(out16[size_t(i)], c.f16) << c.fValue << " at " << i << " of " << length;
                EXPECT_EQ(out24[size_t(i)], c.f24) << c.fValue << " at " << i << " of " << length;
            }
        }
    }
}

TEST(FloatBlockConversion, MatchesTheSingleValueConversionOnSpreadBitPatterns) {
    // Every 251st bit pattern of all floats: all exponents, both signs, NaNs and infinities;
    // each block starts one float later than the last, so no alignment is assumed.
    constexpr int32_t kBlock = 4099;
    std::vector<float> in(size_t(kBlock) + 1);
    std::vector<int16_t> out16(static_cast<size_t>(kBlock));
    std::vector<int32_t> out24(static_cast<size_t>(kBlock));
    uint64_t bits = 0;
    int32_t offset = 0;
    int64_t mismatches = 0;
    while (bits < (uint64_t(1) << 32)) {
        for (float& value : in) {
            value = FloatOfBits(uint32_t(bits));
            bits += 251;
        }
        offset = 1 - offset;
        ScaleRoundClamp16(in.data() + offset, out16.data(), kBlock);
        ScaleRoundClamp24(in.data() + offset, out24.data(), kBlock);
        for (int32_t i = 0; i < kBlock; ++i) {
            const float value = in[size_t(i + offset)];
            mismatches += out16[size_t(i)] != int16_t(ScaleRoundClamp(value, 32767.0, kMinimum16, kMaximum16));
            mismatches += out24[size_t(i)] != ScaleRoundClamp(value, 8388607.0, kMinimum24, kMaximum24);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(FloatBlockConversion, SetFloatsWritesOnlyTheFramesInside) {
    // A range hanging over both ends of a 10-frame sample writes frames 0..9 from entries 3..12.
    std::vector<float> in(16);
    for (size_t i = 0; i < in.size(); ++i) in[i] = float(i) * 0.0625f;  // entry i is i/16
    C16BitWaveSample sixteen(44100, 10, true);
    C24BitWaveSample twentyFour(44100, 10, false);
    EXPECT_EQ(sixteen.SetFloats(-3, 16, in.data(), 2), 10);
    EXPECT_EQ(twentyFour.SetFloats(-3, 16, in.data(), 1), 10);
    // Frame f holds n/16 with n = f + 3: n × 2047.9375 and n × 524287.9375 rounded, the
    // fraction 1 - n/16 rounding up to n × 2048 (n × 524288) up to the half at n = 8.
    const int16_t expected16[] = {6144, 8192, 10240, 12288, 14336, 16384, 18431, 20479, 22527, 24575};
    const int32_t expected24[] = {1572864, 2097152, 2621440, 3145728, 3670016,
                                  4194304, 4718591, 5242879, 5767167, 6291455};
    for (int32_t frame = 0; frame < 10; ++frame) {
        EXPECT_EQ(sixteen.Get16(frame, 2), expected16[frame]) << frame;
        EXPECT_EQ(sixteen.Get16(frame, 1), 0) << frame;
        EXPECT_EQ(twentyFour.Get24(frame, 1), expected24[frame]) << frame;
    }
}

}  // namespace
}  // namespace NSQuillet
