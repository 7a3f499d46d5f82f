#include "app/document/SliceEditing.h"

#include <algorithm>
#include <utility>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceSequenceChange.h"
#include "app/undo/Transaction.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

bool SameSlices(const CSliceSequence& a, const CSliceSequence& b) {
    if (a.GetSliceCount() != b.GetSliceCount()) return false;
    for (int32_t i = 0; i < a.GetSliceCount(); ++i) {
        const CSlice& x = *a.GetSlice(i);
        const CSlice& y = *b.GetSlice(i);
        if (x.GetPosition() != y.GetPosition() || x.GetLevel() != y.GetLevel() || x.GetKind() != y.GetKind() ||
            x.IsSelected() != y.IsSelected())
            return false;
    }
    return true;
}

int32_t CountSelectedShown(const CSliceSequence& sequence) {
    int32_t count = 0;
    for (const CSlice& slice : sequence.GetSlices())
        if (slice.IsSelected() && sequence.IsSliceShown(slice)) ++count;
    return count;
}

ESliceKind KindOf(bool muteKind) { return muteKind ? ESliceKind::kMuted : ESliceKind::kLocked; }

// "Mute Slice", "Unlock Slices" and the like.
std::string KindChangeName(bool muteKind, bool on, bool plural) {
    using namespace NSStringIds;
    const int32_t name = muteKind ? (on ? (plural ? kUndo_MuteSlices : kUndo_MuteSlice)
                                        : (plural ? kUndo_UnmuteSlices : kUndo_UnmuteSlice))
                                  : (on ? (plural ? kUndo_LockSlices : kUndo_LockSlice)
                                        : (plural ? kUndo_UnlockSlices : kUndo_UnlockSlice));
    return UndoText(name);
}

}  // namespace

std::unique_ptr<CSliceSequence> CSliceEditing::CopySlices() const {
    return std::make_unique<CSliceSequence>(fDocument.GetSliceSequence());
}

void CSliceEditing::CommitSlices(std::unique_ptr<CSliceSequence> sequence, const std::string& name,
                                 const std::string& mergeKey) {
    if (SameSlices(*sequence, fDocument.GetSliceSequence())) return;
    sequence->UpdateSliceLengths();
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CSliceSequenceChange>(fDocument, std::move(sequence)));
    fDocument.CommitTransaction(transaction, name, mergeKey);
}

void CSliceEditing::SelectSlice(int32_t index, bool extend) {
    if (!fDocument.GetSliceSequence().GetSlice(index)) return;
    auto sequence = CopySlices();
    if (extend) {
        CSlice* slice = sequence->GetSlice(index);
        slice->SetSelected(!slice->IsSelected());
    } else {
        for (int32_t i = 0; i < sequence->GetSliceCount(); ++i) sequence->GetSlice(i)->SetSelected(i == index);
    }
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_SelectSlice), UndoText(NSStringIds::kUndo_MoveSlice));
}

int32_t CSliceEditing::MoveSlice(int32_t index, int32_t frame) {
    const CSliceSequence& slices = fDocument.GetSliceSequence();
    const CSlice* current = slices.GetSlice(index);
    if (!current) return index;
    const int32_t frames = fDocument.GetWaveSample().GetFrameCount();
    if (frames <= 0) return index;
    frame = std::clamp(frame, 0, frames - 1);
    if (frame == current->GetPosition() || slices.FindSliceAt(frame)) return index;
    auto sequence = CopySlices();
    CSlice moved = *current;
    sequence->RemoveSlice(moved);
    moved.SetPosition(frame);
    sequence->InsertSlice(moved);
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_MoveSlice), UndoText(NSStringIds::kUndo_MoveSlice));
    const std::vector<CSlice>& after = fDocument.GetSliceSequence().GetSlices();
    for (int32_t i = 0; i < int32_t(after.size()); ++i)
        if (after[size_t(i)].GetPosition() == frame) return i;
    return index;
}

void CSliceEditing::InsertSlice(int32_t frame) {
    if (frame < 0 || frame >= fDocument.GetWaveSample().GetFrameCount()) return;
    auto sequence = CopySlices();
    if (CSlice* existing = sequence->FindSliceAt(frame)) {
        // A slice the user puts where one stands keeps that slice's strength: it must not show
        // at sensitivities that hid it once it is unlocked again.
        existing->SetKind(ESliceKind::kLocked);
    } else {
        sequence->InsertSlice(CSlice(frame, CSlice::kInsertedLevel, ESliceKind::kLocked));
    }
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_InsertSlice), "");
}

