#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/PlayListEntry.h"

namespace NSQuillet {

class CABCWaveSample;
class CSliceSequence;

// The regions of the wave sample that sound, in ascending order, none crossing a loop
// locator. Built on the user-interface thread and handed to the audio thread whole; the
// lookups never allocate.
class CPlayList {
public:
    // The loop locators of a sample, clamped into the sample with left ≤ right.
    struct SLoopRange {
        int32_t fLeft = 0;
        int32_t fRight = 0;
    };
    // Where the scheduler goes from a start frame: the next entry's start and the distance to
    // it in sample frames, counting a wrap from the right locator to the left one.
    struct SNextStart {
        bool fFound = false;
        int32_t fStart = 0;
        int64_t fDistance = 0;
    };

    CPlayList() = default;
    explicit CPlayList(std::vector<SPlayListEntry> entries) : fEntries(std::move(entries)) {}

    // Allocates. Active slices give one region each: up to the next active slice, or with
    // preview active over their gated length. A leading region covers the frames before the
    // first active slice, the whole sample is one region when none is active, and with
    // preview active and `silenceSelected` a selected slice gets none. Regions are split at
    // locators strictly inside them; envelope fields come from AnalyzeEntry with preview
    // active. Null sample: an empty list.
    static CPlayList Build(const CABCWaveSample* sample, const CSliceSequence* sequence, bool silenceSelected,
                           bool previewActive);
    // Fills the envelope fields of `entry` from channel 1 of `sample`: the loudest frame
    // shortly before the end is the envelope end, the loudest one some way before it the
    // envelope start. Short entries keep the whole region with level 1.0.
    static void AnalyzeEntry(const CABCWaveSample& sample, SPlayListEntry& entry);
    static SLoopRange GetLoopRange(const CABCWaveSample& sample);

    bool IsEmpty() const { return fEntries.empty(); }
    int32_t GetCount() const { return int32_t(fEntries.size()); }
    const std::vector<SPlayListEntry>& GetEntries() const { return fEntries; }
    const SPlayListEntry& operator[](int32_t index) const { return fEntries[std::size_t(index)]; }

    // The entry containing `frame`, else the last one starting before it, else the first;
    // -1 when empty.
    int32_t IndexAt(int32_t frame) const;
    // The entry containing `frame`, or -1.
    int32_t IndexContaining(int32_t frame) const;
    // The first entry with start ≥ `frame`, or -1.
    int32_t FirstStartingAtOrAfter(int32_t frame) const;
    // The first entry wholly inside [left, right), or -1.
    int32_t FirstInside(const SLoopRange& loop) const;
    bool IsInside(int32_t index, const SLoopRange& loop) const;

    // The entry that follows one starting at `start`: the next in order while it starts
    // before the right locator, else the first inside the loop (from past the right locator,
    // after the sample's end at `frameCount`).
    SNextStart NextStart(int32_t start, const SLoopRange& loop, int32_t frameCount) const;
    // The entry to start for a scheduled start frame, the list having possibly been rebuilt
    // meanwhile: the first starting at or after it, wrapping into the loop as NextStart does.
    int32_t ResolveStart(int32_t start, const SLoopRange& loop) const;

private:
    std::vector<SPlayListEntry> fEntries;
};

}  // namespace NSQuillet
