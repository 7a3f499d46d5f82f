#include <gtest/gtest.h>

#include <cstdint>

#include "engine/16BitWaveSample.h"
#include "ui/logic/waveform/WaveformDisplayModel.h"
#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {
namespace {

// 1020 px wide: the content is 1000 px from x = 10.
constexpr int32_t kViewWidth = 1020;

TEST(WaveformGeometryTest, ContentMarkerStripAndWaveformAreas) {
    const CWaveformGeometry geometry(kViewWidth, 200, {0, 2000});
    EXPECT_EQ(geometry.GetContent(), (SViewRect{10, 0, 1000, 200}));
    EXPECT_EQ(geometry.GetMarkerStrip(), (SViewRect{10, 0, 1000, 36}));
    EXPECT_EQ(geometry.GetWaveformArea(), (SViewRect{10, 36, 1000, 164}));
    // Narrower than both insets: the width stays 1 so the mapping never divides
    // by zero.
    EXPECT_EQ(CWaveformGeometry(15, 200, {0, 2000}).GetContentWidth(), 1);
}

struct SFrameToXCase {
    SVisibleRange fRange;
    int32_t fFrame;
    int32_t fX;
};

TEST(WaveformGeometryTest, FrameToXRoundsHalfUp) {
    const SFrameToXCase cases[] = {
        {{0, 2000}, 0, 10},       // the content's left edge
        {{0, 2000}, 1000, 510},   // 10 + 1000 × 1000 / 2000
        {{0, 2000}, 1, 11},       // floor(10 + 0.5 + 0.5)
        {{0, 2000}, 3, 12},       // floor(10 + 1.5 + 0.5)
        {{0, 2000}, -3, 9},       // floor(10 − 1.5 + 0.5)
        {{0, 2000}, 2000, 1010},  // the end sits on the content's right edge
        {{100, 400}, 101, 13},    // floor(10 + 1000 / 300 + 0.5) = floor(13.83)
        {{100, 400}, 50, -157},   // floor(10 − 50000 / 300 + 0.5) = floor(−156.17)
    };
    for (const SFrameToXCase &test : cases) {
        const CWaveformGeometry geometry(kViewWidth, 200, test.fRange);
        EXPECT_EQ(geometry.FrameToX(test.fFrame), test.fX)
            << "[" << test.fRange.fStart << ", " << test.fRange.fEnd << ") frame " << test.fFrame;
    }
}

struct SXToFrameCase {
    double fX;
    int32_t fLow;
    int32_t fHigh;
    int32_t fFrame;
};

TEST(WaveformGeometryTest, XToFrameClampsThenRoundsHalfUp) {
    // [0, 2000) over 1000 px: 2 frames per pixel.
    const CWaveformGeometry geometry(kViewWidth, 200, {0, 2000});
    const SXToFrameCase cases[] = {
        {10.0, 0, 1999, 0},      {510.0, 0, 1999, 1000}, {10.25, 0, 1999, 1},  // f = 0.5, floor(1.0)
        {10.2, 0, 1999, 0},                                                    // f = 0.4, floor(0.9)
        {0.0, 0, 1999, 0},                                                     // f = −20 clamped to 0
        {1200.0, 0, 1999, 1999},                                               // f = 2380 clamped to 1999
        {9.1, -100, 1999, -2},   // f = −1.8, floor(−1.3): floor, not truncation
        {9.25, -100, 1999, -1},  // f = −1.5, floor(−1.0)
        {100.0, 5, 50, 50},      // f = 180 clamped to the caller's high
    };
    for (const SXToFrameCase &test : cases) {
        EXPECT_EQ(geometry.XToFrame(test.fX, test.fLow, test.fHigh), test.fFrame) << "x " << test.fX;
    }
}

TEST(WaveformGeometryTest, FramesPerPixelIsTheWidthOverTheContentInDouble) {
    EXPECT_DOUBLE_EQ(CWaveformGeometry(kViewWidth, 200, {0, 2000}).FramesPerPixel(), 2.0);
    EXPECT_DOUBLE_EQ(CWaveformGeometry(kViewWidth, 200, {500, 501}).FramesPerPixel(), 0.001);
    EXPECT_DOUBLE_EQ(CWaveformGeometry(kViewWidth, 200, {0, 125}).FramesPerPixel(), 0.125);
    // The content width floor of 1 px: 2000 frames on one pixel.
    EXPECT_DOUBLE_EQ(CWaveformGeometry(5, 200, {0, 2000}).FramesPerPixel(), 2000.0);
}

TEST(WaveformDisplayModelTest, HoldsTheSampleAndTheLocatorsWithTheRateClamped) {
    const C16BitWaveSample sample(8000, 500, true);
    const SWaveformDisplayModel model = MakeWaveformDisplayModel(sample, 20, 480);
    EXPECT_EQ(model.fFrameCount, 500);
    EXPECT_EQ(model.fSampleRate, 11025);  // 8000 Hz is below the 11025 Hz floor
    EXPECT_EQ(model.fStereo, 1);
    EXPECT_EQ(model.fLowerBound, 0);
    EXPECT_EQ(model.fUpperBound, 500);
    EXPECT_EQ(model.fConstantOne, 1);
    EXPECT_EQ(model.fLeftLocator, 20);
    EXPECT_EQ(model.fRightLocator, 480);
    EXPECT_EQ(MakeWaveformDisplayModel(C16BitWaveSample(44100, 10, false), 0, 10).fStereo, 0);
}

TEST(WaveformDisplayModelTest, EqualityComparesEveryField) {
    const SWaveformDisplayModel base{500, 44100, 1, 0, 500, 1, 20, 480};
    EXPECT_EQ(base, base);
    int32_t SWaveformDisplayModel::*const fields[] = {
        &SWaveformDisplayModel::fFrameCount,  &SWaveformDisplayModel::fSampleRate,
        &SWaveformDisplayModel::fStereo,      &SWaveformDisplayModel::fLowerBound,
        &SWaveformDisplayModel::fUpperBound,  &SWaveformDisplayModel::fConstantOne,
        &SWaveformDisplayModel::fLeftLocator, &SWaveformDisplayModel::fRightLocator,
    };
    for (auto field : fields) {
        SWaveformDisplayModel changed = base;
        changed.*field += 1;
        EXPECT_NE(changed, base);
        EXPECT_FALSE(changed == base);
    }
}

}  // namespace
}  // namespace NSQuillet
