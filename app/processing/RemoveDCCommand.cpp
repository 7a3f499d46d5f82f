#include "app/processing/RemoveDCCommand.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ParallelChannels.h"
#include "app/processing/ProcessingBlocks.h"
#include "engine/WaveSample.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kCutoffHz = 10.0f;
constexpr int64_t kStartSeconds = 5;

// The frames converted and filtered at a time: small enough that the block stays in the
// cache between reading, filtering and writing.
constexpr int32_t kChunkFrames = 16384;

// Float throughout, the state included: the audio is processed as 32-bit float samples and
// nothing in this filter calls for more. One remover for each channel, each with its own
// buffer, so the channels may run at once.
class CDCRemover {
public:
    CDCRemover(const CABCWaveSample& source, CABCWaveSample& target, int32_t channel)
        : fSource(source),
          fTarget(target),
          fChannel(channel),
          fA(RemoveDCCoefficient(source.GetSampleRate())),
          fB(1.0f - fA),
          fBuffer(AllocateBlockBuffer<float>(std::min(source.GetFrameCount(), kChunkFrames))) {}

    int32_t GetStartFrames() const {
        return int32_t(std::min<int64_t>(fSource.GetFrameCount(),
                                         kStartSeconds * ClampSampleRate(fSource.GetSampleRate())));
    }

    void Run(CChannelProgress& progress) {
        float low = StartingState(progress);
        ForEachBlock(0, fSource.GetFrameCount(), progress, [&](int32_t first, int32_t count) {
            for (int32_t done = 0; done < count; done += kChunkFrames)
                low = FilterChunk(first + done, std::min(count - done, kChunkFrames), low);
        });
    }

private:
    float FilterChunk(int32_t first, int32_t count, float low) {
        fSource.GetFloats(first, count, fBuffer.data(), fChannel);
        low = Filter(fBuffer.data(), count, fA, fB, low);
        fTarget.SetFloats(first, count, fBuffer.data(), fChannel);
        return low;
    }

    // Apart from the calls around it, so that the state and coefficients stay in registers
    // (spilled across calls, each step would wait on memory).
    [[gnu::noinline]] static float Filter(float* buffer, int32_t count, float a, float b, float low) {
        for (int32_t i = 0; i < count; ++i) {
            const float x = buffer[i];
            low = x * b + low * a;
            buffer[i] = x - low;
        }
        return low;
    }

    [[gnu::noinline]] static float FilterBackward(const float* buffer, int32_t count, float a, float b, float state) {
        for (int32_t i = count - 1; i >= 0; --i) state = a * state + b * buffer[i];
        return state;
    }

    // The low-pass run backwards from the last of the first frames to frame 0, starting at 0.
    float StartingState(CChannelProgress& progress) {
        float state = 0.0f;
        for (int32_t end = GetStartFrames(); end > 0;) {
            const int32_t blockFirst = std::max(0, end - kProcessingBlockFrames);
            for (int32_t chunkEnd = end; chunkEnd > blockFirst;) {
                const int32_t first = std::max(blockFirst, chunkEnd - kChunkFrames);
                fSource.GetFloats(first, chunkEnd - first, fBuffer.data(), fChannel);
                state = FilterBackward(fBuffer.data(), chunkEnd - first, fA, fB, state);
                chunkEnd = first;
            }
            progress.BlockDone(end - blockFirst);
            end = blockFirst;
        }
        return state;
    }

    const CABCWaveSample& fSource;
    CABCWaveSample& fTarget;
    int32_t fChannel;
    float fA;
    float fB;
    std::vector<float> fBuffer;
};

// `target` may be `source` itself: each chunk is read before it is written, and the starting
// state is found before the first write.
void FilterChannels(const CABCWaveSample& source, CABCWaveSample& target, CQuilletLengthyOperation& operation) {
    const int32_t channels = source.GetChannelCount();
    std::vector<std::unique_ptr<CDCRemover>> removers;
    for (int32_t channel = 1; channel <= channels; ++channel)
        removers.push_back(std::make_unique<CDCRemover>(source, target, channel));
    CBlockProgress progress(operation, (int64_t(removers[0]->GetStartFrames()) + source.GetFrameCount()) * channels);
    RunChannelsInParallel(channels, source.GetFrameCount(), progress, [&](int32_t channel, CChannelProgress& part) {
        removers[size_t(channel - 1)]->Run(part);
    });
}

}  // namespace

float RemoveDCCoefficient(uint32_t sampleRate) {
    return std::exp(-2.0f * kPi * kCutoffHz / float(ClampSampleRate(sampleRate)));
}

void RemoveDC(CQuilletDocument& document, CQuilletLengthyOperation& operation) {
    const CABCWaveSample& source = document.GetWaveSample();
    operation.SetText(StringReference(NSStringIds::kProgress_RemovingDC).GetText());
    // Each channel's run writes every frame.
    auto target = MakeUnfilledSampleLike(source);
    CarryLoopOver(source, *target);
    FilterChannels(source, *target, operation);
    document.CloseUndoStep();
    document.PerformWaveSampleChange(std::move(target), UndoText(NSStringIds::kUndo_RemoveDC));
    document.CloseUndoStep();
}

void RemoveDCInPlace(CABCWaveSample& sample, CQuilletLengthyOperation& operation) {
    operation.SetText(StringReference(NSStringIds::kProgress_RemovingDC).GetText());
    FilterChannels(sample, sample, operation);
}

}  // namespace NSQuillet
