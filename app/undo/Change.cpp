#include "app/undo/Change.h"

#include <cstddef>

#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"

namespace NSUndoPackage {

void ExecuteDo(const TChangeList& changes) {
    size_t completed = 0;
    try {
        for (const auto& change : changes) {
            change->Do();
            ++completed;
        }
    } catch (...) {
        try {
            while (completed > 0) changes[--completed]->Undo();
        } catch (...) {
            NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError, "Rollback due to exception in ExecuteDo() failed",
                                   NSMishap::kTargetObjectType_UndoStep);
        }
        throw;
    }
}

void ExecuteUndo(const TChangeList& changes) {
    try {
        for (size_t i = changes.size(); i > 0; --i) changes[i - 1]->Undo();
    } catch (...) {
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError, "Exception in ExecuteUndo()",
                               NSMishap::kTargetObjectType_UndoStep);
    }
}

}  // namespace NSUndoPackage
