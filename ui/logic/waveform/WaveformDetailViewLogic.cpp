#include "ui/logic/waveform/WaveformDetailViewLogic.h"

#include <algorithm>

#include "ui/logic/waveform/WaveformMarkerPictures.h"
#include "ui/logic/waveform/WaveformRangeRules.h"
#include "ui/logic/waveform/WaveformSnapping.h"

namespace NSQuillet {

namespace {

// The skin cursors of the drag states.
constexpr int32_t kRangeCursorId = 1401;
constexpr int32_t kMagnifyCursorId = 1500;
constexpr int32_t kPenCursorId = 1700;
constexpr int32_t kAuditionCursorId = 1701;

// Widening of the locator handles' hit rectangles, outward.
constexpr int32_t kLocatorHitWidening = 2;

bool IsRangeState(EDetailDragState state) {
    return state == EDetailDragState::kRangeBothFree || state == EDetailDragState::kRangeMovingStart ||
           state == EDetailDragState::kRangeMovingEnd;
}

}  // namespace

CWaveformDetailViewLogic::CWaveformDetailViewLogic(IWaveformDetailViewHandler& handler) : fHandler(handler) {}

void CWaveformDetailViewLogic::SetViewSize(int32_t width, int32_t height) {
    fGeometry = CWaveformGeometry(width, height, fGeometry.GetRange());
}

void CWaveformDetailViewLogic::SetVerticalZoom(double factor) {
    fVerticalZoom = std::clamp(factor, NSWaveformRange::kMinVerticalZoom, NSWaveformRange::kMaxVerticalZoom);
}

// --- Marker rectangles ---

SViewRect CWaveformDetailViewLogic::PlaceBottomMarker(const SMarkerPicture& picture, int32_t frame) const {
    // The picture's last row one pixel above the strip's last row.
    const SViewRect strip = fGeometry.GetMarkerStrip();
    return {fGeometry.FrameToX(frame) - picture.fHotX, strip.Bottom() - 1 - picture.fHeight, picture.fWidth,
            picture.fHeight};
}

SViewRect CWaveformDetailViewLogic::GetSliceMarkerRect(int32_t shownIndex) const {
    if (shownIndex < 0 || shownIndex >= int32_t(fSlices.size())) return {};
    const SWaveformMarkerSlice& slice = fSlices[size_t(shownIndex)];
    return PlaceBottomMarker(GetSliceMarkerPicture(slice.fKind, slice.fSelected), slice.fPosition);
}

SViewRect CWaveformDetailViewLogic::GetLeftLocatorRect() const {
    const SMarkerPicture picture = GetLeftLocatorPicture(true);
    const int32_t left = fGeometry.FrameToX(fModel.fLeftLocator) - picture.fHotX;
    return {left - kLocatorHitWidening, fGeometry.GetMarkerStrip().fTop, picture.fWidth + kLocatorHitWidening,
            picture.fHeight};
}

SViewRect CWaveformDetailViewLogic::GetRightLocatorRect() const {
    const SMarkerPicture picture = GetRightLocatorPicture(true);
    const int32_t left = fGeometry.FrameToX(fModel.fRightLocator) - picture.fHotX;
    return {left, fGeometry.GetMarkerStrip().fTop, picture.fWidth + kLocatorHitWidening, picture.fHeight};
}

SViewRect CWaveformDetailViewLogic::GetPlaybackCursorRect() const {
    return PlaceBottomMarker(GetPlaybackCursorPicture(true), fPlaybackCursor);
}

int32_t CWaveformDetailViewLogic::SliceMarkerAt(int32_t x, int32_t y) const {
    for (int32_t index = 0; index < int32_t(fSlices.size()); ++index)
        if (GetSliceMarkerRect(index).Contains(x, y)) return index;
    return -1;
}

// --- Mouse ---

// The strip and the waveform span the whole view width: the handles of markers at the sample's
// ends reach into the inset, and frames under the inset clamp to the visible range's ends.
bool CWaveformDetailViewLogic::InMarkerStrip(const SPlainMouseEvent& event) const {
    const SViewRect strip = fGeometry.GetMarkerStrip();
    return event.fX >= 0 && event.fX < fGeometry.GetViewWidth() && event.fY >= strip.fTop && event.fY < strip.Bottom();
}

bool CWaveformDetailViewLogic::InWaveform(const SPlainMouseEvent& event) const {
    const SViewRect area = fGeometry.GetWaveformArea();
    return event.fX >= 0 && event.fX < fGeometry.GetViewWidth() && event.fY >= area.fTop && event.fY < area.Bottom();
}

int32_t CWaveformDetailViewLogic::FrameUnderMouse(double x) const {
    return fGeometry.XToFrame(x, 0, std::max(0, fModel.fFrameCount - 1));
}

int32_t CWaveformDetailViewLogic::SnapSlicePosition(int32_t frame, bool fine) const {
    if (fine || !fSample) return frame;
    return SnapToZeroCrossing(*fSample, frame);
}

int32_t CWaveformDetailViewLogic::SnapLocator(int32_t frame, bool fine) const {
    if (fine) return frame;
    std::vector<int32_t> starts;
    starts.reserve(fSlices.size());
    for (const SWaveformMarkerSlice& slice : fSlices) starts.push_back(slice.fPosition);
    return SnapLocatorToSlice(starts, frame, fModel.fFrameCount);
}

void CWaveformDetailViewLogic::MouseDown(const SPlainMouseEvent& event) {
    // One drag at a time; without sound there is nothing to point at.
    if (IsBusyWithMouse() || fModel.fFrameCount <= 0) return;
    fLastEvent = event;
    if (event.fButton == EMouseButton::kSecondary) {
        if (InMarkerStrip(event)) {
            const int32_t slice = SliceMarkerAt(event.fX, event.fY);
            if (slice >= 0) fHandler.ContextClickOnSlice(event, slice);
        } else if (InWaveform(event)) {
            fHandler.ContextClickInWaveform(event, FrameUnderMouse(event.fX));
        }
        return;
    }
    if (event.fButton != EMouseButton::kPrimary) return;
    if (InMarkerStrip(event))
        StartInMarkerStrip(event);
    else if (InWaveform(event))
        StartInWaveform(event);
}

void CWaveformDetailViewLogic::StartInMarkerStrip(const SPlainMouseEvent& event) {
    const SViewRect strip = fGeometry.GetMarkerStrip();
    const bool upperHalf = event.fY < strip.fTop + strip.fHeight / 2;
    if (upperHalf && (event.Extend() || event.Magnify())) {
        const bool left = event.Extend();
        fHandler.BeginGesture(left ? EWaveformGesture::kMoveLeftLocator : EWaveformGesture::kMoveRightLocator, -1,
                              FrameUnderMouse(event.fX));
        fGrabOffset = 0.0f;
        fDragState = left ? EDetailDragState::kLeftLocator : EDetailDragState::kRightLocator;
        return;
    }

    auto grab = [&](int32_t frame) { fGrabOffset = float(event.fX - fGeometry.FrameToX(frame)); };
    if (GetRightLocatorRect().Contains(event.fX, event.fY)) {
        fHandler.BeginGesture(EWaveformGesture::kMoveRightLocator, -1, fModel.fRightLocator);
        grab(fModel.fRightLocator);
        fDragState = EDetailDragState::kRightLocator;
        return;
    }
    if (GetLeftLocatorRect().Contains(event.fX, event.fY)) {
        fHandler.BeginGesture(EWaveformGesture::kMoveLeftLocator, -1, fModel.fLeftLocator);
        grab(fModel.fLeftLocator);
        fDragState = EDetailDragState::kLeftLocator;
        return;
    }
    const int32_t slice = SliceMarkerAt(event.fX, event.fY);
    if (slice >= 0) {
        if (event.Extend()) {
            fHandler.SliceClickedWithExtend(slice);
            return;
        }
        const int32_t position = fSlices[size_t(slice)].fPosition;
        fHandler.BeginGesture(EWaveformGesture::kMoveSlice, slice, position);
        grab(position);
        fDraggedSlice = slice;
        fDragState = EDetailDragState::kSlice;
        return;
    }
    if (GetPlaybackCursorRect().Contains(event.fX, event.fY)) {
        grab(fPlaybackCursor);
        fDragState = EDetailDragState::kPlaybackCursor;
        return;
    }
    if (fTool == kEditTool_Arrow || fTool == kEditTool_Pen) {
        const int32_t frame = FrameUnderMouse(event.fX);
        fHandler.RangeSelection(frame, frame, ERangePhase::kBegin, event.Extend());
        fRangeAnchor = frame;
        fRangeCurrent = frame;
        fRangeExtend = event.Extend();
        fGrabOffset = 0.0f;
        fDragState = EDetailDragState::kRangeBothFree;
    }
}

void CWaveformDetailViewLogic::StartInWaveform(const SPlainMouseEvent& event) {
    const int32_t frame = FrameUnderMouse(event.fX);
    fGrabOffset = 0.0f;
    if (!event.Magnify()) {
        if (fTool == kEditTool_Pen) {
            fHandler.BeginGesture(EWaveformGesture::kInsertSlice, -1, SnapSlicePosition(frame, event.Fine()));
            fDragState = EDetailDragState::kPenInsert;
        } else if (fTool == kEditTool_Arrow || fTool == kEditTool_Mute || fTool == kEditTool_Lock) {
            fHandler.BeginGesture(EWaveformGesture::kAudition, -1, frame);
            fDragState = EDetailDragState::kAudition;
            // The press itself plays the slice under the mouse; moves play the ones entered.
            fHandler.ContinueGesture(frame);
        }
        return;
    }
    if (event.Fine()) {
        if (CanZoomOut()) ZoomOut(frame);
        return;
    }
    if (CanZoomIn()) {
        fMagnifyPending = true;
        fMagnifyStart = frame;
        fMagnifyCurrent = frame;
        fPressX = event.fX;
    }
}

void CWaveformDetailViewLogic::MouseMove(const SPlainMouseEvent& event) {
    if (!IsBusyWithMouse()) return;
    fLastEvent = event;
    if (fMagnifyPending) {
        if (event.fX == fPressX) return;
        fMagnifyPending = false;
        fDragState = EDetailDragState::kMagnify;
    }
    ContinueDrag(event.fX);
}

void CWaveformDetailViewLogic::ContinueDrag(int32_t x) {
    const double dragX = double(x) - double(fGrabOffset);
    const bool fine = fLastEvent.Fine();
    const int32_t lastFrame = std::max(0, fModel.fFrameCount - 1);
    switch (fDragState) {
        case EDetailDragState::kLeftLocator: {
            const int32_t low = fModel.fLowerBound;
            const int32_t high = std::max(low, fModel.fRightLocator - 1);
            // The snap may land on the right locator or the end: the loop never becomes empty.
            const int32_t frame = std::clamp(SnapLocator(fGeometry.XToFrame(dragX, low, high), fine), low, high);
            fHandler.ContinueGesture(frame);
            break;
        }
        case EDetailDragState::kRightLocator: {
            const int32_t high = fModel.fUpperBound;
            const int32_t low = std::min(fModel.fLeftLocator + 1, high);
            const int32_t frame = std::clamp(SnapLocator(fGeometry.XToFrame(dragX, low, high), fine), low, high);
            fHandler.ContinueGesture(frame);
            break;
        }
        case EDetailDragState::kPlaybackCursor:
            fHandler.CursorDraggedTo(fGeometry.XToFrame(dragX, 0, lastFrame));
            break;
        case EDetailDragState::kSlice: {
            const int32_t frame = SnapSlicePosition(fGeometry.XToFrame(dragX, 0, lastFrame), fine);
            fHandler.ContinueGesture(frame);
            // Moving may reorder the slices the group view copied back: follow the dragged one.
            for (int32_t index = 0; index < int32_t(fSlices.size()); ++index) {
                if (fSlices[size_t(index)].fPosition == frame) {
                    fDraggedSlice = index;
                    break;
                }
            }
            break;
        }
        case EDetailDragState::kAudition:
            fHandler.ContinueGesture(FrameUnderMouse(x));
            break;
        case EDetailDragState::kRangeBothFree:
        case EDetailDragState::kRangeMovingStart:
        case EDetailDragState::kRangeMovingEnd:
            ContinueRange(FrameUnderMouse(x));
            break;
        case EDetailDragState::kMagnify:
            fMagnifyCurrent = FrameUnderMouse(x);
            break;
        case EDetailDragState::kIdle:
        case EDetailDragState::kPenInsert:
            break;
    }
}

void CWaveformDetailViewLogic::ContinueRange(int32_t frame) {
    fRangeCurrent = frame;
    if (frame < fRangeAnchor)
        fDragState = EDetailDragState::kRangeMovingStart;
    else if (frame > fRangeAnchor)
        fDragState = EDetailDragState::kRangeMovingEnd;
    fHandler.RangeSelection(std::min(fRangeAnchor, fRangeCurrent), std::max(fRangeAnchor, fRangeCurrent),
                            ERangePhase::kContinue, fRangeExtend);
}

void CWaveformDetailViewLogic::MouseUp(const SPlainMouseEvent& event) {
    if (event.fButton != EMouseButton::kPrimary) return;
    if (fMagnifyPending) {
        fMagnifyPending = false;
        ZoomIn(fMagnifyStart);
        return;
    }
    // Idle first: a handler that fails still leaves the view ready for the next press.
    const EDetailDragState state = fDragState;
    const int32_t rangeStart = std::min(fRangeAnchor, fRangeCurrent);
    const int32_t rangeEnd = std::max(fRangeAnchor, fRangeCurrent);
    fDragState = EDetailDragState::kIdle;
    fDraggedSlice = -1;
    fRangeAnchor = -1;
    fRangeCurrent = -1;
    fGrabOffset = 0.0f;
    switch (state) {
        case EDetailDragState::kLeftLocator:
        case EDetailDragState::kRightLocator:
        case EDetailDragState::kSlice:
        case EDetailDragState::kPenInsert:
        case EDetailDragState::kAudition:
            fHandler.EndGesture();
            break;
        case EDetailDragState::kRangeBothFree:
        case EDetailDragState::kRangeMovingStart:
        case EDetailDragState::kRangeMovingEnd:
            fHandler.RangeSelection(rangeStart, rangeEnd, ERangePhase::kEnd, fRangeExtend);
            break;
        case EDetailDragState::kMagnify:
            if (fMagnifyStart != fMagnifyCurrent)
                ReportVisibleRange(
                    SVisibleRange{std::min(fMagnifyStart, fMagnifyCurrent), std::max(fMagnifyStart, fMagnifyCurrent)});
            else
                ZoomIn(fMagnifyStart);
            break;
        case EDetailDragState::kIdle:
        case EDetailDragState::kPlaybackCursor:
            break;
    }
}

void CWaveformDetailViewLogic::AutoScroll(int32_t steps) {
    if (!IsCapturing()) return;
    const SVisibleRange before = fGeometry.GetRange();
    ReportVisibleRange(NSWaveformRange::AutoScroll(fGeometry, steps, fModel.fFrameCount));
    if (fGeometry.GetRange() != before) ContinueDrag(fLastEvent.fX);
}

bool CWaveformDetailViewLogic::IsCapturing() const {
    return fDragState != EDetailDragState::kIdle && !IsRangeState(fDragState);
}

int32_t CWaveformDetailViewLogic::GetCursorId() const {
    switch (fDragState) {
        case EDetailDragState::kRangeBothFree:
        case EDetailDragState::kRangeMovingStart:
        case EDetailDragState::kRangeMovingEnd:
            return kRangeCursorId;
        case EDetailDragState::kPenInsert: return kPenCursorId;
        case EDetailDragState::kAudition: return kAuditionCursorId;
        case EDetailDragState::kMagnify: return kMagnifyCursorId;
        default: return 0;
    }
}

std::optional<SVisibleRange> CWaveformDetailViewLogic::GetMagnifyBand() const {
    if (fDragState != EDetailDragState::kMagnify) return std::nullopt;
    return SVisibleRange{std::min(fMagnifyStart, fMagnifyCurrent), std::max(fMagnifyStart, fMagnifyCurrent)};
}

// --- Zoom and scroll ---

void CWaveformDetailViewLogic::ReportVisibleRange(const std::optional<SVisibleRange>& range) {
    if (!range || *range == fGeometry.GetRange()) return;
    // Applied here as well: the group view may or may not set it back before it returns.
    fGeometry.SetRange(*range);
    fHandler.SetVisibleRange(range->fStart, range->fEnd);
}

bool CWaveformDetailViewLogic::CanZoomIn() const {
    return NSWaveformRange::CanZoomIn(fGeometry.GetRange(), fGeometry.GetContentWidth());
}

bool CWaveformDetailViewLogic::CanZoomOut() const {
    return NSWaveformRange::CanZoomOut(fGeometry.GetRange(), fModel.fFrameCount);
}

bool CWaveformDetailViewLogic::CanScrollLeft() const { return NSWaveformRange::CanScrollLeft(fGeometry.GetRange()); }

bool CWaveformDetailViewLogic::CanScrollRight() const {
    return NSWaveformRange::CanScrollRight(fGeometry.GetRange(), fModel.fFrameCount);
}

void CWaveformDetailViewLogic::ZoomIn(int32_t around) {
    ReportVisibleRange(NSWaveformRange::ZoomIn(fGeometry.GetRange(), fGeometry.GetContentWidth(), fModel.fFrameCount,
                                               around, fPlaybackCursor));
}

void CWaveformDetailViewLogic::ZoomOut(int32_t around) {
    ReportVisibleRange(NSWaveformRange::ZoomOut(fGeometry.GetRange(), fGeometry.GetContentWidth(), fModel.fFrameCount,
                                                around, fPlaybackCursor));
}

void CWaveformDetailViewLogic::ScrollLeft() {
    ReportVisibleRange(NSWaveformRange::ScrollLeft(fGeometry.GetRange(), fGeometry.GetContentWidth()));
}

void CWaveformDetailViewLogic::ScrollRight() {
    ReportVisibleRange(
        NSWaveformRange::ScrollRight(fGeometry.GetRange(), fGeometry.GetContentWidth(), fModel.fFrameCount));
}

bool CWaveformDetailViewLogic::CanVerticalZoomIn() const { return fVerticalZoom < NSWaveformRange::kMaxVerticalZoom; }

bool CWaveformDetailViewLogic::CanVerticalZoomOut() const {
    return fVerticalZoom > NSWaveformRange::kMinVerticalZoom;
}

void CWaveformDetailViewLogic::VerticalZoomIn() {
    const double factor = NSWaveformRange::VerticalZoomIn(fVerticalZoom);
    if (factor == fVerticalZoom) return;
    fVerticalZoom = factor;
    fHandler.VerticalZoomChanged(factor);
}

void CWaveformDetailViewLogic::VerticalZoomOut() {
    const double factor = NSWaveformRange::VerticalZoomOut(fVerticalZoom);
    if (factor == fVerticalZoom) return;
    fVerticalZoom = factor;
    fHandler.VerticalZoomChanged(factor);
}

}  // namespace NSQuillet
