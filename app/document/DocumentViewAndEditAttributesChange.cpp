#include "app/document/DocumentViewAndEditAttributesChange.h"

#include "app/document/QuilletDocument.h"

namespace NSQuillet {

CDocumentViewAndEditAttributesChange::CDocumentViewAndEditAttributesChange(CQuilletDocument& document,
                                                                           const SViewAndEditAttributes& attributes)
    : fDocument(document), fOld(document.GetViewAndEditAttributes()), fNew(attributes) {}

void CDocumentViewAndEditAttributesChange::Do() { fDocument.ApplyViewAndEditAttributes(fNew, CDocumentChangeKey()); }

void CDocumentViewAndEditAttributesChange::Undo() { fDocument.ApplyViewAndEditAttributes(fOld, CDocumentChangeKey()); }

}  // namespace NSQuillet
