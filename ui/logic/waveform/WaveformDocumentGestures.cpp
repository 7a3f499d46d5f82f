#include "ui/logic/waveform/WaveformDocumentGestures.h"

#include <memory>

#include "app/document/DocumentParameters.h"
#include "app/resources/ResourceReference.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "app/resources/MenuIds.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"

namespace NSQuillet {

namespace {

std::string Text(int32_t entry) { return StringReference(entry).GetText(); }

bool SlidesWithTool(uint32_t tool) { return tool == kEditTool_Arrow || tool == kEditTool_Pen; }

int32_t CountSelectedShown(const CSliceSequence& sequence) {
    int32_t count = 0;
    for (const CSlice& slice : sequence.GetSlices())
        if (slice.IsSelected() && sequence.IsSliceShown(slice)) ++count;
    return count;
}

}  // namespace

CWaveformDocumentGestures::CWaveformDocumentGestures(CQuilletDocument& document) : fDocument(document) {}

void CWaveformDocumentGestures::ChangeLocators(int32_t left, int32_t right, int32_t nameId) {
    SDocumentParameters parameters = fDocument.GetDocumentParameters();
    if (parameters.fLeftLocator == left && parameters.fRightLocator == right) return;
    parameters.fLeftLocator = left;
    parameters.fRightLocator = right;
    fDocument.PerformParametersChange(parameters, Text(nameId));
}

void CWaveformDocumentGestures::SetLeftLocator(int32_t frame) {
    ChangeLocators(frame, fDocument.GetDocumentParameters().fRightLocator, NSStringIds::kUndo_MoveLeftLocator);
}

void CWaveformDocumentGestures::SetRightLocator(int32_t frame) {
    ChangeLocators(fDocument.GetDocumentParameters().fLeftLocator, frame, NSStringIds::kUndo_MoveRightLocator);
}

void CWaveformDocumentGestures::SetLocators(int32_t left, int32_t right) {
    ChangeLocators(left, right, NSStringIds::kUndo_SetLoop);
    fDocument.CloseUndoStep();
}

void CWaveformDocumentGestures::SliceClickedWithExtend(int32_t shownIndex) {
    const int32_t index = FindFullSliceIndex(fDocument.GetSliceSequence(), shownIndex);
    if (index < 0) return;
    CSliceEditing(fDocument).SelectSlice(index, true);
    fDocument.CloseUndoStep();
}

void CWaveformDocumentGestures::BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame) {
    fGesture = gesture;
    fSliceIndex = -1;
    CSliceEditing editing(fDocument);
    switch (gesture) {
        case EWaveformGesture::kMoveSlice: {
            fSliceIndex = FindFullSliceIndex(fDocument.GetSliceSequence(), shownIndex);
            if (fSliceIndex < 0) break;
            const uint32_t tool = fDocument.GetViewAndEditAttributes().fEditTool;
            if (SlidesWithTool(tool))
                editing.SelectSlice(fSliceIndex, false);
            else if (tool == kEditTool_Mute)
                editing.ClickWithMuteTool(fSliceIndex);
            else if (tool == kEditTool_Lock)
                editing.ClickWithLockTool(fSliceIndex);
            break;
        }
        case EWaveformGesture::kInsertSlice:
            editing.InsertSlice(frame);
            fDocument.CloseUndoStep();
            break;
        case EWaveformGesture::kAudition:
            fLastAuditioned = -1;
            break;
        case EWaveformGesture::kNone:
        case EWaveformGesture::kMoveLeftLocator:
        case EWaveformGesture::kMoveRightLocator:
            break;
    }
}

void CWaveformDocumentGestures::ContinueGesture(int32_t frame) {
    switch (fGesture) {
        case EWaveformGesture::kMoveLeftLocator:
            SetLeftLocator(frame);
            break;
        case EWaveformGesture::kMoveRightLocator:
            SetRightLocator(frame);
            break;
        case EWaveformGesture::kMoveSlice:
            if (fSliceIndex >= 0 && SlidesWithTool(fDocument.GetViewAndEditAttributes().fEditTool))
                fSliceIndex = CSliceEditing(fDocument).MoveSlice(fSliceIndex, frame);
            break;
        case EWaveformGesture::kAudition: {
            if (!fDocument.CanPlay() || frame < 0 || frame >= fDocument.GetWaveSample().GetFrameCount()) break;
            const int32_t slice = FindShownSliceContaining(fDocument.GetSliceSequence(), frame);
            if (slice == fLastAuditioned) break;
            fLastAuditioned = slice;
            if (slice >= 0) fDocument.PlaySliceAt(frame);
            break;
        }
        case EWaveformGesture::kNone:
        case EWaveformGesture::kInsertSlice:
            break;
    }
}

void CWaveformDocumentGestures::EndGesture() {
    fGesture = EWaveformGesture::kNone;
    fSliceIndex = -1;
    fDocument.CloseUndoStep();
}

