#include "app/processing/RemoveDCCommand.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ProcessingBlocks.h"
#include "engine/WaveSample.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kCutoffHz = 10.0f;
constexpr int64_t kStartSeconds = 5;

// Float throughout, the state included: the audio is processed as 32-bit float samples and
// nothing in this filter calls for more.
class CDCRemover {
public:
    CDCRemover(const CABCWaveSample& source, CABCWaveSample& target)
        : fSource(source),
          fTarget(target),
          fA(RemoveDCCoefficient(source.GetSampleRate())),
          fB(1.0f - fA),
          fBuffer(AllocateBlockBuffer<float>(source.GetFrameCount())) {}

    int32_t GetStartFrames() const {
        return int32_t(std::min<int64_t>(fSource.GetFrameCount(),
                                         kStartSeconds * ClampSampleRate(fSource.GetSampleRate())));
    }

    void Run(int32_t channel, CBlockProgress& progress) {
        float low = StartingState(channel, progress);
        ForEachBlock(0, fSource.GetFrameCount(), progress, [&](int32_t first, int32_t count) {
            fSource.GetFloats(first, count, fBuffer.data(), channel);
            for (int32_t i = 0; i < count; ++i) {
                const float x = fBuffer[size_t(i)];
                low = x * fB + low * fA;
                fBuffer[size_t(i)] = x - low;
            }
            fTarget.SetFloats(first, count, fBuffer.data(), channel);
        });
    }

private:
    // The low-pass run backwards from the last of the first frames to frame 0, starting at 0.
    float StartingState(int32_t channel, CBlockProgress& progress) {
        float state = 0.0f;
        for (int32_t end = GetStartFrames(); end > 0;) {
            const int32_t first = std::max(0, end - kProcessingBlockFrames);
            fSource.GetFloats(first, end - first, fBuffer.data(), channel);
            for (int32_t i = end - first - 1; i >= 0; --i) state = fA * state + fB * fBuffer[size_t(i)];
            progress.BlockDone(end - first);
            end = first;
        }
        return state;
    }

    const CABCWaveSample& fSource;
    CABCWaveSample& fTarget;
    float fA;
    float fB;
    std::vector<float> fBuffer;
};

}  // namespace

float RemoveDCCoefficient(uint32_t sampleRate) {
    return std::exp(-2.0f * kPi * kCutoffHz / float(ClampSampleRate(sampleRate)));
}

void RemoveDC(CQuilletDocument& document, CQuilletLengthyOperation& operation) {
    const CABCWaveSample& source = document.GetWaveSample();
    operation.SetText(StringReference(NSStringIds::kProgress_RemovingDC).GetText());
    auto target = MakeEmptySampleLike(source, source.GetFrameCount(), source.IsStereo());
    CarryLoopOver(source, *target);
    CDCRemover remover(source, *target);
    CBlockProgress progress(operation,
                            (int64_t(remover.GetStartFrames()) + source.GetFrameCount()) * source.GetChannelCount());
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel) remover.Run(channel, progress);
    document.CloseUndoStep();
    document.PerformWaveSampleChange(std::move(target), UndoText(NSStringIds::kUndo_RemoveDC));
    document.CloseUndoStep();
}

}  // namespace NSQuillet
