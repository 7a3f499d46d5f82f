#include "engine/PlayList.h"

#include <algorithm>
#include <cmath>

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/MulDiv.h"

namespace NSQuillet {

namespace {

void AddSplit(std::vector<SPlayListEntry>& entries, int64_t start, int64_t end, const CPlayList::SLoopRange& loop) {
    int64_t cuts[2] = {loop.fLeft, loop.fRight};
    for (int64_t cut : cuts) {
        if (cut > start && cut < end) {
            entries.push_back(SPlayListEntry{int32_t(start), int32_t(cut), int32_t(start), int32_t(cut), 1.0f});
            start = cut;
        }
    }
    if (end > start) entries.push_back(SPlayListEntry{int32_t(start), int32_t(end), int32_t(start), int32_t(end), 1.0f});
}

// Scans `count` frames backwards from `from`, never below `lowest`; a later frame wins ties.
int32_t LoudestBackwards(const CABCWaveSample& sample, int32_t from, int64_t count, int32_t lowest, float& magnitude) {
    int32_t best = from;
    magnitude = std::fabs(sample.GetFloat(from, 1));
    for (int64_t i = 1; i < count && from - i >= lowest; ++i) {
        const int32_t frame = int32_t(from - i);
        const float value = std::fabs(sample.GetFloat(frame, 1));
        if (value > magnitude) {
            magnitude = value;
            best = frame;
        }
    }
    return best;
}

}  // namespace

CPlayList::SLoopRange CPlayList::GetLoopRange(const CABCWaveSample& sample) {
    const int32_t frames = sample.GetFrameCount();
    const int32_t left = std::clamp(sample.GetLeftLocator(), 0, frames);
    return SLoopRange{left, std::clamp(sample.GetRightLocator(), left, frames)};
}

CPlayList CPlayList::Build(const CABCWaveSample* sample, const CSliceSequence* sequence, bool silenceSelected,
                           bool previewActive) {
    std::vector<SPlayListEntry> entries;
    if (!sample) return CPlayList();
    const int32_t frameCount = sample->GetFrameCount();
    const SLoopRange loop = GetLoopRange(*sample);

    std::vector<const CSlice*> active;
    if (sequence) {
        for (const CSlice& slice : sequence->GetSlices()) {
            if (sequence->IsSliceActive(slice) && slice.GetPosition() >= 0 && slice.GetPosition() < frameCount) {
                active.push_back(&slice);
            }
        }
    }
    if (active.empty()) {
        AddSplit(entries, 0, frameCount, loop);
    } else {
        if (active.front()->GetPosition() > 0) AddSplit(entries, 0, active.front()->GetPosition(), loop);
        for (size_t i = 0; i < active.size(); ++i) {
            const CSlice& slice = *active[i];
            if (previewActive && silenceSelected && slice.IsSelected()) continue;
            const int64_t start = slice.GetPosition();
            const int64_t next = i + 1 < active.size() ? active[i + 1]->GetPosition() : frameCount;
            // Stale lengths must not reach past the next active slice.
            const int64_t end = previewActive ? std::min(start + std::max(slice.GetLength(), 1), next) : next;
            AddSplit(entries, start, end, loop);
        }
    }
    if (previewActive) {
        for (SPlayListEntry& entry : entries) AnalyzeEntry(*sample, entry);
    }
    return CPlayList(std::move(entries));
}

void CPlayList::AnalyzeEntry(const CABCWaveSample& sample, SPlayListEntry& entry) {
    const int64_t rate = sample.GetSampleRate();
    const int64_t a = MulDivTruncate(400, rate, 44100);
    const int64_t b = a;
    const int64_t c = MulDivTruncate(20000, rate, 44100);
    entry.fEnvelopeStart = entry.fStart;
    entry.fEnvelopeEnd = entry.fEnd;
    entry.fEnvelopeEndLevel = 1.0f;
    // Below about 111 Hz there is no frame to scan.
    if (b < 1 || int64_t(entry.fEnd) - entry.fStart < a + 2 * b) return;

    float endPeak = 0.0f;
    const int32_t envelopeEnd = LoudestBackwards(sample, int32_t(entry.fEnd - a), b, entry.fStart, endPeak);
    const int64_t d = std::min<int64_t>((int64_t(envelopeEnd) - entry.fStart) / 2, c);
    float startPeak = 0.0f;
    const int32_t envelopeStart = LoudestBackwards(sample, int32_t(envelopeEnd - d), b, entry.fStart, startPeak);
    entry.fEnvelopeStart = envelopeStart;
    entry.fEnvelopeEnd = envelopeEnd;
    entry.fEnvelopeEndLevel = startPeak == 0.0f ? 1.0f : endPeak / startPeak;
}

int32_t CPlayList::IndexAt(int32_t frame) const {
    if (fEntries.empty()) return -1;
    const int32_t before = IndexContaining(frame);
    if (before >= 0) return before;
    auto after = std::upper_bound(fEntries.begin(), fEntries.end(), frame,
                                  [](int32_t f, const SPlayListEntry& e) { return f < e.fStart; });
    return after == fEntries.begin() ? 0 : int32_t(after - fEntries.begin()) - 1;
}

int32_t CPlayList::IndexContaining(int32_t frame) const {
    auto after = std::upper_bound(fEntries.begin(), fEntries.end(), frame,
                                  [](int32_t f, const SPlayListEntry& e) { return f < e.fStart; });
    if (after == fEntries.begin()) return -1;
    const auto found = after - 1;
    return frame < found->fEnd ? int32_t(found - fEntries.begin()) : -1;
}

int32_t CPlayList::FirstStartingAtOrAfter(int32_t frame) const {
    auto found = std::lower_bound(fEntries.begin(), fEntries.end(), frame,
                                  [](const SPlayListEntry& e, int32_t f) { return e.fStart < f; });
    return found == fEntries.end() ? -1 : int32_t(found - fEntries.begin());
}

int32_t CPlayList::FirstInside(const SLoopRange& loop) const {
    const int32_t index = FirstStartingAtOrAfter(loop.fLeft);
    return index >= 0 && IsInside(index, loop) ? index : -1;
}

bool CPlayList::IsInside(int32_t index, const SLoopRange& loop) const {
    if (index < 0 || index >= GetCount()) return false;
    const SPlayListEntry& entry = fEntries[size_t(index)];
    return entry.fStart >= loop.fLeft && entry.fEnd <= loop.fRight;
}

CPlayList::SNextStart CPlayList::NextStart(int32_t start, const SLoopRange& loop, int32_t frameCount) const {
    auto after = std::upper_bound(fEntries.begin(), fEntries.end(), start,
                                  [](int32_t f, const SPlayListEntry& e) { return f < e.fStart; });
    if (after != fEntries.end() && (start >= loop.fRight || after->fStart < loop.fRight)) {
        return SNextStart{true, after->fStart, int64_t(after->fStart) - start};
    }
    const int32_t first = FirstInside(loop);
    if (first < 0) return SNextStart{};
    const int64_t wrap = start < loop.fRight ? loop.fRight : std::max(frameCount, start);
    const int32_t target = fEntries[size_t(first)].fStart;
    return SNextStart{true, target, (wrap - start) + (int64_t(target) - loop.fLeft)};
}

int32_t CPlayList::ResolveStart(int32_t start, const SLoopRange& loop) const {
    const int32_t index = FirstStartingAtOrAfter(start);
    if (index >= 0 && (start >= loop.fRight || fEntries[size_t(index)].fStart < loop.fRight)) return index;
    return FirstInside(loop);
}

}  // namespace NSQuillet
