#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>

#include "engine/16BitWaveSample.h"
#include "engine/EqualizerEffect.h"
#include "engine/Exporter.h"
#include "engine/QuilletSampler.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "formats/export/ExportSliceQueue.h"
#include "formats/export/ExportSliceRendering.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"

namespace NSQuillet {
namespace {

// Stereo at 44100 Hz, `slices` slices of 11025 frames (one beat each at 240 BPM, the loop's own
// tempo), `slices` × 11025 frames in all: 40 slices are 441000 frames, enough for workers.
class CExportSliceQueueFixture : public ::testing::Test {
protected:
    void MakeLoop(int32_t slices, bool effects) {
        const int32_t frames = slices * 11025;
        fSample = std::make_unique<C16BitWaveSample>(44100, frames, true);
        for (int32_t i = 0; i < frames; ++i)
            for (int32_t c = 1; c <= 2; ++c)
                fSample->Set16(i, int16_t(9000.0 * std::sin(i * 0.013 * c) * std::exp(-(i % 11025) / 3000.0) + (i % 11) * 40), c);
        fSlices = std::make_unique<CSliceSequence>(fSample.get());
        for (int32_t s = 0; s < slices; ++s) fSlices->InsertSlice(CSlice(s * 11025, 100, ESliceKind::kLocked));
        fSlices->UpdateSliceLengths();
        fSequencer = std::make_unique<CQuilletSequencer>(fSample.get(), fSlices.get(), 44100);
        fSequencer->SetBars(slices / 4);
        fSequencer->SetPreviewTempo(240000);
        if (!effects) return;
        // Everything that keeps state from block to block: filters, envelope, shaper, pitch.
        fSequencer->SetPitch(-250);
        fSequencer->ChangeSampler([](CQuilletSampler& sampler) {
            sampler.SetEnvelopeOn(true);
            sampler.SetDecay(400);
            sampler.SetStretch(600);
            sampler.SetShaperOn(true);
            sampler.SetShaperThreshold(300);
        });
        fSequencer->ChangeEqualizer([](CEqualizerEffect& equalizer) {
            equalizer.SetOn(true);
            equalizer.SetLowGain(6000);
            equalizer.SetHighCut(9000);
        });
    }

    std::unique_ptr<C16BitWaveSample> fSample;
    std::unique_ptr<CSliceSequence> fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
};

TEST_F(CExportSliceQueueFixture, ItemsAreTheSamplesOfRenderingThemOneAfterAnother) {
    struct SRow {
        bool fEffects;
        uint32_t fRate;
        int32_t fDepth;
    };
    const SRow rows[] = {{false, 44100, 16}, {true, 44100, 16}, {true, 48000, 24}, {true, 22050, 16}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.fRate) + "/" + std::to_string(row.fDepth) + (row.fEffects ? " effects" : ""));
        MakeLoop(40, row.fEffects);
        CExporter exporter(*fSequencer, true, false);
        CExporter reference(*fSequencer, true, false);
        ASSERT_EQ(exporter.GetSliceCount(), 40);
        CExportSliceQueue queue(exporter, 40, row.fRate, row.fDepth);
        if (std::thread::hardware_concurrency() > 1) {
            EXPECT_GT(queue.GetWorkerCount(), 0u);
        }
        for (int32_t i = 0; i < 40; ++i) {
            SCOPED_TRACE(i);
            const std::unique_ptr<CABCWaveSample> taken = queue.Take(i);
            const std::unique_ptr<CABCWaveSample> expected = RenderExportSlice(reference, i, row.fRate, row.fDepth);
            NSQuilletTest::ExpectSameAudio(*taken, *expected);
        }
    }
}

TEST_F(CExportSliceQueueFixture, ItemsAreTakenInOrderAndTheirFailuresComeWithThem) {
    MakeLoop(40, false);
    CExporter exporter(*fSequencer, true, false);
    {
        CExportSliceQueue queue(exporter, 40, 44100, 16);
        EXPECT_FAILURE(queue.Take(1), XStdInvalidArgument, "export items are taken in order");
        EXPECT_EQ(queue.Take(0)->GetFrameCount(), 11025);
        EXPECT_FAILURE(queue.Take(0), XStdInvalidArgument, "export items are taken in order");
        // Destroyed with items still rendering ahead.
    }
    // 8 bits is refused on the worker that renders the item; the owner gets the failure.
    CExportSliceQueue refused(exporter, 40, 44100, 8);
    EXPECT_FAILURE(refused.Take(0), XStdInvalidArgument, "bit depth must be 16 or 24");
}

}  // namespace
}  // namespace NSQuillet
