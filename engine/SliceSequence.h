#pragma once

#include <cstdint>
#include <vector>

#include "engine/Slice.h"
#include "engine/SliceInserter.h"

namespace NSQuillet {

class CABCWaveSample;
class IProgressReporter;

// The ordered slice points of one loop over the frames of one wave sample, with the
// sensitivity and gate that decide which points count. Positions are unique, ascending and
// inside the sample. Slices below the threshold stay in the list, hidden, so that raising the
// sensitivity brings them back without a new analysis.
//
// User-interface thread only. Commands edit a copy and hand it to an undoable change. Slice
// pointers handed out stay valid until the list changes.
class CSliceSequence : public ISliceInserter {
public:
    static constexpr int32_t kMaximumSensitivity = 99;
    static constexpr int32_t kMaximumGateSensitivity = 999;

    // `waveSample` is not owned and must outlive the sequence; null divides an empty sample.
    explicit CSliceSequence(const CABCWaveSample* waveSample);
    CSliceSequence(const CSliceSequence&) = default;
    CSliceSequence& operator=(const CSliceSequence&) = default;
    virtual ~CSliceSequence();

    const CABCWaveSample* GetWaveSample() const { return fWaveSample; }
    // Every slice, shown or not.
    int32_t GetSliceCount() const { return int32_t(fSlices.size()); }
    const std::vector<CSlice>& GetSlices() const { return fSlices; }
    // Null outside 0..count − 1.
    const CSlice* GetSlice(int32_t index) const;
    CSlice* GetSlice(int32_t index);

    int32_t GetSensitivity() const { return fSensitivity; }
    int32_t GetGateSensitivity() const { return fGateSensitivity; }
    // The level a normal slice must exceed to count.
    int16_t GetThreshold() const { return fThreshold; }

    // Locked always; normal above the threshold; muted never.
    bool IsSliceActive(const CSlice& slice) const;
    // Locked always; normal or muted above the threshold.
    bool IsSliceShown(const CSlice& slice) const;

    // The slice at exactly `frame`, or null.
    const CSlice* FindSliceAt(int32_t frame) const;
    CSlice* FindSliceAt(int32_t frame);
    // The slice nearest `frame`, the earlier on equal distance; null for an empty list.
    const CSlice* FindNearestSlice(int32_t frame) const;
    // The same over active slices; null when none is active.
    const CSlice* FindNearestActiveSlice(int32_t frame) const;

    // Ignored outside [0, frame count). Onto an existing slice at the same position it merges:
    // the larger level, locked when the new one is, un-muted by a normal one; position,
    // length and selection of the existing slice stay. Lengths are stale afterwards.
    void InsertSlice(const CSlice& slice) override;
    // Removes the slice at the given slice's position; false when there is none there.
    bool RemoveSlice(const CSlice& slice);

    // Clamped to 0..99; recomputes the threshold and the lengths.
    void SetSensitivity(int32_t sensitivity);
    // Clamped to 0..999 (0 turns the gate off); recomputes the lengths.
    void SetGateSensitivity(int32_t gateSensitivity);
    // Each active slice sounds up to the next active one (the last to the end of the sample),
    // cut by the gate when it is on; every other slice gets length 1. Reads only the sample's
    // overview; without one the overview counts as silent.
    void UpdateSliceLengths();

    // Inserts every slice point the transient search finds in the whole sample (progress "Finding slices…", 0..1000, to `progress` when given), cleans up frame
    // 0 and updates the lengths. False when the user stopped it; what was found until then
    // stays, and the caller says "Analyze was interrupted!".
    bool Analyze(IProgressReporter* progress);
    // Analyzes afresh and merges what is found into this list: a found slice within 64 frames
    // of an existing one (the nearest, any kind) takes its position, so the user's kinds stay
    // and levels become the larger. False when stopped.
    bool ReAnalyze(IProgressReporter* progress);
    // End of the search: with exactly one slice inserted at frame 0 (the placeholder) the first
    // slice is removed; an empty list then gets a normal slice at 0 with level 16384.
    void EnsureFirstSlice(int32_t zeroCount);

    // A dragged frame snapped: 0 in the first half before the first active slice, `end` in
    // the second half after the last one, else the nearest active slice's position; the frame
    // itself when no slice is active.
    int32_t SnapToActiveSlice(int32_t frame, int32_t end) const;
    // True, with `frame` set to its position, when the first slice of the list (any kind)
    // stands at 1..3999; `frame` is untouched otherwise.
    bool GetFirstSliceOffset(int32_t& frame) const;

    // 32767 − ⌈sensitivity × 32767 / 99⌉ for a sensitivity in 0..99.
    static int16_t ThresholdForSensitivity(int32_t sensitivity);
    // 0.002^(1 − gate/999) in double, stored as float; the envelope level at which the gate
    // ends a slice.
    static float GateThresholdForSensitivity(int32_t gateSensitivity);

private:
    int32_t GetFrameCount() const;
    int32_t GatedLength(int32_t start, int32_t available, float threshold) const;

    std::vector<CSlice> fSlices;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    int16_t fThreshold = 32767;
    const CABCWaveSample* fWaveSample;
};

}  // namespace NSQuillet
