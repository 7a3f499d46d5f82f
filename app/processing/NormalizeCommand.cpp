#include "app/processing/NormalizeCommand.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ProcessingBlocks.h"
#include "app/resources/Alert.h"
#include "app/resources/AlertIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

constexpr float kGainMargin = 0.0000152587890625f;  // 2^-16
// "[Cancel][Each Slice][Whole File]", answered from the right.
constexpr int32_t kAnswer_WholeFile = kAlertAnswerOfRightmostButton;
constexpr int32_t kAnswer_EachSlice = kAlertAnswerOfRightmostButton + 1;
// How many values the peak search takes between its looks at the early end.
constexpr int32_t kPeakStretch = 1024;

// The larger of `peak` and the largest magnitude in values[0, count), four values a step.
float PeakOf(const float* values, int32_t count, float peak) {
    float p0 = peak;
    float p1 = peak;
    float p2 = peak;
    float p3 = peak;
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        p0 = std::max(p0, std::fabs(values[i]));
        p1 = std::max(p1, std::fabs(values[i + 1]));
        p2 = std::max(p2, std::fabs(values[i + 2]));
        p3 = std::max(p3, std::fabs(values[i + 3]));
    }
    for (; i < count; ++i) p0 = std::max(p0, std::fabs(values[i]));
    return std::max(std::max(p0, p1), std::max(p2, p3));
}

bool IsWorthNormalizing(float peak) { return peak > 0.0f && peak < kNormalizedPeak; }

// A stretch of frames that is either scaled by its own peak's gain or copied unchanged.
struct SSegment {
    int32_t fStart;
    int32_t fFrames;
    bool fNormalize;
};

class CNormalizer {
public:
    CNormalizer(const CABCWaveSample& source, CABCWaveSample& target)
        : fSource(source),
          fTarget(target),
          fFloats(AllocateBlockBuffer<float>(source.GetFrameCount())),
          fIntegers(AllocateBlockBuffer<int32_t>(source.GetFrameCount())) {}

    // Over every channel; ends early once the peak reaches kPeakSearchEnd.
    float SearchPeak(int32_t start, int32_t frames, CBlockProgress& progress, bool countFrames) {
        float peak = 0.0f;
        for (int32_t channel = 1; channel <= fSource.GetChannelCount() && peak < kPeakSearchEnd; ++channel) {
            ForEachBlock(start, frames, progress, [&](int32_t first, int32_t count) {
                fSource.GetFloats(first, count, fFloats.data(), channel);
                for (int32_t done = 0; done < count && peak < kPeakSearchEnd; done += kPeakStretch)
                    peak = PeakOf(fFloats.data() + done, std::min(kPeakStretch, count - done), peak);
                return peak < kPeakSearchEnd;
            }, countFrames);
        }
        return peak;
    }

    void Scale(int32_t start, int32_t frames, float gain, CBlockProgress& progress) {
        for (int32_t channel = 1; channel <= fSource.GetChannelCount(); ++channel) {
            ForEachBlock(start, frames, progress, [&](int32_t first, int32_t count) {
                fSource.GetFloats(first, count, fFloats.data(), channel);
                for (int32_t i = 0; i < count; ++i) fFloats[size_t(i)] *= gain;
                fTarget.SetFloats(first, count, fFloats.data(), channel);
            });
        }
    }

    void Copy(int32_t start, int32_t frames, CBlockProgress& progress) {
        for (int32_t channel = 1; channel <= fSource.GetChannelCount(); ++channel)
            CopyChannelFrames(fSource, channel, start, fTarget, channel, start, frames, fIntegers, progress);
    }

private:
    const CABCWaveSample& fSource;
    CABCWaveSample& fTarget;
    std::vector<float> fFloats;
    std::vector<int32_t> fIntegers;
};

std::unique_ptr<CABCWaveSample> MakeTarget(const CABCWaveSample& source) {
    auto target = MakeEmptySampleLike(source, source.GetFrameCount(), source.IsStereo());
    CarryLoopOver(source, *target);
    return target;
}

