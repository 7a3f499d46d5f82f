#pragma once

#include <cstdint>
#include <vector>

#include "engine/SliceKind.h"

namespace NSQuillet {

class CSliceSequence;

// A shown slice as the detail view draws and hit-tests it.
struct SWaveformMarkerSlice {
    int32_t fPosition = 0;
    ESliceKind fKind = ESliceKind::kNormal;
    bool fSelected = false;
    friend bool operator==(const SWaveformMarkerSlice& a, const SWaveformMarkerSlice& b) {
        return a.fPosition == b.fPosition && a.fKind == b.fKind && a.fSelected == b.fSelected;
    }
};

// The shown slices of `sequence`, in order (the views' slice list; indices count these).
std::vector<SWaveformMarkerSlice> MakeWaveformMarkerSlices(const CSliceSequence& sequence);
// The index in the full sequence of the `shownIndex`-th shown slice; −1 when there is none.
int32_t FindFullSliceIndex(const CSliceSequence& sequence, int32_t shownIndex);
// The shown slice containing `frame`: the last shown slice starting at or before it; −1 (full
// index) when none does.
int32_t FindShownSliceContaining(const CSliceSequence& sequence, int32_t frame);
// [start, end) of the shown slice at full index `index`: its end is the next shown slice's
// start, or the sample's frame count.
struct SSliceExtent {
    int32_t fStart = 0;
    int32_t fEnd = 0;
};
SSliceExtent GetShownSliceExtent(const CSliceSequence& sequence, int32_t index);

}  // namespace NSQuillet