void CWaveformDocumentGestures::RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend) {
    const CSliceSequence& current = fDocument.GetSliceSequence();
    if (phase == ERangePhase::kBegin) {
        fSelectionAtBegin.clear();
        for (const CSlice& slice : current.GetSlices()) fSelectionAtBegin.push_back(slice.IsSelected());
        return;
    }
    // The end's range is the last continue's: applying it again changes nothing, unless the
    // release came without a move.
    auto sequence = std::make_unique<CSliceSequence>(current);
    bool changed = false;
    for (int32_t index = 0; index < sequence->GetSliceCount(); ++index) {
        CSlice& slice = *sequence->GetSlice(index);
        // Hidden slices keep their selection.
        if (!current.IsSliceShown(*current.GetSlice(index))) continue;
        const bool inRange = slice.GetPosition() >= start && slice.GetPosition() <= end;
        const bool atBegin = index < int32_t(fSelectionAtBegin.size()) && fSelectionAtBegin[size_t(index)];
        const bool selected = inRange || (extend && atBegin);
        if (selected != slice.IsSelected()) {
            slice.SetSelected(selected);
            changed = true;
        }
    }
    if (changed) fDocument.PerformSliceSequenceChange(std::move(sequence), Text(NSStringIds::kUndo_SelectSlice));
    if (phase == ERangePhase::kEnd) {
        fSelectionAtBegin.clear();
        fDocument.CloseUndoStep();
    }
}

void CWaveformDocumentGestures::CursorDraggedTo(int32_t frame) {
    const CSliceSequence& sequence = fDocument.GetSliceSequence();
    const int32_t slice = FindShownSliceContaining(sequence, frame);
    if (slice < 0 || slice == fDocument.GetCurrentSlice()) return;
    fDocument.SetPlayPosition(sequence.GetSlice(slice)->GetPosition());
}

std::vector<SWaveformMenuItem> CWaveformDocumentGestures::PrepareSliceMenu(int32_t shownIndex) {
    using namespace NSStringIds;
    const int32_t index = FindFullSliceIndex(fDocument.GetSliceSequence(), shownIndex);
    if (index < 0) return {};
    // Added to the selection, the others kept: the menu's commands act on every selected slice.
    if (!fDocument.GetSliceSequence().GetSlice(index)->IsSelected()) {
        CSliceEditing(fDocument).SelectSlice(index, true);
        fDocument.CloseUndoStep();
    }
    const CSliceSequence& sequence = fDocument.GetSliceSequence();
    const ESliceKind kind = sequence.GetSlice(index)->GetKind();
    const bool plural = CountSelectedShown(sequence) > 1;
    std::vector<SWaveformMenuItem> items;
    if (kind == ESliceKind::kLocked)
        items.push_back({NSCommandIds::kUnlockSlices, Text(plural ? kMenu_UnlockSlices : kMenu_UnlockSlice)});
    else
        items.push_back({NSCommandIds::kLockSlices, Text(plural ? kMenu_LockSlices : kMenu_LockSlice)});
    if (kind == ESliceKind::kMuted)
        items.push_back({NSCommandIds::kUnmuteSlices, Text(plural ? kMenu_UnmuteSlices : kMenu_UnmuteSlice)});
    else
        items.push_back({NSCommandIds::kMuteSlices, Text(plural ? kMenu_MuteSlices : kMenu_MuteSlice)});
    items.push_back({kSetLeftLocatorToThisSlice, Text(kMenu_SetLeftLocatorToThisSlice)});
    items.push_back({kSetRightLocatorToThisSlice, Text(kMenu_SetRightLocatorToThisSlice)});
    return items;
}

std::vector<SWaveformMenuItem> CWaveformDocumentGestures::WaveformMenu() {
    using namespace NSStringIds;
    return {
        {kSetLeftLocatorToThisSlice, Text(kMenu_SetLeftLocatorToThisSlice)},
        {kSetRightLocatorToThisSlice, Text(kMenu_SetRightLocatorToThisSlice)},
        {kSetLoopAroundThisSlice, Text(kMenu_SetLoopAroundThisSlice)},
        {NSCommandIds::kMagnifyToFit, Text(kMenu_MagnifyToFit)},
        {NSCommandIds::kMagnifyToFitLoop, Text(kMenu_MagnifyToFitLoop)},
        {kMagnifyToFitSlice, Text(kMenu_MagnifyToFitSlice)},
    };
}

bool CWaveformDocumentGestures::DoSliceCommand(int32_t command, int32_t frame) {
    if (command != kSetLeftLocatorToThisSlice && command != kSetRightLocatorToThisSlice &&
        command != kSetLoopAroundThisSlice)
        return false;
    const std::optional<SVisibleRange> slice = SliceRangeAt(frame);
    if (!slice) return true;
    const SDocumentParameters parameters = fDocument.GetDocumentParameters();
    // A locator set past the other one takes that one to the slice's other end: the document
    // would otherwise stop it at the other locator and leave an empty loop.
    if (command == kSetLeftLocatorToThisSlice) {
        const int32_t right = slice->fStart < parameters.fRightLocator ? parameters.fRightLocator : slice->fEnd;
        ChangeLocators(slice->fStart, right, NSStringIds::kUndo_MoveLeftLocator);
    } else if (command == kSetRightLocatorToThisSlice) {
        const int32_t left = slice->fEnd > parameters.fLeftLocator ? parameters.fLeftLocator : slice->fStart;
        ChangeLocators(left, slice->fEnd, NSStringIds::kUndo_MoveRightLocator);
    } else {
        ChangeLocators(slice->fStart, slice->fEnd, NSStringIds::kUndo_SetLoop);
    }
    fDocument.CloseUndoStep();
    return true;
}

std::optional<SVisibleRange> CWaveformDocumentGestures::SliceRangeAt(int32_t frame) const {
    const CSliceSequence& sequence = fDocument.GetSliceSequence();
    const int32_t index = FindShownSliceContaining(sequence, frame);
    if (index < 0) return std::nullopt;
    const SSliceExtent extent = GetShownSliceExtent(sequence, index);
    return SVisibleRange{extent.fStart, extent.fEnd};
}

}  // namespace NSQuillet
