#pragma once

#include <memory>
#include <vector>

namespace NSUndoPackage {

// One undoable edit. Do applies it (and re-applies it on redo); Undo reverts it. Either may
// throw, and then must leave its target as it was. Held through shared pointers: the same
// change sits in a transaction and later in an undo step. User-interface thread.
class CABCChange {
public:
    virtual ~CABCChange() = default;
    virtual void Do() = 0;
    virtual void Undo() = 0;

protected:
    CABCChange() = default;
    CABCChange(const CABCChange&) = default;
    CABCChange& operator=(const CABCChange&) = default;
};

using TChangeList = std::vector<std::shared_ptr<CABCChange>>;

// Runs Do from first to last. When one throws, the completed ones are undone from the last
// back to the first and the failure is rethrown; when such an Undo throws as well, an
// XStdRuntimeError "Rollback due to exception in ExecuteDo() failed" with target "undo_step".
void ExecuteDo(const TChangeList& changes);
// Runs Undo from last to first. When one throws, an XStdRuntimeError "Exception in
// ExecuteUndo()" with target "undo_step"; nothing is redone.
void ExecuteUndo(const TChangeList& changes);

}  // namespace NSUndoPackage
