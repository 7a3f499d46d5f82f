#include "ui/logic/waveform/WaveformMarkerSlice.h"

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

std::vector<SWaveformMarkerSlice> MakeWaveformMarkerSlices(const CSliceSequence &sequence) {
    std::vector<SWaveformMarkerSlice> shown;
    for (const CSlice &slice : sequence.GetSlices()) {
        if (sequence.IsSliceShown(slice)) shown.push_back({slice.GetPosition(), slice.GetKind(), slice.IsSelected()});
    }
    return shown;
}

int32_t FindFullSliceIndex(const CSliceSequence &sequence, int32_t shownIndex) {
    if (shownIndex < 0) return -1;
    int32_t shownSoFar = 0;
    for (int32_t index = 0; index < sequence.GetSliceCount(); ++index) {
        if (!sequence.IsSliceShown(*sequence.GetSlice(index))) continue;
        if (shownSoFar == shownIndex) return index;
        ++shownSoFar;
    }
    return -1;
}

int32_t FindShownSliceContaining(const CSliceSequence &sequence, int32_t frame) {
    int32_t found = -1;
    for (int32_t index = 0; index < sequence.GetSliceCount(); ++index) {
        const CSlice &slice = *sequence.GetSlice(index);
        if (slice.GetPosition() > frame) break;
        if (sequence.IsSliceShown(slice)) found = index;
    }
    return found;
}

SSliceExtent GetShownSliceExtent(const CSliceSequence &sequence, int32_t index) {
    const CSlice *slice = sequence.GetSlice(index);
    if (slice == nullptr) return {};
    const CABCWaveSample *sample = sequence.GetWaveSample();
    SSliceExtent extent{slice->GetPosition(), sample != nullptr ? sample->GetFrameCount() : slice->GetPosition()};
    for (int32_t next = index + 1; next < sequence.GetSliceCount(); ++next) {
        if (sequence.IsSliceShown(*sequence.GetSlice(next))) {
            extent.fEnd = sequence.GetSlice(next)->GetPosition();
            break;
        }
    }
    return extent;
}

}  // namespace NSQuillet
