#include "app/document/DocumentParametersChange.h"

#include "app/document/QuilletDocument.h"

namespace NSQuillet {

CDocumentParametersChange::CDocumentParametersChange(CQuilletDocument& document, const SDocumentParameters& parameters)
    : fDocument(document), fOld(document.GetDocumentParameters()), fNew(parameters) {}

void CDocumentParametersChange::Do() { fNew = fDocument.ApplyDocumentParameters(fNew, CDocumentChangeKey()); }

void CDocumentParametersChange::Undo() { fDocument.ApplyDocumentParameters(fOld, CDocumentChangeKey()); }

}  // namespace NSQuillet
