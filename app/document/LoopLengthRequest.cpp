#include "app/document/LoopLengthRequest.h"

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "engine/LoopSettings.h"

namespace NSQuillet {

bool GiveLoopLength(CQuilletDocument& document, ILoopLengthRequest& request) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    if (parameters.fLoop.IsLoopLengthSet()) return true;
    const std::optional<int32_t> bars = request.AskLoopLengthBars();
    if (!bars || *bars <= 0) return false;
    const std::string name = UndoText(NSStringIds::kUndo_ChangeLoopLength);
    parameters.fLoop.SetBars(*bars);
    document.PerformParametersChange(parameters, name);
    // The first length of a document took the loop's tempo already; a loop that had a length
    // before kept the tempo it had then.
    parameters = document.GetDocumentParameters();
    const int32_t own = document.GetSequencer().GetOriginalTempo();
    if (own > 0 && CLoopSettings::ClampPreviewTempo(own) != parameters.fLoop.GetPreviewTempo()) {
        parameters.fLoop.SetPreviewTempo(CLoopSettings::ClampPreviewTempo(own));
        document.PerformParametersChange(parameters, name);
    }
    document.CloseUndoStep();
    return true;
}

}  // namespace NSQuillet
