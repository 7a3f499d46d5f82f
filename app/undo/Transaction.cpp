#include "app/undo/Transaction.h"

#include <utility>

#include "foundation/Diagnostics.h"
#include "foundation/Mishap.h"

namespace NSUndoPackage {

VTransaction::~VTransaction() {
    while (!fChanges.empty()) {
        const std::shared_ptr<CABCChange> change = std::move(fChanges.back());
        fChanges.pop_back();
        NSMishap::RunReportingFailure("Rollback due to exception in ~VTransaction() failed", [&] { change->Undo(); });
    }
}

void VTransaction::Add(std::unique_ptr<CABCChange> change) {
    if (!change) throw NSMishap::XStdInvalidArgument("null change");
    std::shared_ptr<CABCChange> shared(std::move(change));
    TChangeList extended = fChanges;
    extended.push_back(shared);
    shared->Do();
    fChanges.swap(extended);
}

void VTransaction::Rollback() {
    while (!fChanges.empty()) {
        const std::shared_ptr<CABCChange> change = std::move(fChanges.back());
        fChanges.pop_back();
        try {
            change->Undo();
        } catch (...) {
            NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError, "Rollback due to exception in ~VTransaction() failed");
        }
    }
}

TChangeList VTransaction::Release() noexcept {
    TChangeList released;
    released.swap(fChanges);
    return released;
}

}  // namespace NSUndoPackage
