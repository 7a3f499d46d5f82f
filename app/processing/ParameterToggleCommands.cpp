#include "app/processing/ParameterToggleCommands.h"

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"

namespace NSQuillet {

namespace {

// Closing the step before and after keeps two toggles in a row from merging into nothing.
void CommitAsOwnStep(CQuilletDocument& document, const SDocumentParameters& parameters, int32_t nameId) {
    document.CloseUndoStep();
    document.PerformParametersChange(parameters, UndoText(nameId));
    document.CloseUndoStep();
}

}  // namespace

void ToggleExportAsOneSample(CQuilletDocument& document) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fExportSlicesSeparately = !parameters.fExportSlicesSeparately;
    CommitAsOwnStep(document, parameters, NSStringIds::kUndo_ToggleExportAsOneSample);
}

bool CanToggleSilenceSelected(const CQuilletDocument& document) {
    return document.GetDocumentParameters().fLoop.IsPreviewOn();
}

void ToggleSilenceSelected(CQuilletDocument& document) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetSilenceSelected(!parameters.fLoop.IsSilenceSelected());
    CommitAsOwnStep(document, parameters, NSStringIds::kUndo_ToggleSilenceSelected);
}

}  // namespace NSQuillet