void CSliceEditing::SetSelectedSlicesKind(bool muteKind, bool on) {
    const CSliceSequence& current = fDocument.GetSliceSequence();
    const int32_t selected = CountSelectedShown(current);
    if (selected == 0) return;
    const ESliceKind kind = KindOf(muteKind);
    auto sequence = CopySlices();
    for (int32_t i = 0; i < sequence->GetSliceCount(); ++i) {
        CSlice& slice = *sequence->GetSlice(i);
        if (!slice.IsSelected() || !current.IsSliceShown(*current.GetSlice(i))) continue;
        if (on) {
            slice.SetKind(kind);
        } else if (slice.GetKind() == kind) {
            slice.SetKind(ESliceKind::kNormal);
        }
    }
    const bool plural = selected > 1;
    CommitSlices(std::move(sequence), KindChangeName(muteKind, on, plural), "");
}

void CSliceEditing::SetSelectedSlicesMuted(bool muted) { SetSelectedSlicesKind(true, muted); }

void CSliceEditing::SetSelectedSlicesLocked(bool locked) { SetSelectedSlicesKind(false, locked); }

void CSliceEditing::ClickWithMuteTool(int32_t index) { ClickWithTool(index, true); }

void CSliceEditing::ClickWithLockTool(int32_t index) { ClickWithTool(index, false); }

void CSliceEditing::ClickWithTool(int32_t index, bool muteTool) {
    const CSliceSequence& current = fDocument.GetSliceSequence();
    const CSlice* clicked = current.GetSlice(index);
    if (!clicked) return;
    const ESliceKind kind = KindOf(muteTool);
    const bool on = clicked->GetKind() != kind;
    // The mute tool never turns a locked slice into a muted one: the lock would be lost, and a
    // muted slice below the threshold is hidden, so the marker would vanish under the click.
    auto setState = [&](CSlice& slice) {
        if (!on) {
            if (slice.GetKind() == kind) slice.SetKind(ESliceKind::kNormal);
        } else if (!(muteTool && slice.GetKind() == ESliceKind::kLocked)) {
            slice.SetKind(kind);
        }
    };
    auto sequence = CopySlices();
    bool plural = false;
    if (clicked->IsSelected()) {
        plural = CountSelectedShown(current) > 1;
        for (int32_t i = 0; i < sequence->GetSliceCount(); ++i)
            if (current.GetSlice(i)->IsSelected() && current.IsSliceShown(*current.GetSlice(i)))
                setState(*sequence->GetSlice(i));
    } else {
        setState(*sequence->GetSlice(index));
    }
    CommitSlices(std::move(sequence), KindChangeName(muteTool, on, plural), "");
}

void CSliceEditing::DeleteSelectedSlices() {
    const CSliceSequence& current = fDocument.GetSliceSequence();
    if (CountSelectedShown(current) == 0) return;
    auto sequence = std::make_unique<CSliceSequence>(&fDocument.GetWaveSample());
    sequence->SetGateSensitivity(current.GetGateSensitivity());
    sequence->SetSensitivity(current.GetSensitivity());
    for (const CSlice& slice : current.GetSlices())
        if (!slice.IsSelected() || !current.IsSliceShown(slice)) sequence->InsertSlice(slice);
    sequence->EnsureFirstSlice(0);
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_DeleteSlices), "");
}

void CSliceEditing::SelectAllSlices() {
    auto sequence = CopySlices();
    for (int32_t i = 0; i < sequence->GetSliceCount(); ++i) {
        CSlice& slice = *sequence->GetSlice(i);
        if (sequence->IsSliceShown(slice)) slice.SetSelected(true);
    }
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_SelectAllSlices), "");
}

void CSliceEditing::InvertSelection() {
    auto sequence = CopySlices();
    for (int32_t i = 0; i < sequence->GetSliceCount(); ++i) {
        CSlice& slice = *sequence->GetSlice(i);
        if (sequence->IsSliceShown(slice)) slice.SetSelected(!slice.IsSelected());
    }
    CommitSlices(std::move(sequence), UndoText(NSStringIds::kUndo_InvertSelection), "");
}

}  // namespace NSQuillet
