#include "engine/SliceSequence.h"

#include <algorithm>
#include <cmath>

#include "engine/TransientSearch.h"
#include "engine/WaveSample.h"
#include "foundation/MulDiv.h"

namespace NSQuillet {

namespace {

constexpr int32_t kFirstGateBlock = 1024;
constexpr int32_t kLaterGateBlock = 128;
constexpr float kGateDecay = 0.9f;
constexpr int32_t kFirstSliceOffsetLimit = 4000;

bool PositionBefore(const CSlice& slice, int32_t frame) { return slice.GetPosition() < frame; }
bool FrameBefore(int32_t frame, const CSlice& slice) { return frame < slice.GetPosition(); }

int64_t Distance(int32_t a, int32_t b) {
    const int64_t d = int64_t(a) - b;
    return d < 0 ? -d : d;
}

}  // namespace

CSliceSequence::CSliceSequence(const CABCWaveSample* waveSample) : fWaveSample(waveSample) {}

CSliceSequence::~CSliceSequence() = default;

const CSlice* CSliceSequence::GetSlice(int32_t index) const {
    return index >= 0 && index < GetSliceCount() ? &fSlices[size_t(index)] : nullptr;
}

CSlice* CSliceSequence::GetSlice(int32_t index) {
    return const_cast<CSlice*>(static_cast<const CSliceSequence*>(this)->GetSlice(index));
}

bool CSliceSequence::IsSliceActive(const CSlice& slice) const {
    switch (slice.GetKind()) {
        case ESliceKind::kLocked: return true;
        case ESliceKind::kNormal: return slice.GetLevel() > fThreshold;
        case ESliceKind::kMuted: return false;
    }
    return false;
}

bool CSliceSequence::IsSliceShown(const CSlice& slice) const {
    return slice.GetKind() == ESliceKind::kLocked || slice.GetLevel() > fThreshold;
}

const CSlice* CSliceSequence::FindSliceAt(int32_t frame) const {
    if (fSlices.empty()) return nullptr;
    // Analysis and readers insert in ascending order, so the last slice answers most calls.
    const CSlice& last = fSlices.back();
    if (last.GetPosition() < frame) return nullptr;
    if (last.GetPosition() == frame) return &last;
    for (const CSlice& slice : fSlices) {
        if (slice.GetPosition() >= frame) return slice.GetPosition() == frame ? &slice : nullptr;
    }
    return nullptr;
}

CSlice* CSliceSequence::FindSliceAt(int32_t frame) {
    return const_cast<CSlice*>(static_cast<const CSliceSequence*>(this)->FindSliceAt(frame));
}

const CSlice* CSliceSequence::FindNearestSlice(int32_t frame) const {
    if (fSlices.empty()) return nullptr;
    const auto after = std::lower_bound(fSlices.begin(), fSlices.end(), frame, PositionBefore);
    if (after == fSlices.begin()) return &*after;
    const auto before = after - 1;
    if (after == fSlices.end()) return &*before;
    return Distance(frame, before->GetPosition()) <= Distance(after->GetPosition(), frame) ? &*before : &*after;
}

const CSlice* CSliceSequence::FindNearestActiveSlice(int32_t frame) const {
    const CSlice* nearest = nullptr;
    int64_t nearestDistance = 0;
    for (const CSlice& slice : fSlices) {
        if (!IsSliceActive(slice)) continue;
        const int64_t distance = Distance(frame, slice.GetPosition());
        if (!nearest || distance < nearestDistance) {
            nearest = &slice;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void CSliceSequence::InsertSlice(const CSlice& slice) {
    const CSlice added = slice;
    const int32_t position = added.GetPosition();
    if (position < 0 || position >= GetFrameCount()) return;
    if (CSlice* existing = FindSliceAt(position)) {
        if (added.GetLevel() > existing->GetLevel()) existing->SetLevel(added.GetLevel());
        if (added.GetKind() == ESliceKind::kLocked) {
            existing->SetKind(ESliceKind::kLocked);
        } else if (added.GetKind() == ESliceKind::kNormal && existing->GetKind() == ESliceKind::kMuted) {
            existing->SetKind(ESliceKind::kNormal);
        }
        return;
    }
    if (!fSlices.empty() && fSlices.back().GetPosition() < position) {
        fSlices.push_back(added);
    } else {
        fSlices.insert(std::upper_bound(fSlices.begin(), fSlices.end(), position, FrameBefore), added);
    }
}

bool CSliceSequence::RemoveSlice(const CSlice& slice) {
    const int32_t position = slice.GetPosition();
    const auto at = std::lower_bound(fSlices.begin(), fSlices.end(), position, PositionBefore);
    if (at == fSlices.end() || at->GetPosition() != position) return false;
    fSlices.erase(at);
    return true;
}

int16_t CSliceSequence::ThresholdForSensitivity(int32_t sensitivity) {
    return int16_t(32767 - MulDivRoundUp(sensitivity, 32767, kMaximumSensitivity));
}

float CSliceSequence::GateThresholdForSensitivity(int32_t gateSensitivity) {
    const double base = double(0.002f);
    return float(std::pow(base, 1.0 - double(gateSensitivity) / double(kMaximumGateSensitivity)));
}

void CSliceSequence::SetSensitivity(int32_t sensitivity) {
    fSensitivity = std::clamp(sensitivity, 0, kMaximumSensitivity);
    fThreshold = ThresholdForSensitivity(fSensitivity);
    UpdateSliceLengths();
}

void CSliceSequence::SetGateSensitivity(int32_t gateSensitivity) {
    fGateSensitivity = std::clamp(gateSensitivity, 0, kMaximumGateSensitivity);
    UpdateSliceLengths();
}

int32_t CSliceSequence::GetFrameCount() const { return fWaveSample ? fWaveSample->GetFrameCount() : 0; }

int32_t CSliceSequence::GatedLength(int32_t start, int32_t available, float threshold) const {
    const CWaveSamplePreview* preview = fWaveSample ? fWaveSample->GetPreview() : nullptr;
    float envelope = 1.0f;
    int32_t block = kFirstGateBlock;
    int64_t position = start;
    const int64_t end = int64_t(start) + available;
    int32_t taken = 0;
    while (position < end) {
        const int32_t frames = int32_t(std::min<int64_t>(end - position, block));
        const float peak = preview ? preview->GetRangePeak(int32_t(position), frames) : 0.0f;
        position += frames;
        taken += frames;
        if (peak > envelope) {
            envelope = peak;
        } else {
            envelope = envelope * kGateDecay;
            if (threshold > envelope) return taken;
        }
        block = kLaterGateBlock;
    }
    return taken;
}

bool CSliceSequence::Analyze(IProgressReporter* progress) {
    bool completed = true;
    if (fWaveSample) {
        CTransientSearch search(*fWaveSample, *this);
        completed = search.Run(progress);
        EnsureFirstSlice(search.GetZeroCount());
    }
    UpdateSliceLengths();
    return completed;
}

bool CSliceSequence::ReAnalyze(IProgressReporter* progress) {
    constexpr int32_t kMergeDistance = 65;
    CSliceSequence found(fWaveSample);
    const bool completed = found.Analyze(progress);
    for (CSlice slice : found.fSlices) {
        const CSlice* nearest = FindNearestSlice(slice.GetPosition());
        if (nearest && std::abs(int64_t(nearest->GetPosition()) - slice.GetPosition()) < kMergeDistance) {
            slice.SetPosition(nearest->GetPosition());
        }
        InsertSlice(slice);
    }
    UpdateSliceLengths();
    return completed;
}

void CSliceSequence::EnsureFirstSlice(int32_t zeroCount) {
    if (zeroCount == 1 && !fSlices.empty()) fSlices.erase(fSlices.begin());
    if (fSlices.empty()) InsertSlice(CSlice(0, CSlice::kInsertedLevel, ESliceKind::kNormal));
}

void CSliceSequence::UpdateSliceLengths() {
    const bool gated = fGateSensitivity > 0;
    const float threshold = gated ? GateThresholdForSensitivity(fGateSensitivity) : 0.0f;
    auto sounding = [&](int32_t start, int64_t available) {
        const int32_t frames = int32_t(std::max<int64_t>(available, 1));
        return gated ? GatedLength(start, frames, threshold) : frames;
    };

    CSlice* active = nullptr;
    for (CSlice& slice : fSlices) {
        if (!IsSliceActive(slice)) {
            slice.SetLength(1);
            continue;
        }
        if (active) active->SetLength(sounding(active->GetPosition(), int64_t(slice.GetPosition()) - active->GetPosition()));
        active = &slice;
    }
    if (active) active->SetLength(sounding(active->GetPosition(), int64_t(GetFrameCount()) - active->GetPosition()));
}

int32_t CSliceSequence::SnapToActiveSlice(int32_t frame, int32_t end) const {
    const CSlice* first = nullptr;
    const CSlice* last = nullptr;
    for (const CSlice& slice : fSlices) {
        if (!IsSliceActive(slice)) continue;
        if (!first) first = &slice;
        last = &slice;
    }
    if (!first) return frame;
    if (frame < first->GetPosition() / 2) return 0;
    if (int64_t(frame) > int64_t(last->GetPosition()) + (int64_t(end) - last->GetPosition()) / 2) return end;
    return FindNearestActiveSlice(frame)->GetPosition();
}

bool CSliceSequence::GetFirstSliceOffset(int32_t& frame) const {
    if (fSlices.empty()) return false;
    const int32_t position = fSlices.front().GetPosition();
    if (position < 1 || position >= kFirstSliceOffsetLimit) return false;
    frame = position;
    return true;
}

}  // namespace NSQuillet
