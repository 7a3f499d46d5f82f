#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/DSPTables.h"
#include "engine/SampleRateConverter.h"
#include "tests/engine/AllocationFaults.h"

namespace NSQuillet {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct SStepRow {
    uint32_t fSource;
    uint32_t fTarget;
    int64_t fStep;
};

TEST(SampleRateConverter, StepIsTheTruncatedRatioInNineteenFractionBitsCappedAtTwoToTheTwentyFifth) {
    const SStepRow rows[] = {
        {44100, 48000, 481689},      // 524288 × 44100 / 48000 = 481689.6
        {48000, 44100, 570653},      // 524288 × 48000 / 44100 = 570653.605…
        {44100, 44100, 524288},      // equal rates: exactly one frame
        {11025, 96000, 60211},       // 524288 × 11025 / 96000 = 60211.2
        {96000, 11025, 4565228},     // 524288 × 96000 / 11025 = 4565228.84…
        {1000000, 11025, 33554432},  // 47554467.1… is above 2^25
        {2000000, 8000, 33554432},   // both rates clamped first: 1000000 → 11025
        {8000, 22050, 262144},       // 8000 clamps to 11025: 524288 / 2
    };
    for (const SStepRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fSource << " -> " << row.fTarget);
        EXPECT_EQ(CSampleRateConverter::ComputeStep(row.fSource, row.fTarget), row.fStep);
    }
}

struct SFrameRow {
    int64_t fFrames;
    int64_t fStep;
    int64_t fOutputLength;
    int64_t fMapped;
};

TEST(SampleRateConverter, LengthAndFrameMapFollowTheTruncatedStep) {
    const SFrameRow rows[] = {
        // 44100 × 524288 / 481689 = 48000.0598: one more frame than the exact ratio gives.
        {44100, 481689, 48001, 48000},
        // 48000 × 524288 / 570653 = 44100.0468.
        {48000, 570653, 44101, 44100},
        // 1000 × 524288 / 481689 = 1088.437; 1000 × 524288 / 570653 = 918.751 rounds up.
        {1000, 481689, 1089, 1088},
        {1000, 570653, 919, 919},
        // Equal rates keep every frame where it is.
        {12345, 524288, 12345, 12345},
        // 100 × 524288 / 60211 = 870.751.
        {100, 60211, 871, 871},
        // One frame still gives one output frame; an empty source gives none.
        {1, 33554432, 1, 0},
        {0, 481689, 0, 0},
    };
    for (const SFrameRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fFrames << " frames, step " << row.fStep);
        EXPECT_EQ(CSampleRateConverter::ComputeOutputLength(row.fFrames, row.fStep), row.fOutputLength);
        EXPECT_EQ(CSampleRateConverter::MapSourceFrame(row.fFrames, row.fStep), row.fMapped);
    }
}

struct SFilterRow {
    uint32_t fSource;
    uint32_t fTarget;
    int32_t fStride;
    float fCentre;
    std::vector<float> fSides;
};

// Expected taps from the rule: shape(d) = (0.54 − 0.46 cos(2π(768 + d)/1536)) × sinc(πd/256),
// side tap k at d = k × stride while d < 768, all divided by |centre| + 2 × (Σ|side| + 1e-6
// for each of the 15 taps that lies off the shape).
TEST(SampleRateConverter, AntiAliasFilterSamplesTheShapeAtTheStrideAndNormalisesByTheAbsoluteSum) {
    const SFilterRow rows[] = {
        // Down 48000 → 44100: stride trunc(235.2) = 235; taps at 235, 470, 705 (940 is off):
        // 0.0709951, −0.0326013, 0.0076840; norm = 1 + 2 × (0.1112804 + 12e-6) = 1.2225847.
        {48000, 44100, 235, 0.8179392f, {0.0580696f, -0.0266659f, 0.0062850f}},
        // Up 44100 → 48000: trunc(278.6) is capped at 256; taps at 256 and 512 are sinc zeros;
        // norm = 1 + 2 × 13e-6 = 1.000026.
        {44100, 48000, 256, 0.9999740f, {0.0f, 0.0f}},
        // Down 88200 → 44100: stride 128, taps at 128..640 (5), 10 off the shape:
        // 0.5973860, 0, −0.1145916, 0, 0.0180327; norm = 2.4600404.
        {88200, 44100, 128, 0.4064974f, {0.2428358f, 0.0f, -0.0465812f, 0.0f, 0.0073302f}},
        // Down 96000 → 11025: stride trunc(29.4) = 29; all 15 taps on the shape
        // (15 × 29 = 435); norm = 11.2212338.
        {96000, 11025, 29, 0.0891168f,
         {0.0869654f, 0.0807266f, 0.0710178f, 0.0587777f, 0.0451463f, 0.0313220f, 0.0184184f, 0.0073412f,
          -0.0012998f, -0.0072307f, -0.0105067f, -0.0114598f, -0.0106160f, -0.0085961f, -0.0060171f}},
    };
    const C16BitWaveSample source(44100, 16, false);
    for (const SFilterRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fSource << " -> " << row.fTarget);
        const CSampleRateConverter converter(source, 1, row.fSource, row.fTarget);
        EXPECT_EQ(converter.GetStride(), row.fStride);
        EXPECT_NEAR(converter.GetCentreCoefficient(), row.fCentre, 2e-7);
        ASSERT_EQ(converter.GetSideTapCount(), int32_t(row.fSides.size()));
        for (int32_t k = 1; k <= converter.GetSideTapCount(); ++k)
            EXPECT_NEAR(converter.GetSideCoefficient(k), row.fSides[size_t(k - 1)], 2e-7) << "tap " << k;
    }
}

