#include "app/processing/ConvertToMonoCommand.h"

#include <memory>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ProcessingBlocks.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// The stored values as 32-bit integers: 16-bit samples through the 16-bit accessors and 24-bit
// ones through the 24-bit accessors, so the halving truncates in the sample's own scale.
template <class TValue>
void MixChannels(const CABCWaveSample& source, CABCWaveSample& target, CBlockProgress& progress) {
    std::vector<TValue> left = AllocateBlockBuffer<TValue>(source.GetFrameCount());
    std::vector<TValue> right = AllocateBlockBuffer<TValue>(source.GetFrameCount());
    ForEachBlock(0, source.GetFrameCount(), progress, [&](int32_t first, int32_t count) {
        if constexpr (sizeof(TValue) == 2) {
            source.Get16s(first, count, left.data(), 1);
            source.Get16s(first, count, right.data(), 2);
        } else {
            source.Get24s(first, count, left.data(), 1);
            source.Get24s(first, count, right.data(), 2);
        }
        for (int32_t i = 0; i < count; ++i)
            left[size_t(i)] = TValue((int32_t(left[size_t(i)]) + int32_t(right[size_t(i)])) / 2);
        if constexpr (sizeof(TValue) == 2) {
            target.Set16s(first, count, left.data(), 1);
        } else {
            target.Set24s(first, count, left.data(), 1);
        }
    });
}

}  // namespace

bool CanConvertToMono(const CQuilletDocument& document) { return document.GetWaveSample().IsStereo(); }

void ConvertToMono(CQuilletDocument& document, CQuilletLengthyOperation& operation, EMonoChoice choice) {
    const CABCWaveSample& source = document.GetWaveSample();
    if (!source.IsStereo()) throw NSMishap::XStdLogicError("convert to mono needs a stereo sample");
    if (choice != EMonoChoice::kLeft && choice != EMonoChoice::kRight && choice != EMonoChoice::kMix)
        throw NSMishap::XStdInvalidArgument("unknown mono choice");
    const bool mix = choice == EMonoChoice::kMix;
    operation.SetText(
        StringReference(mix ? NSStringIds::kProgress_MixingChannels : NSStringIds::kProgress_ExtractingChannel)
            .GetText());
    auto mono = MakeEmptySampleLike(source, source.GetFrameCount(), false);
    CarryLoopOver(source, *mono);
    CBlockProgress progress(operation, source.GetFrameCount());
    if (!mix) {
        std::vector<int32_t> buffer = AllocateBlockBuffer<int32_t>(source.GetFrameCount());
        const int32_t channel = choice == EMonoChoice::kRight ? 2 : 1;
        CopyChannelFrames(source, channel, 0, *mono, 1, 0, source.GetFrameCount(), buffer, progress);
    } else if (source.GetBitDepth() == 24) {
        MixChannels<int32_t>(source, *mono, progress);
    } else {
        MixChannels<int16_t>(source, *mono, progress);
    }
    document.CloseUndoStep();
    document.PerformWaveSampleChange(std::move(mono), UndoText(NSStringIds::kUndo_ConvertToMono));
    document.CloseUndoStep();
}

}  // namespace NSQuillet
