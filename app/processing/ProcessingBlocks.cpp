#include "app/processing/ProcessingBlocks.h"

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/WaveSample.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

CBlockProgress::CBlockProgress(IProgressReporter& reporter, int64_t total) : fReporter(reporter), fTotal(total) {}

void CBlockProgress::BlockDone(int64_t frames) {
    fDone = std::min(fDone + std::max<int64_t>(frames, 0), fTotal);
    fReporter.Progress(fTotal > 0 ? int32_t(fDone * 1000 / fTotal) : 1000);
    ThrowIfStopRequested(fReporter);
}

std::unique_ptr<CABCWaveSample> MakeEmptySampleLike(const CABCWaveSample& source, int32_t frames, bool stereo) {
    try {
        if (source.GetBitDepth() == 24)
            return std::make_unique<C24BitWaveSample>(source.GetSampleRate(), frames, stereo);
        return std::make_unique<C16BitWaveSample>(source.GetSampleRate(), frames, stereo);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the processed wave sample");
    }
}

std::unique_ptr<CABCWaveSample> MakeUnfilledSampleLike(const CABCWaveSample& source) {
    try {
        if (source.GetBitDepth() == 24)
            return std::make_unique<C24BitWaveSample>(source.GetSampleRate(), source.GetFrameCount(), source.IsStereo(),
                                                      EInitialValues::kUnset);
        return std::make_unique<C16BitWaveSample>(source.GetSampleRate(), source.GetFrameCount(), source.IsStereo(),
                                                  EInitialValues::kUnset);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the processed wave sample");
    }
}

void CarryLoopOver(const CABCWaveSample& source, CABCWaveSample& target) {
    if (source.IsLoopSet()) target.SetLocators(source.GetLoopKind(), source.GetLeftLocator(), source.GetRightLocator());
}

void CopyChannelFrames(const CABCWaveSample& source, int32_t sourceChannel, int32_t sourceStart,
                       CABCWaveSample& target, int32_t targetChannel, int32_t targetStart, int32_t frames,
                       std::vector<int32_t>& buffer, CBlockProgress& progress) {
    if (buffer.size() < size_t(std::min(frames, kProcessingBlockFrames)))
        throw NSMishap::XStdInvalidArgument("copy buffer shorter than a block");
    // The 24-bit integer scale holds a 16-bit value times 256, so the copy is exact for both depths.
    ForEachBlock(0, frames, progress, [&](int32_t offset, int32_t count) {
        source.Get24s(sourceStart + offset, count, buffer.data(), sourceChannel);
        target.Set24s(targetStart + offset, count, buffer.data(), targetChannel);
    });
}

}  // namespace NSQuillet