TEST(SampleRateConverter, FilterShapeIsTheWindowedSincOfTheInterpolationTable) {
    const float* shape = CDSPTables::GetFilterShapeTable();
    EXPECT_EQ(shape[CDSPTables::kFilterShapeCentre], 1.0f);
    // Whole sample periods are the sinc's zeros.
    for (int32_t d : {256, 512, -256, -512, -768}) EXPECT_EQ(shape[768 + d], 0.0f) << d;
    // d = 128: (0.54 − 0.46 cos(2π × 896/1536)) × sin(π/2)/(π/2) = 0.9383 × 0.63662 = 0.597386.
    EXPECT_NEAR(shape[768 + 128], 0.5973860f, 1e-6);
    for (int32_t d = 1; d < 768; ++d) ASSERT_EQ(shape[768 + d], shape[768 - d]) << d;
    // Row p of the interpolation table takes, before its correction by equal shares, the shape
    // at d = (2 − k) × 256 + p for tap k: row 128's middle taps are the shape at ±128.
    const float* row = CDSPTables::GetInterpolationTable() + 128 * CDSPTables::kInterpolationTaps;
    EXPECT_NEAR(row[2] - row[3], shape[768 + 128] - shape[768 - 128], 1e-6);
    EXPECT_NEAR(row[1] - row[4], shape[768 + 384] - shape[768 - 384], 1e-6);
}

std::unique_ptr<C16BitWaveSample> MakeNoise(int32_t frames, uint32_t rate) {
    auto sample = std::make_unique<C16BitWaveSample>(rate, frames, false);
    uint32_t state = 12345;
    for (int32_t frame = 0; frame < frames; ++frame) {
        state = state * 1664525u + 1013904223u;
        sample->Set16(frame, int16_t(state >> 16), 1);
    }
    return sample;
}

std::vector<float> ReadAll(CSampleRateConverter& converter, int64_t frames) {
    std::vector<float> out(static_cast<size_t>(frames));
    converter.Read(out.data(), int32_t(frames));
    return out;
}

TEST(SampleRateConverter, EqualRatesScaleEveryFrameByTheCentreCoefficientOnly) {
    const auto source = MakeNoise(1000, 44100);
    CSampleRateConverter converter(*source, 1, 44100, 44100);
    ASSERT_EQ(converter.GetOutputLength(), 1000);
    // 1 / (1 + 2 × 13 × 0.000001): the thirteen taps off the shape cost 0.000226 dB.
    EXPECT_NEAR(converter.GetCentreCoefficient(), 0.9999740f, 1e-7);
    const std::vector<float> out = ReadAll(converter, 1000);
    for (int32_t frame = 0; frame < 1000; ++frame)
        ASSERT_FLOAT_EQ(out[size_t(frame)], converter.GetCentreCoefficient() * source->GetFloat(frame, 1)) << frame;
}

struct SRateRow {
    uint32_t fSource;
    uint32_t fTarget;
};

const SRateRow kRates[] = {{44100, 48000}, {48000, 44100}, {44100, 44100}, {96000, 11025},
                           {11025, 96000}, {22050, 32000}, {1000000, 11025}};

TEST(SampleRateConverter, AnyReadPatternGivesTheSameFramesAsOneRead) {
    const auto source = MakeNoise(5000, 44100);
    const int32_t chunkRows[][4] = {{1, 1, 1, 1}, {63, 64, 65, 1}, {64, 64, 64, 64}, {1000, 7, 130, 3}};
    for (const SRateRow& rate : kRates) {
        SCOPED_TRACE(testing::Message() << rate.fSource << " -> " << rate.fTarget);
        CSampleRateConverter whole(*source, 1, rate.fSource, rate.fTarget);
        const int64_t frames = whole.GetOutputLength() + 100;
        const std::vector<float> expected = ReadAll(whole, frames);
        for (const auto& chunks : chunkRows) {
            CSampleRateConverter pieces(*source, 1, rate.fSource, rate.fTarget);
            std::vector<float> out(static_cast<size_t>(frames));
            int64_t done = 0;
            for (int32_t turn = 0; done < frames; ++turn) {
                const int32_t count = int32_t(std::min<int64_t>(chunks[turn % 4], frames - done));
                pieces.Read(out.data() + done, count);
                done += count;
            }
            ASSERT_EQ(out, expected) << "chunks from " << chunks[0];
            EXPECT_EQ(pieces.GetPeak(), whole.GetPeak());
        }
    }
}

