#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/undo/Transaction.h"
#include "app/undo/UndoStep.h"

namespace NSUndoPackage {

// The undo steps of one document. Positions are absolute: base is the index of the oldest
// step still held, position is one past the last applied step; steps from position on are
// redoable. Every operation works on a copy that is swapped in at the end, so a failure
// leaves the history as it was. User-interface thread.
class CUndoHistory {
public:
    // At most `limit` steps (at least 1); older ones are dropped as new ones arrive.
    explicit CUndoHistory(uint32_t limit);

    uint32_t GetLimit() const { return fLimit; }
    uint32_t GetBase() const { return fBase; }
    uint32_t GetPosition() const { return fPosition; }
    size_t GetStepCount() const { return fSteps.size(); }
    std::vector<std::string> GetStepNames() const;
    const std::string& GetMergeKey() const { return fMergeKey; }

    bool CanUndo() const { return fBase < fPosition; }
    bool CanRedo() const { return fPosition < fBase + fSteps.size(); }
    // "" when there is nothing to undo / redo.
    std::string GetUndoName() const;
    std::string GetRedoName() const;

    // Drops the redoable steps and appends the transaction's changes as a new step, or, when
    // `mergeKey` equals the key of the last commit, adds them to the last step under `name`.
    // An empty transaction changes nothing. Empties the transaction on success.
    void Commit(VTransaction& transaction, const std::string& name, const std::string& mergeKey);
    // Redoes or undoes the steps between the position and `target` (ExecuteDo/ExecuteUndo
    // failures propagate, the position stays). Clears the merge key unless `target` is the
    // position, which changes nothing. A target outside
    // base..base + step count is an XStdOutOfRange.
    void MoveTo(uint32_t target);
    // The next commit starts a new step.
    void ClearMergeKey() { fMergeKey.clear(); }

private:
    std::vector<std::shared_ptr<const VUndoStep>> fSteps;
    std::string fMergeKey;
    uint32_t fBase = 0;
    uint32_t fPosition = 0;
    uint32_t fLimit;
};

}  // namespace NSUndoPackage
