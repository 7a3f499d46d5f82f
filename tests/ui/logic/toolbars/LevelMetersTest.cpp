#include <gtest/gtest.h>

#include <cstdint>

#include "ui/logic/toolbars/LevelMeters.h"

namespace NSQuillet {
namespace {

// One 64-sample block at 44.1 kHz, in milliseconds.
constexpr double kBlock = 64000.0 / 44100.0;

TEST(PeakMeterTest, LevelsMapOntoTheScaleFromMinus90ToZeroDecibels) {
    const struct {
        double fLevel;
        int32_t fPosition;
    } rows[] = {
        {1.0, 999},       // 0 dB
        {2.0, 999},       // +6 dB: clamped at the top
        {0.5, 933},       // −6.0206 dB × −999 / 90 = 66.83
        {0.25, 866},      // −12.0412 dB: 133.66
        {0.01, 555},      // −40 dB: 444
        {3.1e-5, 0},      // −90.17 dB: 1000.9, clamped at the bottom
        {1e-6, 0},        // −120 dB is taken as −96
        {0.0, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(CPeakMeterModel::PositionOfLevel(row.fLevel), row.fPosition) << row.fLevel;
}

TEST(PeakMeterTest, HeldLevelsFallByTwoPercentABlockAndNewPeaksLiftThem) {
    CPeakMeterModel meter;
    meter.Tick(1.0, 0.5, true, true, 0.0);
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(0), 1.0);
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(1), 0.5);
    EXPECT_TRUE(meter.IsClipped());

    meter.Tick(0.0, 0.0, true, false, 10 * kBlock);
    EXPECT_NEAR(meter.GetHeldLevel(0), 0.8170728069, 1e-9);  // 0.98^10
    EXPECT_NEAR(meter.GetHeldLevel(1), 0.4085364034, 1e-9);
    EXPECT_FALSE(meter.IsClipped());

    meter.Tick(0.9, 0.1, true, false, kBlock);  // 0.8007 and 0.4004 fallen, then the new peaks
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(0), 0.9);
    EXPECT_NEAR(meter.GetHeldLevel(1), 0.4003656754, 1e-9);  // 0.5 × 0.98^11

    meter.Tick(0.0, 0.0, true, false, -1000.0);  // the clock went back: nothing rises
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(0), 0.9);
}

TEST(PeakMeterTest, LevelsBelowMinus90DecibelsStayAndMonoShowsOnBothBars) {
    CPeakMeterModel meter;
    meter.Tick(2e-5, 0.7, false, false, 0.0);  // mono: the right peak is not read
    meter.Tick(0.0, 0.0, false, false, 1000.0);
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(0), 2e-5);
    EXPECT_DOUBLE_EQ(meter.GetHeldLevel(1), 2e-5);

    CPeakMeterModel above;
    above.Tick(4e-5, 4e-5, true, false, 0.0);
    above.Tick(0.0, 0.0, true, false, 1000.0);
    EXPECT_NEAR(above.GetHeldLevel(0), 4e-5 * 8.99948758e-7, 1e-15);  // 0.98^689.0625
}

TEST(PeakMeterTest, PositionsLightLampsFromTheBottom) {
    const struct {
        int32_t fPosition;
        int32_t fLit;
    } rows[] = {
        {0, 0},      // −90 dB and below: dark
        {1, 1},      // just above −90 dB: the lowest lamp
        {24, 1},     // below the second lamp's lower edge at 999 / 40 = 24.975
        {25, 2},     // past it
        {500, 21},   // 20.02
        {998, 40},   // 39.96
        {999, 40},   // 0 dB: every lamp
    };
    for (const auto& row : rows) EXPECT_EQ(CPeakMeterModel::LitSegments(row.fPosition, 40), row.fLit) << row.fPosition;
}

TEST(GainChangeMeterTest, LampsCountWholeDecibelsOfChangeEitherWay) {
    const struct {
        double fFactor;
        int32_t fLit;
    } rows[] = {
        {1.0, 0},
        {CGainChangeMeterModel::kBandHigh, 0},  // +0.53 dB: the band shows nothing
        {CGainChangeMeterModel::kBandLow, 0},   // −0.57 dB
        {1.13, 1},                              // +1.06 dB
        {0.5, 6},                               // −6.02 dB
        {2.0, 6},                               // +6.02 dB
        {0.316, 10},                            // −10.0 dB
        {47.6, 10},                             // +33.6 dB: every lamp
        {0.0, 10},                              // silenced
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CGainChangeMeterModel::LitSegments(row.fFactor, 10), row.fLit) << row.fFactor;
    }
}

TEST(GainChangeMeterTest, FactorsFallBackTowardOneOutsideTheBand) {
    CGainChangeMeterModel meter;
    meter.Tick(0.5, 1.5, 0.0);
    meter.Tick(1.0, 1.0, kBlock);
    EXPECT_NEAR(meter.GetSmallest(), 0.5025, 1e-12);  // 1 − 0.5 × 0.995
    EXPECT_NEAR(meter.GetLargest(), 1.4975, 1e-12);
    meter.Tick(1.0, 1.0, 9 * kBlock);
    EXPECT_NEAR(meter.GetSmallest(), 0.5244449348, 1e-9);  // 1 − 0.5 × 0.995^10

    meter.Tick(0.3, 1.2, 0.0);  // further from 1: taken at once
    EXPECT_DOUBLE_EQ(meter.GetSmallest(), 0.3);
    EXPECT_NEAR(meter.GetLargest(), 1.4755550652, 1e-9);  // 1 + 0.5 × 0.995^10 still held

    meter.Tick(1.0, 1.0, 1e6);  // far into the band
    EXPECT_NEAR(meter.GetSmallest(), 1.0, 1e-9);
    EXPECT_NEAR(meter.GetLargest(), 1.0, 1e-9);
}

TEST(GainChangeMeterTest, InsideTheBandAFactorIsDrawnWithoutFalling) {
    const struct {
        double fFactor;
        bool fInside;
    } rows[] = {{0.9369043, true}, {0.9369, false}, {1.0630957, true}, {1.0631, false}, {1.0, true}};
    for (const auto& row : rows) {
        EXPECT_EQ(CGainChangeMeterModel::IsInsideBand(row.fFactor), row.fInside) << row.fFactor;
    }

    CGainChangeMeterModel meter;
    meter.Tick(0.95, 1.05, 0.0);
    meter.Tick(1.0, 1.0, 10000.0);
    EXPECT_DOUBLE_EQ(meter.GetSmallest(), 0.95);
    EXPECT_DOUBLE_EQ(meter.GetLargest(), 1.05);
}

}  // namespace
}  // namespace NSQuillet
