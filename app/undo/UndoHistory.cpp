#include "app/undo/UndoHistory.h"

#include <algorithm>
#include <utility>

#include "foundation/Mishap.h"

namespace NSUndoPackage {

CUndoHistory::CUndoHistory(uint32_t limit) : fLimit(std::max<uint32_t>(limit, 1)) {}

std::vector<std::string> CUndoHistory::GetStepNames() const {
    std::vector<std::string> names;
    names.reserve(fSteps.size());
    for (const auto& step : fSteps) names.push_back(step->GetName());
    return names;
}

std::string CUndoHistory::GetUndoName() const {
    return CanUndo() ? fSteps[fPosition - 1 - fBase]->GetName() : std::string();
}

std::string CUndoHistory::GetRedoName() const {
    return CanRedo() ? fSteps[fPosition - fBase]->GetName() : std::string();
}

void CUndoHistory::Commit(VTransaction& transaction, const std::string& name, const std::string& mergeKey) {
    if (transaction.IsEmpty()) return;
    CUndoHistory copy = *this;
    copy.fSteps.resize(copy.fPosition - copy.fBase);
    const TChangeList& added = transaction.GetChanges();
    if (mergeKey != copy.fMergeKey || copy.fSteps.empty()) {
        copy.fSteps.push_back(std::make_shared<const VUndoStep>(name, added));
        ++copy.fPosition;
        while (copy.fSteps.size() > copy.fLimit) {
            copy.fSteps.erase(copy.fSteps.begin());
            ++copy.fBase;
        }
    } else {
        TChangeList merged = copy.fSteps.back()->GetChanges();
        merged.insert(merged.end(), added.begin(), added.end());
        copy.fSteps.back() = std::make_shared<const VUndoStep>(name, std::move(merged));
    }
    copy.fMergeKey = mergeKey;
    std::swap(*this, copy);
    transaction.Release();
}

void CUndoHistory::MoveTo(uint32_t target) {
    if (target < fBase || target > fBase + fSteps.size()) throw NSMishap::XStdOutOfRange("undo target outside the history");
    if (target == fPosition) return;
    CUndoHistory copy = *this;
    copy.fMergeKey.clear();
    {
        const uint32_t first = std::min(target, copy.fPosition) - copy.fBase;
        const uint32_t last = std::max(target, copy.fPosition) - copy.fBase;
        TChangeList changes;
        for (uint32_t i = first; i < last; ++i) {
            const TChangeList& step = copy.fSteps[i]->GetChanges();
            changes.insert(changes.end(), step.begin(), step.end());
        }
        if (target > copy.fPosition) {
            ExecuteDo(changes);
        } else {
            ExecuteUndo(changes);
        }
        copy.fPosition = target;
    }
    std::swap(*this, copy);
}

}  // namespace NSUndoPackage
