#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace NSQuillet {

class CQuilletDocument;
class CSliceSequence;

// The slice editing commands of one document: each edits a copy of the document's slice
// sequence and commits it as one named undo step, so a view or a script edits slices only
// through these. `index` counts every slice of the sequence, shown or not; an index outside it
// changes nothing, and an edit that changes nothing commits nothing.
//
// User-interface thread. Holds no state of its own: any number may work on one document.
class CSliceEditing {
public:
    // Not owned; the document outlives this object.
    explicit CSliceEditing(CQuilletDocument& document) : fDocument(document) {}

    // Arrow click: the slice alone selected, or with `extend` its selection toggled.
    // "Select Slice", merging with a following "Move Slice".
    void SelectSlice(int32_t index, bool extend);
    // To `frame` (clamped into the sample); refused when another slice stands there. Answers
    // the slice's new index. "Move Slice".
    int32_t MoveSlice(int32_t index, int32_t frame);
    // The pen: a locked slice of level 16384, or, where an unlocked slice stands, that slice
    // locked with its level kept. "Insert Slice".
    void InsertSlice(int32_t frame);
    // Over the selected shown slices: mute / unmute a muted one, lock / unlock a locked one.
    void SetSelectedSlicesMuted(bool muted);
    void SetSelectedSlicesLocked(bool locked);
    // A click with the mute or the lock tool, one undo step. The tool toggles the clicked slice
    // between normal and its kind (muted, locked); when that slice is selected, every selected
    // shown slice is set to the opposite of the clicked slice's state, those already in it left
    // alone. A lock outranks a mute: the mute tool leaves locked slices as they are, the lock
    // tool locks muted ones. "Mute Slice(s)", "Unmute Slice(s)", "Lock Slice(s)", "Unlock
    // Slice(s)", plural when more than one shown slice is selected.
    void ClickWithMuteTool(int32_t index);
    void ClickWithLockTool(int32_t index);
    // Removes the selected shown slices; an emptied list gets a slice at frame 0.
    void DeleteSelectedSlices();
    // Over the shown slices; hidden ones keep their selection.
    void SelectAllSlices();
    void InvertSelection();

private:
    std::unique_ptr<CSliceSequence> CopySlices() const;
    void CommitSlices(std::unique_ptr<CSliceSequence> sequence, const std::string& name, const std::string& mergeKey);
    void SetSelectedSlicesKind(bool muteKind, bool on);
    void ClickWithTool(int32_t index, bool muteTool);

    CQuilletDocument& fDocument;
};

}  // namespace NSQuillet
