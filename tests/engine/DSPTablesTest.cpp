#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "engine/DSPTables.h"
#include "engine/DSPTablesCache.h"

namespace NSQuillet {
namespace {

constexpr int32_t kLast = CDSPTables::kTableSize - 1;

TEST(DSPTables, TimeTableRunsFromATenthOfAMillisecondToAboutFiftyFiveSeconds) {
    const CDSPTables tables(44100);
    // 1.1^0 × 4 − 3.9
    EXPECT_EQ(tables.GetTime(0), 0.1f);
    // 1.1^(102300/1024) × 4 − 3.9 = e^9.52171 × 4 − 3.9 ≈ 54607.9 ms
    EXPECT_NEAR(tables.GetTime(kLast), 54607.9f, 0.1f);
    // 1.1^(60000/1024) × 4 − 3.9 = e^5.58458 × 4 − 3.9 ≈ 1061.25 ms
    EXPECT_NEAR(tables.GetTime(600), 1061.25f, 0.01f);
    for (int32_t i = 1; i < CDSPTables::kTableSize; ++i) ASSERT_GT(tables.GetTime(i), tables.GetTime(i - 1)) << i;
    // Indexes outside 0..1023 are clamped.
    EXPECT_EQ(tables.GetTime(-5), tables.GetTime(0));
    EXPECT_EQ(tables.GetTime(5000), tables.GetTime(kLast));
}

struct SRateRow {
    uint32_t fRate;
    uint32_t fBoundRate;
    double fBlockMilliseconds;
};

TEST(DSPTables, RiseAndFallReachOneAndAQuarterInTheTableTime) {
    const SRateRow rows[] = {
        {44100, 44100, 64000.0 / 44100},       // 1.4512 ms per block
        {48000, 48000, 64000.0 / 48000},       // 1.3333 ms
        {96000, 96000, 64000.0 / 96000},       // 0.6667 ms
        {8000, 11025, 64000.0 / 11025},        // clamped up to 11025
        {2000000, 1000000, 64000.0 / 1000000}, // clamped down to 1000000
    };
    for (const SRateRow& row : rows) {
        SCOPED_TRACE(row.fRate);
        const CDSPTables tables(row.fRate);
        EXPECT_EQ(tables.GetOutputRate(), row.fBoundRate);
        for (int32_t i : {0, 1, 21, 193, 350, 600, 1022}) {
            SCOPED_TRACE(i);
            const double blocks = tables.GetTime(i) / row.fBlockMilliseconds;
            EXPECT_NEAR(tables.GetRise(i) * blocks, 1.0, 1e-5);
            // Stored as float, a factor near 1 is off by up to half a unit of 2^-24: over `blocks`
            // blocks that moves the quarter by up to 0.25 × ln 4 × blocks × 2^-25.
            const double tolerance = 0.25 * 1.3863 * blocks * 2.98e-8 + 1e-6;
            EXPECT_NEAR(std::pow(double(tables.GetFall(i)), blocks), 0.25, tolerance);
        }
        EXPECT_EQ(tables.GetFall(kLast), 1.0f);
        EXPECT_LT(tables.GetFall(kLast - 1), 1.0f);
    }
    // At 44100 Hz: R[0] = (64000 / 44100) / 0.1 = 14.51247; F[0] = 0.25^14.51247 = 1.8e-9.
    const CDSPTables tables(44100);
    EXPECT_NEAR(tables.GetRise(0), 14.51247f, 1e-4f);
    EXPECT_NEAR(tables.GetFall(0), 1.8e-9f, 0.1e-9f);
}

TEST(DSPTablesCache, SharesOneTableSetPerClampedRate) {
    const CDSPTables* first = CDSPTablesCache::Get(48000);
    EXPECT_EQ(CDSPTablesCache::Get(48000), first);
    EXPECT_EQ(first->GetOutputRate(), 48000u);
    EXPECT_NE(CDSPTablesCache::Get(44100), first);
    EXPECT_EQ(CDSPTablesCache::Get(5000), CDSPTablesCache::Get(11025));
    EXPECT_EQ(CDSPTablesCache::Get(4000000), CDSPTablesCache::Get(1000000));
}

TEST(DSPTablesCache, ThreadsAskingAtOnceGetTheSameTables) {
    constexpr int32_t kThreads = 8;
    std::vector<const CDSPTables*> seen(kThreads);
    std::vector<std::thread> threads;
    for (int32_t t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &seen] { seen[size_t(t)] = CDSPTablesCache::Get(37000 + uint32_t(t % 2)); });
    for (std::thread& thread : threads) thread.join();
    for (int32_t t = 0; t < kThreads; ++t) EXPECT_EQ(seen[size_t(t)], CDSPTablesCache::Get(37000 + uint32_t(t % 2)));
    EXPECT_NE(seen[0], seen[1]);
}

struct SPitchRow {
    int32_t fIndex;
    int32_t fStep;
};

TEST(DSPTables, PitchTableGivesTheStepInSixteenThousandthsOfAFrame) {
    const SPitchRow rows[] = {
        {12900, 16384},         // 0 cents: unchanged speed
        {12900 + 1200, 32768},  // an octave up doubles the step
        {12900 - 1200, 8192},   // an octave down halves it
        {12900 + 2400, 65536},  // two octaves
        {12900 + 100, 17358},   // 16384 × 2^(1/12) = 17358.24
        {0, 10},                // 16384 × 2^(−10.75) = 9.51
        {19199, 623127},        // 16384 × 2^(6299/1200) = 623127.4
    };
    const int32_t* table = CDSPTables::GetPitchTable();
    for (const SPitchRow& row : rows) EXPECT_EQ(table[row.fIndex], row.fStep) << row.fIndex;
    EXPECT_EQ(CDSPTables::GetPitchStep(0), 16384);
    EXPECT_EQ(CDSPTables::GetPitchStep(-1200), 8192);
    EXPECT_EQ(CDSPTables::GetPitchStep(-32768), 10);      // index clamped to 0
    EXPECT_EQ(CDSPTables::GetPitchStep(32767), 623127);   // index clamped to 19199
    EXPECT_EQ(CDSPTables::GetPitchTable(), table);
}

TEST(DSPTables, EveryInterpolationPhaseSumsToExactlyOneInFloat) {
    const float* table = CDSPTables::GetInterpolationTable();
    for (int32_t p = 0; p < CDSPTables::kInterpolationPhases; ++p) {
        const float* row = table + p * CDSPTables::kInterpolationTaps;
        float sum = 0.0f;
        for (int32_t k = 0; k < CDSPTables::kInterpolationTaps; ++k) sum += row[k];
        ASSERT_EQ(sum, 1.0f) << "phase " << p;
    }
}

TEST(DSPTables, InterpolationPassesPhaseZeroUnchangedAndIsSymmetric) {
    const float* table = CDSPTables::GetInterpolationTable();
    const float identity[] = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(table[k], identity[k]) << k;
    // Row p reads the point 2 + p/256, row 256 − p the point 3 − p/256: mirror images.
    for (int32_t p = 1; p < 256; ++p)
        for (int32_t k = 0; k < 6; ++k)
            ASSERT_NEAR(table[p * 6 + k], table[(256 - p) * 6 + (5 - k)], 1e-6f) << p << " " << k;
}

TEST(DSPTables, InterpolationFollowsASlowSineAtEveryPhase) {
    // 0.02 cycles per frame lies well inside the six-tap passband.
    const float* table = CDSPTables::GetInterpolationTable();
    const double omega = 2.0 * 3.14159265358979323846 * 0.02;
    for (int32_t p = 0; p < 256; ++p) {
        double value = 0.0;
        for (int32_t k = 0; k < 6; ++k) value += table[p * 6 + k] * std::sin(omega * k + 0.3);
        ASSERT_NEAR(value, std::sin(omega * (2.0 + p / 256.0) + 0.3), 0.01) << p;
    }
}

}  // namespace
}  // namespace NSQuillet
