#pragma once

#include <cstdint>

#include "ui/logic/waveform/PlainMouseEvent.h"

namespace NSQuillet {

// The gestures reported through begin, continue and end.
enum class EWaveformGesture { kNone, kMoveLeftLocator, kMoveRightLocator, kMoveSlice, kInsertSlice, kAudition };
enum class ERangePhase { kBegin, kContinue, kEnd };

// What the detail view reports; the group view implements it and turns each call into
// document operations. Slice indices count the shown slices. In slot order.
class IWaveformDetailViewHandler {
public:
    virtual void SetLocators(int32_t left, int32_t right) = 0;
    virtual void SliceClickedWithExtend(int32_t shownIndex) = 0;
    virtual void BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame) = 0;
    virtual void ContinueGesture(int32_t frame) = 0;
    virtual void EndGesture() = 0;
    virtual void ContextClickOnSlice(const SPlainMouseEvent& event, int32_t shownIndex) = 0;
    virtual void ContextClickInWaveform(const SPlainMouseEvent& event, int32_t frame) = 0;
    virtual void RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend) = 0;
    virtual void SetVisibleRange(int32_t start, int32_t end) = 0;
    virtual void CursorDraggedTo(int32_t frame) = 0;
    virtual void VerticalZoomChanged(double factor) = 0;

protected:
    ~IWaveformDetailViewHandler() = default;
};

}  // namespace NSQuillet