std::unique_ptr<CABCWaveSample> NormalizeWholeFile(const CABCWaveSample& source, CQuilletLengthyOperation& operation) {
    const int64_t channelFrames = int64_t(source.GetFrameCount()) * source.GetChannelCount();
    operation.SetText(StringReference(NSStringIds::kProgress_NormalizingSearchingPeak).GetText());
    auto target = MakeTarget(source);
    CNormalizer normalizer(source, *target);
    CBlockProgress search(operation, channelFrames);
    const float peak = normalizer.SearchPeak(0, source.GetFrameCount(), search, true);
    if (!IsWorthNormalizing(peak)) return nullptr;

    operation.SetText(StringReference(NSStringIds::kProgress_NormalizingChangingGain).GetText());
    CBlockProgress scale(operation, channelFrames);
    normalizer.Scale(0, source.GetFrameCount(), NormalizeGain(peak), scale);
    return target;
}

// The shown slices cut the sample; a muted one's stretch stays as it is.
std::vector<SSegment> SegmentsOfShownSlices(const CSliceSequence& sequence, int32_t frames) {
    std::vector<SSegment> segments;
    int32_t start = 0;
    bool normalize = false;
    for (const CSlice& slice : sequence.GetSlices()) {
        if (!sequence.IsSliceShown(slice) || slice.GetPosition() >= frames) continue;
        if (slice.GetPosition() > start) segments.push_back({start, slice.GetPosition() - start, normalize});
        start = slice.GetPosition();
        normalize = slice.GetKind() != ESliceKind::kMuted;
    }
    if (frames > start) segments.push_back({start, frames - start, normalize});
    return segments;
}

std::unique_ptr<CABCWaveSample> NormalizeEachSlice(const CABCWaveSample& source, const CSliceSequence& sequence,
                                                   CQuilletLengthyOperation& operation) {
    operation.SetText(StringReference(NSStringIds::kProgress_NormalizingChangingGain).GetText());
    auto target = MakeTarget(source);
    CNormalizer normalizer(source, *target);
    // Progress counts the frames written; the searches only poll Stop.
    CBlockProgress progress(operation, int64_t(source.GetFrameCount()) * source.GetChannelCount());
    bool changed = false;
    for (const SSegment& segment : SegmentsOfShownSlices(sequence, source.GetFrameCount())) {
        const float peak =
            segment.fNormalize ? normalizer.SearchPeak(segment.fStart, segment.fFrames, progress, false) : 0.0f;
        if (IsWorthNormalizing(peak)) {
            normalizer.Scale(segment.fStart, segment.fFrames, NormalizeGain(peak), progress);
            changed = true;
        } else {
            normalizer.Copy(segment.fStart, segment.fFrames, progress);
        }
    }
    return changed ? std::move(target) : nullptr;
}

}  // namespace

float NormalizeGain(float peak) { return 1.0f / peak - kGainMargin; }

std::optional<ENormalizeScope> AskNormalizeScope() {
    switch (ShowAlert(AlertReference(NSAlertIds::kNormalizeWholeOrSlices))) {
        case kAnswer_WholeFile:
            return ENormalizeScope::kWholeFile;
        case kAnswer_EachSlice:
            return ENormalizeScope::kEachSlice;
        default:
            return std::nullopt;
    }
}

bool Normalize(CQuilletDocument& document, CQuilletLengthyOperation& operation, ENormalizeScope scope) {
    const CABCWaveSample& source = document.GetWaveSample();
    std::unique_ptr<CABCWaveSample> normalized = scope == ENormalizeScope::kWholeFile
                                                     ? NormalizeWholeFile(source, operation)
                                                     : NormalizeEachSlice(source, document.GetSliceSequence(), operation);
    if (!normalized) {
        ShowAlert(AlertReference(NSAlertIds::kAlreadyNormalized));
        return false;
    }
    document.CloseUndoStep();
    document.PerformWaveSampleChange(std::move(normalized), UndoText(NSStringIds::kUndo_Normalize));
    document.CloseUndoStep();
    return true;
}

}  // namespace NSQuillet
