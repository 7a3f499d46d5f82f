#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/waveform/WaveformDetailViewHandler.h"
#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

class CQuilletDocument;

// One entry of a waveform context menu: its command and its label.
struct SWaveformMenuItem {
    int32_t fCommand = 0;
    std::string fLabel;
    friend bool operator==(const SWaveformMenuItem& a, const SWaveformMenuItem& b) {
        return a.fCommand == b.fCommand && a.fLabel == b.fLabel;
    }
};

// The waveform's context-menu commands besides the window's 20250–20253, 20304 and 20305.
inline constexpr int32_t kSetLeftLocatorToThisSlice = 20254;
inline constexpr int32_t kSetRightLocatorToThisSlice = 20255;
inline constexpr int32_t kSetLoopAroundThisSlice = 20270;
inline constexpr int32_t kMagnifyToFitSlice = 20310;

// The detail view's gestures as document operations: what the group view does for each call
// of IWaveformDetailViewHandler that changes the document, and the context menus' contents and
// commands. Each drag is one undo step (closed at its end); selecting a slice and then
// dragging it merge into one "Move Slice". Shown-slice indices as the detail view counts them.
// User-interface thread.
class CWaveformDocumentGestures {
public:
    // Not owned; outlives this object.
    explicit CWaveformDocumentGestures(CQuilletDocument& document);

    // "Set Loop": left then right, one step.
    void SetLocators(int32_t left, int32_t right);
    // Toggles the shown slice's selection, keeping the others.
    void SliceClickedWithExtend(int32_t shownIndex);
    void BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame);
    void ContinueGesture(int32_t frame);
    void EndGesture();
    EWaveformGesture GetGesture() const { return fGesture; }
    // The slices whose start lies in [start, end] selected, joined with those selected at the
    // begin when `extend`; the step closed at the end.
    void RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend);
    // The slice containing `frame` becomes the current one when it is not already.
    void CursorDraggedTo(int32_t frame);

    // The context menu of the shown slice `shownIndex`, after making it selected when it is
    // not: lock/unlock and mute/unmute by the slice's state, plural when more than one shown
    // slice is selected, then the two locator commands.
    std::vector<SWaveformMenuItem> PrepareSliceMenu(int32_t shownIndex);
    // The waveform's context menu: 20254, 20255, 20270, 20304, 20305, 20310.
    static std::vector<SWaveformMenuItem> WaveformMenu();
    // 20254, 20255 and 20270 about the shown slice containing `frame` (each closing the undo
    // step); false for any other command, which the caller carries out.
    bool DoSliceCommand(int32_t command, int32_t frame);
    // [start, end) of the shown slice containing `frame` (Magnify to Fit Slice); none without one.
    std::optional<SVisibleRange> SliceRangeAt(int32_t frame) const;

private:
    void SetLeftLocator(int32_t frame);
    void SetRightLocator(int32_t frame);
    // One parameter change under the string-table name `nameId`; nothing when both stand there.
    void ChangeLocators(int32_t left, int32_t right, int32_t nameId);

    CQuilletDocument& fDocument;
    EWaveformGesture fGesture = EWaveformGesture::kNone;
    // The dragged slice's index in the full sequence, −1 when none.
    int32_t fSliceIndex = -1;
    // Audition: the full index of the slice played last, −1 after the begin.
    int32_t fLastAuditioned = -1;
    // Range selection: the selection flags of every slice at the begin.
    std::vector<bool> fSelectionAtBegin;
};

}  // namespace NSQuillet
