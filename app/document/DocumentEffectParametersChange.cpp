#include "app/document/DocumentEffectParametersChange.h"

#include "app/document/QuilletDocument.h"

namespace NSQuillet {

CDocumentEffectParametersChange::CDocumentEffectParametersChange(CQuilletDocument& document,
                                                                 const SEffectParameters& parameters)
    : fDocument(document), fOld(document.GetEffectParameters()), fNew(parameters) {}

void CDocumentEffectParametersChange::Do() { fDocument.ApplyEffectParameters(fNew, CDocumentChangeKey()); }

void CDocumentEffectParametersChange::Undo() { fDocument.ApplyEffectParameters(fOld, CDocumentChangeKey()); }

}  // namespace NSQuillet
