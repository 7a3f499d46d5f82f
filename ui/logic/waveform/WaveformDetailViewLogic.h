#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/document/ViewAndEditAttributes.h"
#include "ui/logic/waveform/PlainMouseEvent.h"
#include "ui/logic/waveform/WaveformDetailViewHandler.h"
#include "ui/logic/waveform/WaveformDisplayModel.h"
#include "ui/logic/waveform/WaveformGeometry.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"

namespace NSQuillet {

class CABCWaveSample;
struct SMarkerPicture;

enum class EDetailDragState {
    kIdle,
    kLeftLocator,
    kRightLocator,
    kPlaybackCursor,
    kSlice,
    kRangeBothFree,
    kRangeMovingStart,
    kRangeMovingEnd,
    kPenInsert,
    kAudition,
    kMagnify,
};

// The detail view without its drawing: its state, the marker hit rectangles, and the mouse
// turned into calls on its handler (the group view), which changes the document. The widget
// forwards plain mouse values, sets what the group view copies in, and draws what this answers.
// User-interface thread.
class CWaveformDetailViewLogic {
public:
    // Not owned; outlives this object.
    explicit CWaveformDetailViewLogic(IWaveformDetailViewHandler& handler);

    // What the group view copies in. The sample is read by the zero-crossing snap (not owned;
    // null: none, positions are not snapped); the slices are the shown ones.
    void SetModel(const SWaveformDisplayModel& model) { fModel = model; }
    void SetSample(const CABCWaveSample* sample) { fSample = sample; }
    void SetSlices(std::vector<SWaveformMarkerSlice> slices) { fSlices = std::move(slices); }
    void SetViewSize(int32_t width, int32_t height);
    void SetVisibleRange(SVisibleRange range) { fGeometry.SetRange(range); }
    void SetPlaybackCursor(int32_t frame) { fPlaybackCursor = frame; }
    // One of the EEditTool values.
    void SetTool(uint32_t tool) { fTool = tool; }
    // Changes the factor (clamped to [1, 16]) without reporting it.
    void SetVerticalZoom(double factor);

    const SWaveformDisplayModel& GetModel() const { return fModel; }
    const std::vector<SWaveformMarkerSlice>& GetSlices() const { return fSlices; }
    const CWaveformGeometry& GetGeometry() const { return fGeometry; }
    SVisibleRange GetVisibleRange() const { return fGeometry.GetRange(); }
    int32_t GetPlaybackCursor() const { return fPlaybackCursor; }
    uint32_t GetTool() const { return fTool; }
    double GetVerticalZoom() const { return fVerticalZoom; }

    // Hit rectangles: each picture placed with its hot spot on the marker's x; slice markers
    // and the cursor with their bottom one pixel above the strip's bottom, the locators at the
    // strip's top, widened by 2 px outward.
    SViewRect GetSliceMarkerRect(int32_t shownIndex) const;
    SViewRect GetLeftLocatorRect() const;
    SViewRect GetRightLocatorRect() const;
    SViewRect GetPlaybackCursorRect() const;

    // The mouse. A press in the marker strip or the waveform starts a drag by the rules of the
    // strip and the tool; moves continue it; the release ends it. A secondary press is a
    // context click (on a slice marker or in the waveform).
    void MouseDown(const SPlainMouseEvent& event);
    void MouseMove(const SPlainMouseEvent& event);
    void MouseUp(const SPlainMouseEvent& event);
    // While a captured drag is outside the view: scrolls `steps` × 64 pixels (through the
    // handler's SetVisibleRange) and continues the drag at the last mouse position.
    void AutoScroll(int32_t steps);

    EDetailDragState GetDragState() const { return fDragState; }
    // Every drag but the range selection captures the mouse and auto-scrolls.
    bool IsCapturing() const;
    // A press or a drag is in progress (the playback follow waits).
    bool IsBusyWithMouse() const { return fDragState != EDetailDragState::kIdle || fMagnifyPending; }
    // The skin cursor of the drag state; 0: the default one.
    int32_t GetCursorId() const;
    // The frames the magnify band covers, ordered; none outside a magnify drag.
    std::optional<SVisibleRange> GetMagnifyBand() const;
    // The shown index of the slice being dragged, −1 when none.
    int32_t GetDraggedSlice() const { return fDraggedSlice; }

    // The zoom rules on the visible range; each reports a change through SetVisibleRange.
    // `around` −1: around the playback cursor.
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    bool CanScrollLeft() const;
    bool CanScrollRight() const;
    void ZoomIn(int32_t around = -1);
    void ZoomOut(int32_t around = -1);
    void ScrollLeft();
    void ScrollRight();
    // Multiplies or divides the vertical zoom by 1.25 within [1, 16]; a change is reported
    // through VerticalZoomChanged.
    bool CanVerticalZoomIn() const;
    bool CanVerticalZoomOut() const;
    void VerticalZoomIn();
    void VerticalZoomOut();

private:
    bool InMarkerStrip(const SPlainMouseEvent& event) const;
    bool InWaveform(const SPlainMouseEvent& event) const;
    void StartInMarkerStrip(const SPlainMouseEvent& event);
    void StartInWaveform(const SPlainMouseEvent& event);
    void ContinueDrag(int32_t x);
    void ContinueRange(int32_t frame);
    int32_t FrameUnderMouse(double x) const;
    int32_t SnapSlicePosition(int32_t frame, bool fine) const;
    int32_t SnapLocator(int32_t frame, bool fine) const;
    void ReportVisibleRange(const std::optional<SVisibleRange>& range);
    SViewRect PlaceBottomMarker(const SMarkerPicture& picture, int32_t frame) const;
    int32_t SliceMarkerAt(int32_t x, int32_t y) const;

    IWaveformDetailViewHandler& fHandler;
    SWaveformDisplayModel fModel;
    const CABCWaveSample* fSample = nullptr;
    std::vector<SWaveformMarkerSlice> fSlices;
    CWaveformGeometry fGeometry;
    int32_t fPlaybackCursor = 0;
    uint32_t fTool = kEditTool_Arrow;
    double fVerticalZoom = 1.0;

    EDetailDragState fDragState = EDetailDragState::kIdle;
    float fGrabOffset = 0.0f;
    int32_t fDraggedSlice = -1;
    int32_t fRangeAnchor = -1;
    int32_t fRangeCurrent = -1;
    bool fRangeExtend = false;
    // A magnify press not yet moved: released in place it zooms in by 2.
    bool fMagnifyPending = false;
    int32_t fMagnifyStart = 0;
    int32_t fMagnifyCurrent = 0;
    int32_t fPressX = 0;
    // The last mouse event of the drag, continued after an auto-scroll.
    SPlainMouseEvent fLastEvent;
};

}  // namespace NSQuillet
