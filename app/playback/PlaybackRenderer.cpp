#include "app/playback/PlaybackRenderer.h"

#include <algorithm>
#include <vector>

#include "app/processing/TargetSampleFormat.h"
#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"

namespace NSQuillet {

namespace {

constexpr int32_t kChunkFrames = 1 << 16;

}  // namespace

std::unique_ptr<CABCWaveSample> RenderLoopPlayback(CQuilletSequencer& sequencer, int32_t frames, int32_t bitDepth,
                                                   IProgressReporter* progress) {
    if (frames < 0) throw NSMishap::XStdInvalidArgument("negative render length");
    if (!IsTargetBitDepth(bitDepth)) throw NSMishap::XStdInvalidArgument("render depth must be 16 or 24");
    const uint32_t rate = sequencer.GetOutputRate();
    std::unique_ptr<CABCWaveSample> output;
    if (bitDepth == 24) {
        output = std::make_unique<C24BitWaveSample>(rate, frames, true);
    } else {
        output = std::make_unique<C16BitWaveSample>(rate, frames, true);
    }
    std::vector<float> left(size_t(std::min(frames, kChunkFrames))), right(left.size());

    sequencer.ResetPlayback();
    sequencer.PlayLoop();
    for (int32_t done = 0; done < frames;) {
        const int32_t count = std::min(frames - done, kChunkFrames);
        sequencer.Render(left.data(), right.data(), count);
        output->SetFloats(done, count, left.data(), 1);
        output->SetFloats(done, count, right.data(), 2);
        done += count;
        if (progress) {
            progress->Progress(int32_t(MulDivTruncate(done, 1000, frames)));
            ThrowIfStopRequested(*progress);
        }
    }
    sequencer.ResetPlayback();
    output->BuildPreview();
    return output;
}

}  // namespace NSQuillet
