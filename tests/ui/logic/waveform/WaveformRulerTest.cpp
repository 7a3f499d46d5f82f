#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ui/logic/waveform/WaveformGeometry.h"
#include "ui/logic/waveform/WaveformRuler.h"

namespace NSQuillet {

std::ostream& operator<<(std::ostream& out, const SRulerTick& tick) { return out << tick.fX << ":" << tick.fLabel; }

namespace {

using namespace NSWaveformRuler;

// 1020 px wide: the content is 1000 px from x = 10.
CWaveformGeometry Geometry(SVisibleRange range) { return CWaveformGeometry(1020, 100, range); }

TEST(WaveformRulerTest, SamplesStepIsTheSmallestOfFortyPixelsWorth) {
    const struct {
        double fFramesPerPixel;
        int64_t fStep;
    } cases[] = {
        {0.001, 10},       {0.25, 10},                                                      // 40 × 0.25 = 10
        {0.26, 50},        {1.25, 50},                                                      // 10.4; 50
        {1.26, 100},       {12.5, 500}, {25.0, 1000}, {1250.0, 50000}, {1.25e6, 50000000},  // 50,000,000 exactly
        {2.0e6, 50000000},  // none large enough: the last
    };
    for (const auto& test : cases) EXPECT_EQ(SamplesStep(test.fFramesPerPixel), test.fStep) << test.fFramesPerPixel;
}

TEST(WaveformRulerTest, SamplesLabelsInThousandsAndMillions) {
    // Exact quotients: a tick at 1500 (step 500) reads 1.5k, not a second 1k.
    const struct {
        int64_t fFrame;
        const char* fLabel;
    } cases[] = {
        {0, "0"},           {950, "950"},     {999, "999"},    {1000, "1k"},      {1500, "1.5k"},    {2000, "2k"},
        {12345, "12.345k"}, {999000, "999k"}, {1000000, "1M"}, {1500000, "1.5M"}, {50000000, "50M"},
    };
    for (const auto& test : cases) EXPECT_EQ(SamplesLabel(test.fFrame), test.fLabel) << test.fFrame;
}

TEST(WaveformRulerTest, TimeStepIsTheSmallestOfFortyPixelsWorth) {
    const struct {
        double fMillisecondsPerPixel;
        int64_t fStep;
    } cases[] = {
        {0.025, 1},      {0.026, 10},      {0.25, 10},        {2.5, 100},
        {25.0, 1000},    {250.0, 10000},   {251.0, 60000},     // 10040 > 10000
        {1500.0, 60000}, {1501.0, 600000}, {20000.0, 600000},  // none large enough: the last
    };
    for (const auto& test : cases) {
        EXPECT_EQ(TimeStep(test.fMillisecondsPerPixel), test.fStep) << test.fMillisecondsPerPixel;
    }
}

TEST(WaveformRulerTest, TimeLabelsBySeconds) {
    const struct {
        int64_t fMilliseconds;
        int64_t fStep;
        const char* fLabel;
    } cases[] = {
        {1250, 1, "1.250"}, {5, 1, "0.005"},     {1250, 10, "1.25"},   {1200, 100, "1.2"},    {0, 100, "0.0"},
        {3000, 1000, "3"},  {59000, 1000, "59"}, {50000, 10000, "50"}, {60000, 60000, "1 m"}, {1800000, 600000, "30 m"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(TimeLabel(test.fMilliseconds, test.fStep), test.fLabel) << test.fMilliseconds << "/" << test.fStep;
    }
}

TEST(WaveformRulerTest, SamplesTicksFromTheFirstMultipleInsideTheContent) {
    // [0, 2000): 2 frames per pixel, step 100, x = 10 + frame / 2; 2000 would sit on x = 1010.
    std::vector<SRulerTick> ticks = SamplesTicks(Geometry({0, 2000}));
    ASSERT_EQ(ticks.size(), 20u);
    EXPECT_EQ(ticks[0], (SRulerTick{10, "0"}));
    EXPECT_EQ(ticks[1], (SRulerTick{60, "100"}));
    EXPECT_EQ(ticks[10], (SRulerTick{510, "1k"}));
    EXPECT_EQ(ticks[19], (SRulerTick{960, "1.9k"}));

    // From 1050 the first multiple is 1100: floor(10 + 1000 × 50 / 2000 + 0.5) = 35.
    ticks = SamplesTicks(Geometry({1050, 3050}));
    ASSERT_EQ(ticks.size(), 20u);  // 1100 … 3000
    EXPECT_EQ(ticks.front(), (SRulerTick{35, "1.1k"}));
    EXPECT_EQ(ticks.back(), (SRulerTick{985, "3k"}));

    EXPECT_TRUE(SamplesTicks(Geometry({0, 0})).empty());
}

TEST(WaveformRulerTest, TimeTicksInMilliseconds) {
    // 44100 frames over 1000 px: 1 ms per pixel, step 100 ms, one decimal, x = 10 + ms.
    std::vector<SRulerTick> ticks = TimeTicks(Geometry({0, 44100}), 44100);
    std::vector<SRulerTick> expected;
    for (int32_t i = 0; i < 10; ++i) expected.push_back({10 + 100 * i, "0." + std::to_string(i)});
    EXPECT_EQ(ticks, expected);

    // From frame 1000 (22.7 ms) the first tick is 100 ms, frame 4410: floor(10 + 3410000 / 44100 + 0.5) = 87.
    ticks = TimeTicks(Geometry({1000, 45100}), 44100);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front(), (SRulerTick{87, "0.1"}));

    // A rate below the floor counts as 11025: the same ticks over 11025 frames.
    EXPECT_EQ(TimeTicks(Geometry({0, 11025}), 8000), expected);

    // Ten minutes at 44100 Hz: 600 ms per pixel, step 1 minute, x = 10 + 100 per minute.
    ticks = TimeTicks(Geometry({0, 26460000}), 44100);
    ASSERT_EQ(ticks.size(), 10u);
    EXPECT_EQ(ticks[0], (SRulerTick{10, "0 m"}));
    EXPECT_EQ(ticks[9], (SRulerTick{910, "9 m"}));
}

TEST(WaveformRulerTest, BeatsTicksBetweenTheLocators) {
    // 2 bars of 4/4 over [0, 32000): 4000 frames a beat, 100 px at 40 frames per pixel.
    std::vector<SRulerTick> ticks = BeatsTicks(Geometry({0, 40000}), 0, 32000, 2, 0, 4, 4);
    const std::vector<SRulerTick> everyBeat = {{10, "1.1"},  {110, "1.2"}, {210, "1.3"}, {310, "1.4"},
                                               {410, "2.1"}, {510, "2.2"}, {610, "2.3"}, {710, "2.4"}};
    EXPECT_EQ(ticks, everyBeat);

    // 1 bar 2 beats of 3/4 over [1000, 6000): a beat 1000 frames, 100 px; none at the right locator.
    ticks = BeatsTicks(Geometry({0, 10000}), 1000, 6000, 1, 2, 3, 4);
    const std::vector<SRulerTick> partialBar = {{110, "1.1"}, {210, "1.2"}, {310, "1.3"}, {410, "2.1"}, {510, "2.2"}};
    EXPECT_EQ(ticks, partialBar);

    // Only what the content shows: [1500, 3500) at 2 frames per pixel.
    ticks = BeatsTicks(Geometry({1500, 3500}), 1000, 6000, 1, 2, 3, 4);
    const std::vector<SRulerTick> visible = {{260, "1.2"}, {760, "1.3"}};
    EXPECT_EQ(ticks, visible);
}

TEST(WaveformRulerTest, BeatsTicksThinOutToBarsThenEveryOtherBar) {
    // 16 bars of 4/4 over [0, 256000): a beat 4000 frames.
    // At 400 frames per pixel a beat is 10 px, a bar 40 px: every bar.
    std::vector<SRulerTick> ticks = BeatsTicks(Geometry({0, 400000}), 0, 256000, 16, 0, 4, 4);
    ASSERT_EQ(ticks.size(), 16u);
    EXPECT_EQ(ticks[0], (SRulerTick{10, "1.1"}));
    EXPECT_EQ(ticks[1], (SRulerTick{50, "2.1"}));
    EXPECT_EQ(ticks[15], (SRulerTick{610, "16.1"}));

    // At 800 a bar is 20 px: every 2nd bar, 40 px apart.
    ticks = BeatsTicks(Geometry({0, 800000}), 0, 256000, 16, 0, 4, 4);
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_EQ(ticks[0], (SRulerTick{10, "1.1"}));
    EXPECT_EQ(ticks[1], (SRulerTick{50, "3.1"}));
    EXPECT_EQ(ticks[7], (SRulerTick{290, "15.1"}));
}

TEST(WaveformRulerTest, NoBeatsTicksWithoutALoop) {
    EXPECT_TRUE(BeatsTicks(Geometry({0, 40000}), 0, 32000, 0, 0, 4, 4).empty());      // no length
    EXPECT_TRUE(BeatsTicks(Geometry({0, 40000}), 32000, 32000, 2, 0, 4, 4).empty());  // no span
    EXPECT_TRUE(BeatsTicks(Geometry({0, 40000}), 0, 32000, 2, 0, 0, 4).empty());      // no beats a bar
}

}  // namespace
}  // namespace NSQuillet