TEST(SampleRateConverter, ReadingNeverAllocates) {
    const auto source = MakeNoise(20000, 44100);
    std::vector<float> out(30000);
    for (const SRateRow& rate : kRates) {
        SCOPED_TRACE(testing::Message() << rate.fSource << " -> " << rate.fTarget);
        CSampleRateConverter converter(*source, 1, rate.fSource, rate.fTarget);
        const size_t before = NSQuilletTest::GetThreadAllocationCount();
        for (int32_t count : {1, 64, 1000, 5000, 23935}) converter.Read(out.data(), count);
        EXPECT_EQ(NSQuilletTest::GetThreadAllocationCount(), before);
    }
}

TEST(SampleRateConverter, AClickComesOutAtTheMappedFrame) {
    constexpr int32_t kClick = 1000;
    auto source = std::make_unique<C24BitWaveSample>(44100, 4000, false);
    source->Set24(kClick, 8388607, 1);
    // Not the capped step: 64 frames per output frame leave most source frames unread.
    for (const SRateRow& rate : {SRateRow{44100, 48000}, SRateRow{48000, 44100}, SRateRow{44100, 44100},
                                 SRateRow{96000, 11025}, SRateRow{11025, 96000}, SRateRow{22050, 32000}}) {
        SCOPED_TRACE(testing::Message() << rate.fSource << " -> " << rate.fTarget);
        CSampleRateConverter converter(*source, 1, rate.fSource, rate.fTarget);
        const std::vector<float> out = ReadAll(converter, converter.GetOutputLength());
        const auto loudest = std::max_element(out.begin(), out.end(), [](float a, float b) {
            return std::fabs(a) < std::fabs(b);
        });
        const int64_t expected = CSampleRateConverter::MapSourceFrame(kClick, converter.GetStep());
        // The click lies between two output frames when the rate rises; either may be louder.
        EXPECT_LE(std::llabs(int64_t(loudest - out.begin()) - expected), 1);
    }
}

TEST(SampleRateConverter, PeakCountsOnlyFramesReadAndComesBeforeTheGain) {
    // Silent up to frame 70, half scale after it: the first 66 frames read are silent even
    // though the second block already holds the loud frames.
    auto source = std::make_unique<C16BitWaveSample>(44100, 200, false);
    for (int32_t frame = 70; frame < 200; ++frame) source->Set16(frame, 16384, 1);
    CSampleRateConverter converter(*source, 1, 44100, 44100);
    std::vector<float> out(200);
    converter.Read(out.data(), 66);
    EXPECT_EQ(converter.GetPeak(), 0.0f);

    converter.SetOutputGain(0.25f);
    converter.Read(out.data() + 66, 134);
    const float loud = converter.GetCentreCoefficient() * 0.5f;
    EXPECT_FLOAT_EQ(converter.GetPeak(), loud);
    EXPECT_EQ(out[65], 0.0f);
    EXPECT_FLOAT_EQ(out[100], loud * 0.25f);
}

TEST(SampleRateConverter, FramesOutsideTheSourceReadAsTheFloorValue) {
    // An empty source reads 0.000001 everywhere; at equal rates that comes out scaled by the
    // centre tap (the taps on the shape are sinc zeros there).
    const C16BitWaveSample empty(44100, 0, false);
    CSampleRateConverter converter(empty, 1, 44100, 44100);
    EXPECT_EQ(converter.GetOutputLength(), 0);
    float out[10];
    converter.Read(out, 10);
    for (float value : out) EXPECT_FLOAT_EQ(value, 0.000001f * converter.GetCentreCoefficient());
}

// Root mean square of one tone after the converter, over the middle of the output.
double ToneLevel(double frequency, uint32_t sourceRate, uint32_t targetRate) {
    constexpr int32_t kFrames = 20000;
    auto source = std::make_unique<C24BitWaveSample>(sourceRate, kFrames, false);
    for (int32_t frame = 0; frame < kFrames; ++frame)
        source->Set24(frame, int32_t(4000000.0 * std::sin(2.0 * kPi * frequency * frame / sourceRate)), 1);
    CSampleRateConverter converter(*source, 1, sourceRate, targetRate);
    const std::vector<float> out = ReadAll(converter, converter.GetOutputLength());
    double sum = 0.0;
    const size_t from = out.size() / 4;
    const size_t to = out.size() * 3 / 4;
    for (size_t i = from; i < to; ++i) sum += double(out[i]) * out[i];
    return std::sqrt(sum / double(to - from));
}

TEST(SampleRateConverter, DownConversionDampsTonesAboveTheNewNyquistFrequency) {
    // 96000 → 22050: stride 58, thirteen taps. A 1 kHz tone keeps most of its level; one at
    // 30 kHz, which would fold to 7950 Hz, is damped well below it.
    const double pass = ToneLevel(1000.0, 96000, 22050);
    const double stop = ToneLevel(30000.0, 96000, 22050);
    EXPECT_GT(pass, 0.2);
    EXPECT_LT(stop, pass * 0.1);
}

}  // namespace
}  // namespace NSQuillet
