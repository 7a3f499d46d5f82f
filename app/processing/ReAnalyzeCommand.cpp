#include "app/processing/ReAnalyzeCommand.h"

#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/Alert.h"
#include "app/resources/AlertIds.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

bool ReAnalyze(CQuilletDocument& document, CQuilletLengthyOperation& operation) {
    const CSliceSequence& current = document.GetSliceSequence();
    operation.SetText(StringReference(NSStringIds::kProgress_FindingSlices).GetText());
    auto slices = std::make_unique<CSliceSequence>(current);
    // An interrupted analysis would leave a partial merge; the command keeps nothing instead.
    if (!slices->ReAnalyze(&operation)) throw NSMishap::XAbort("user pressed stop");
    ThrowIfStopRequested(operation);
    if (slices->GetSliceCount() == current.GetSliceCount()) {
        ShowAlert(AlertReference(NSAlertIds::kReAnalyzeFoundNothing));
        return false;
    }
    document.CloseUndoStep();
    document.PerformSliceSequenceChange(std::move(slices), UndoText(NSStringIds::kUndo_ReAnalyze));
    document.CloseUndoStep();
    return true;
}

}  // namespace NSQuillet
