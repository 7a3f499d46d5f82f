#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"

namespace NSQuillet {
namespace {

// One bar of 4/4 in 44100 frames at 44100 Hz (240 BPM) with a slice on every beat.
class CExportFixture : public ::testing::Test {
protected:
    CExportFixture() : fSample(44100, 44100, false), fSlices(&fSample) {
        for (int32_t i = 0; i < 44100; ++i) fSample.Set16(i, int16_t(8000.0 * std::sin(i * 0.05)), 1);
        for (int32_t position : {0, 11025, 22050, 33075}) fSlices.InsertSlice(CSlice(position, 100, ESliceKind::kLocked));
        fSlices.UpdateSliceLengths();
        fSequencer = std::make_unique<CQuilletSequencer>(&fSample, &fSlices, 48000);
        fSequencer->SetBars(1);
        fSequencer->SetPreviewTempo(240000);
    }

    C16BitWaveSample fSample;
    CSliceSequence fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
};

float Peak(const CABCWaveSample& sample, int32_t first, int32_t end) {
    float peak = 0.0f;
    for (int32_t i = first; i < end; ++i) peak = std::max(peak, std::fabs(sample.GetFloat(i, 1)));
    return peak;
}

TEST_F(CExportFixture, SliceModeGeometry) {
    struct SRow {
        int32_t fPreviewTempo;
        int32_t fIndex;
        int32_t fStartTick;
        int32_t fEndTick;
        int64_t fLength;
    };
    // A quarter note is 11025 frames = 15360 ticks; P is 11025 at 240 BPM, 22050 at 120.
    const SRow rows[] = {
        {240000, 0, 0, 15360, 11025},
        {240000, 1, 15360, 30720, 11025},
        {240000, 3, 46080, 61440, 11025},
        {120000, 1, 15360, 46080, 22050},  // end at 11025 + 22050 frames
        {120000, 3, 46080, 61440, 22050},  // clamped to the loop's ticks
    };
    for (const SRow& row : rows) {
        fSequencer->SetPreviewTempo(row.fPreviewTempo);
        const CExporter exporter(*fSequencer, true, false);
        ASSERT_EQ(exporter.GetSliceCount(), 4);
        const SExportItemInfo info = exporter.GetSliceInfo(row.fIndex);
        EXPECT_EQ(info.fStartTick, row.fStartTick) << row.fPreviewTempo << " " << row.fIndex;
        EXPECT_EQ(info.fEndTick, row.fEndTick) << row.fPreviewTempo << " " << row.fIndex;
        EXPECT_EQ(info.fLength, row.fLength) << row.fPreviewTempo << " " << row.fIndex;
        EXPECT_EQ(exporter.GetTotalFrames(), 4 * row.fLength);
    }
}

TEST_F(CExportFixture, OneSampleGeometry) {
    struct SRow {
        int32_t fPreviewTempo;
        bool fCut;
        std::vector<int64_t> fStarts;
        int64_t fLength;
    };
    const SRow rows[] = {
        // round64 of 0, 11025, 22050, 33075; the last slice sounds to 33088 + 11025.
        {240000, false, {0, 11008, 22080, 33088}, 44113},
        {240000, true, {0, 11008, 22080, 33088}, 44100},
        // round64 of 0, 22050, 44100, 66150; 66176 + 22050 is past the loop's 88200.
        {120000, false, {0, 22080, 44096, 66176}, 88226},
        {120000, true, {0, 22080, 44096, 66176}, 88200},
    };
    for (const SRow& row : rows) {
        fSequencer->SetPreviewTempo(row.fPreviewTempo);
        const CExporter exporter(*fSequencer, false, row.fCut);
        ASSERT_EQ(exporter.GetSliceCount(), 1);
        EXPECT_EQ(exporter.GetScheduledStarts(), row.fStarts);
        const SExportItemInfo info = exporter.GetSliceInfo(0);
        EXPECT_EQ(info.fStartTick, 0);
        EXPECT_EQ(info.fEndTick, 61440);
        EXPECT_EQ(info.fLength, row.fLength) << row.fPreviewTempo << " cut " << row.fCut;
        EXPECT_EQ(exporter.GetTotalFrames(), row.fLength);
    }
}

TEST_F(CExportFixture, ScheduledStartsKeepABlockApart) {
    // Slices 10 frames apart would round onto the same block: each moves a block later.
    fSlices.InsertSlice(CSlice(11035, 100, ESliceKind::kLocked));
    fSlices.InsertSlice(CSlice(11045, 100, ESliceKind::kLocked));
    fSlices.UpdateSliceLengths();
    fSequencer->SetSliceSequence(&fSlices);
    const CExporter exporter(*fSequencer, false, false);
    // round64 of 0, 11025, 11035, 11045, 22050, 33075, then at least 64 after the last.
    EXPECT_EQ(exporter.GetScheduledStarts(), (std::vector<int64_t>{0, 11008, 11072, 11136, 22080, 33088}));
}

TEST_F(CExportFixture, OnlyEntriesInsideTheLocatorsArePlanned) {
    fSample.SetLocators(1, 11025, 33075);
    fSequencer->RebuildPlayList();
    const CExporter exporter(*fSequencer, true, false);
    ASSERT_EQ(exporter.GetSliceCount(), 2);
    EXPECT_EQ(exporter.GetPlannedEntries()[0].fStart, 11025);
    EXPECT_EQ(exporter.GetPlannedEntries()[1].fStart, 22050);
    // The loop is now 22050 frames, a quarter 5512.5: 22050 − 11025 is two quarters.
    EXPECT_EQ(exporter.GetSliceInfo(1).fStartTick, 30720);
}

TEST_F(CExportFixture, OneSampleRenderCoversTheLastSlicesSoundUnlessCut) {
    CExporter whole(*fSequencer, false, false);
    const std::unique_ptr<CABCWaveSample> rendered = whole.RenderSlice(0);
    ASSERT_EQ(rendered->GetFrameCount(), 44113);
    EXPECT_EQ(rendered->GetSampleRate(), 44100u);
    EXPECT_EQ(rendered->GetLoopKind(), 2);
    EXPECT_EQ(rendered->GetLeftLocator(), 0);
    EXPECT_EQ(rendered->GetRightLocator(), 44113);
    EXPECT_GT(Peak(*rendered, 44100, 44113), 0.01f);
    EXPECT_GT(Peak(*rendered, 0, 11008), 0.05f);

    CExporter cut(*fSequencer, false, true);
    const std::unique_ptr<CABCWaveSample> faded = cut.RenderSlice(0);
    ASSERT_EQ(faded->GetFrameCount(), 44100);
    for (int32_t i = 0; i < 44060; ++i) ASSERT_EQ(faded->Get16(i, 1), rendered->Get16(i, 1)) << i;
    for (int32_t k = 0; k < 40; ++k) {
        const double factor = 1.0 - 0.025 * k;
        EXPECT_NEAR(faded->Get16(44060 + k, 1), rendered->Get16(44060 + k, 1) * factor, 1.0) << k;
    }
}

TEST_F(CExportFixture, SliceModeRendersTheSliceFromFrameZeroForItsPlayLength) {
    fSequencer->SetPreviewTempo(450000);
    CExporter exporter(*fSequencer, true, false);
    // P = 240000 × 11025 / 450000 = 5880: the slice is cut while it still sounds.
    const SExportItemInfo info = exporter.GetSliceInfo(2);
    ASSERT_EQ(info.fLength, 5880);
    const std::unique_ptr<CABCWaveSample> slice = exporter.RenderSlice(2);
    ASSERT_EQ(slice->GetFrameCount(), 5880);
    EXPECT_EQ(slice->GetRightLocator(), 5880);
    EXPECT_GT(Peak(*slice, 0, 1000), 0.05f);
    EXPECT_GT(Peak(*slice, 5816, 5880), 0.05f);
    // The same slice again: rendering starts afresh every time.
    const std::unique_ptr<CABCWaveSample> again = exporter.RenderSlice(2);
    for (int32_t i = 0; i < 5880; ++i) ASSERT_EQ(again->Get16(i, 1), slice->Get16(i, 1)) << i;
}

TEST(Exporter, KeepsTheSamplesDepthAndChannelsAtItsClampedRate) {
    C24BitWaveSample sample(8000, 8000, true);
    for (int32_t i = 0; i < 8000; ++i) {
        sample.Set24(i, int32_t(2000000.0 * std::sin(i * 0.1)), 1);
        sample.Set24(i, int32_t(-1000000.0 * std::sin(i * 0.1)), 2);
    }
    CSliceSequence slices(&sample);
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.SetBeats(1);
    // One beat in 8000 frames at the clamped 11025 Hz: 60 × 11025 / 8000 = 82.6875 BPM → 82688.
    ASSERT_EQ(sequencer.GetOriginalTempo(), 82688);
    sequencer.SetPreviewTempo(82688);
    CExporter exporter(sequencer, true, false);
    ASSERT_EQ(exporter.GetSliceCount(), 1);
    const std::unique_ptr<CABCWaveSample> rendered = exporter.RenderSlice(0);
    EXPECT_EQ(rendered->GetBitDepth(), 24);
    EXPECT_TRUE(rendered->IsStereo());
    EXPECT_EQ(rendered->GetSampleRate(), 11025u);
    // Previewed at its own tempo and rendered at the clamped rate: P = 8000.
    EXPECT_EQ(rendered->GetFrameCount(), 8000);
    EXPECT_GT(std::fabs(rendered->GetFloat(4000, 2)) + std::fabs(rendered->GetFloat(4001, 2)), 0.0f);
}

TEST(Exporter, FadeFactorsFallBy0Point025) {
    std::vector<float> frames(50, 1.0f);
    CExporter::FadeOutEnd(frames.data(), 50);
    EXPECT_EQ(frames[9], 1.0f);
    EXPECT_EQ(frames[10], 1.0f);
    EXPECT_FLOAT_EQ(frames[11], 0.975f);
    EXPECT_FLOAT_EQ(frames[12], 0.95f);
    EXPECT_FLOAT_EQ(frames[30], 0.5f);   // 1 − 20 × 0.025
    EXPECT_FLOAT_EQ(frames[49], 0.025f);  // 1 − 39 × 0.025
    std::vector<float> few(3, -2.0f);
    CExporter::FadeOutEnd(few.data(), 3);
    EXPECT_FLOAT_EQ(few[0], -2.0f);
    EXPECT_FLOAT_EQ(few[1], -1.95f);
    EXPECT_FLOAT_EQ(few[2], -1.9f);
}

TEST(Exporter, RefusesBadIndexesAndAMissingSample) {
    C16BitWaveSample sample(44100, 1000, false);
    CSliceSequence slices(&sample);
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    CExporter exporter(sequencer, true, false);
    EXPECT_THROW(exporter.GetSliceInfo(-1), NSMishap::XStdOutOfRange);
    EXPECT_THROW(exporter.GetSliceInfo(exporter.GetSliceCount()), NSMishap::XStdOutOfRange);
    EXPECT_THROW(exporter.RenderSlice(7), NSMishap::XStdOutOfRange);
    const CQuilletSequencer empty(nullptr, nullptr, 44100);
    EXPECT_THROW(CExporter(empty, false, false), NSMishap::XStdInvalidArgument);
}

}  // namespace
}  // namespace NSQuillet
