#include "app/processing/CropLoopCommand.h"

#include <memory>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ProcessingBlocks.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

std::unique_ptr<CSliceSequence> CropSlices(const CSliceSequence& from, const CABCWaveSample& cropped, int32_t left,
                                           int32_t right) {
    auto slices = std::make_unique<CSliceSequence>(&cropped);
    for (CSlice slice : from.GetSlices()) {
        if (slice.GetPosition() < left || slice.GetPosition() >= right) continue;
        slice.SetPosition(slice.GetPosition() - left);
        slices->InsertSlice(slice);
    }
    slices->EnsureFirstSlice(0);
    slices->SetGateSensitivity(from.GetGateSensitivity());
    slices->SetSensitivity(from.GetSensitivity());
    return slices;
}

}  // namespace

bool CanCropLoop(const CQuilletDocument& document) {
    const CABCWaveSample& sample = document.GetWaveSample();
    const int32_t left = sample.GetLeftLocator();
    const int32_t right = sample.GetRightLocator();
    return left >= 0 && right <= sample.GetFrameCount() && left < right &&
           (left > 0 || right < sample.GetFrameCount());
}

void CropLoop(CQuilletDocument& document, CQuilletLengthyOperation& operation) {
    if (!CanCropLoop(document)) throw NSMishap::XStdLogicError("the locators leave nothing to crop");
    const CABCWaveSample& source = document.GetWaveSample();
    const int32_t left = source.GetLeftLocator();
    const int32_t right = source.GetRightLocator();
    const int32_t frames = right - left;
    operation.SetText(StringReference(NSStringIds::kProgress_CroppingSample).GetText());

    auto cropped = MakeEmptySampleLike(source, frames, source.IsStereo());
    if (source.IsLoopSet()) cropped->SetLocators(source.GetLoopKind(), 0, frames);
    std::vector<int32_t> buffer = AllocateBlockBuffer<int32_t>(frames);
    CBlockProgress progress(operation, int64_t(frames) * source.GetChannelCount());
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel)
        CopyChannelFrames(source, channel, left, *cropped, channel, 0, frames, buffer, progress);

    auto slices = CropSlices(document.GetSliceSequence(), *cropped, left, right);
    document.CloseUndoStep();
    document.PerformWaveSampleAndSliceSequenceChange(std::move(cropped), std::move(slices),
                                                     UndoText(NSStringIds::kUndo_CropLoop));
    document.CloseUndoStep();
}

}  // namespace NSQuillet
