#include "engine/LUXObject.h"

#include <algorithm>

#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"
#include "foundation/TargetObjectType.h"

namespace NSQuillet {

CLUXObject::CLUXObject(std::unique_ptr<CABCWaveSample> sample, std::unique_ptr<CSliceSequence> slices,
                       const CLoopSettings& settings, bool sliceMode)
    : fSample(std::move(sample)), fSlices(std::move(slices)) {
    if (!fSample || !fSlices || fSlices->GetWaveSample() != fSample.get()) {
        throw NSMishap::XStdInvalidArgument("slices of another sample");
    }
    fSample->BuildPreview();
    if (!settings.IsLoopLengthSet()) {
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_FormatViolation, "zero loop length",
                               NSMishap::kTargetObjectType_LuxFile);
    }
    fSequencer = std::make_unique<CQuilletSequencer>(fSample.get(), fSlices.get(), ClampSampleRate(fSample->GetSampleRate()));
    CLoopSettings previewed = settings;
    previewed.SetPreviewOn(true);
    fSequencer->SetLoopSettings(previewed);
    fSequencer->ResetPlayback();
    fExporter = std::make_unique<CExporter>(*fSequencer, sliceMode, false);
    fHasSlices = fExporter->GetSliceCount() >= 1;
    fSequencer->PlayLoop();
}

CLUXObject::~CLUXObject() = default;

void CLUXObject::SetOutputRate(uint32_t outputRate) { fSequencer->SetOutputRate(outputRate); }

void CLUXObject::Rewind() {
    fSequencer->ResetPlayback();
    // Stopped now: this moves the position back to the loop's first entry.
    fSequencer->StopOrRewind();
    fSequencer->PlayLoop();
}

void CLUXObject::Render(int32_t count, float* left, float* right) {
    if (count <= 0) return;
    if (!fHasSlices) {
        std::fill_n(left, count, 0.0f);
        if (right) std::fill_n(right, count, 0.0f);
        return;
    }
    for (int32_t done = 0; done < count;) {
        const int32_t frames = std::min(kBlockFrames, count - done);
        fSequencer->Render(fScratchLeft, fScratchRight, frames);
        if (right) {
            std::copy_n(fScratchLeft, frames, left + done);
            std::copy_n(fScratchRight, frames, right + done);
        } else {
            for (int32_t i = 0; i < frames; ++i) left[done + i] = (fScratchLeft[i] + fScratchRight[i]) * 0.5f;
        }
        done += frames;
    }
}

}  // namespace NSQuillet
