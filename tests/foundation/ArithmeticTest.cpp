#include <gtest/gtest.h>

#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"

using namespace NSQuillet;

TEST(MulDiv, TruncatesTowardZeroAndRoundsUpTowardPositiveInfinity) {
    struct SCase {
        int64_t fValue, fMultiplier, fDivisor, fTruncated, fRoundedUp;
    } cases[] = {
        {7, 1, 2, 3, 4},            // 3.5
        {-7, 1, 2, -3, -3},         // -3.5: toward zero -3, ceiling -3
        {7, -1, 2, -3, -3},
        {-7, -1, 2, 3, 4},          // 3.5
        {1, 32767, 99, 330, 331},   // 32767 / 99 = 330.97
        {99, 32767, 99, 32767, 32767},
        {6, 4, 3, 8, 8},            // exact
        {44100, 130000, 120000, 47775, 47775},  // 5733000000 / 120000 = 47775 exactly
        {3000000000LL, 3000000000LL, 1000000000LL, 9000000000LL, 9000000000LL},  // product beyond 2^62
        {5, 5, 0, 0, 0},            // zero divisor
    };
    for (const auto& row : cases) {
        EXPECT_EQ(MulDivTruncate(row.fValue, row.fMultiplier, row.fDivisor), row.fTruncated)
            << row.fValue << "*" << row.fMultiplier << "/" << row.fDivisor;
        EXPECT_EQ(MulDivRoundUp(row.fValue, row.fMultiplier, row.fDivisor), row.fRoundedUp)
            << row.fValue << "*" << row.fMultiplier << "/" << row.fDivisor;
    }
}

TEST(MulDiv, Round64GoesToTheNearestMultipleWithHalvesAwayFromZero) {
    struct SCase {
        int64_t fFrames, fRounded;
    } cases[] = {
        {0, 0}, {31, 0}, {32, 64}, {63, 64}, {95, 64}, {96, 128},  // 96 = 1.5 blocks
        {-31, 0}, {-32, -64}, {-96, -128}, {-95, -64}, {6400, 6400},
    };
    for (const auto& row : cases) EXPECT_EQ(Round64(row.fFrames), row.fRounded) << row.fFrames;
}

TEST(SampleRate, ClampsTo11025Through1000000) {
    struct SCase {
        uint32_t fRate, fClamped;
    } cases[] = {
        {0, 11025}, {11024, 11025}, {11025, 11025}, {44100, 44100}, {1000000, 1000000}, {1000001, 1000000},
        {0xFFFFFFFFu, 1000000},
    };
    for (const auto& row : cases) EXPECT_EQ(ClampSampleRate(row.fRate), row.fClamped) << row.fRate;
}
