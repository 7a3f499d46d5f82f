#pragma once

#include <memory>

#include "app/undo/Change.h"

namespace NSUndoPackage {

// The changes of one command, applied as they are added. Whatever it still holds when it is
// destroyed is undone, newest first; committing or applying without undo empties it.
// User-interface thread.
class VTransaction {
public:
    VTransaction() = default;
    VTransaction(const VTransaction&) = delete;
    VTransaction& operator=(const VTransaction&) = delete;
    // Rolls back like Rollback, but never throws: a change whose Undo fails is reported as a
    // diagnostic and dropped, and the older ones are still undone, since a throwing destructor
    // would end the process.
    ~VTransaction();

    // Strong guarantee: the change is applied and appended, or, when allocation or its Do
    // throws, destroyed and the transaction is as before. Null is an XStdInvalidArgument.
    void Add(std::unique_ptr<CABCChange> change);
    // Undoes and removes the changes, newest first. When an Undo throws: XStdRuntimeError
    // "Rollback due to exception in ~VTransaction() failed"; the failed change is dropped, the
    // older ones stay held.
    void Rollback();

    bool IsEmpty() const { return fChanges.empty(); }
    const TChangeList& GetChanges() const { return fChanges; }
    // Hands the changes over and empties the transaction; they stay applied.
    TChangeList Release() noexcept;

private:
    TChangeList fChanges;
};

}  // namespace NSUndoPackage
