#pragma once

#include "app/document/ViewAndEditAttributes.h"
#include "app/undo/Change.h"

namespace NSQuillet {

class CQuilletDocument;

// Moves the document from the view attributes it had at construction to new ones and back.
class CDocumentViewAndEditAttributesChange final : public NSUndoPackage::CABCChange {
public:
    CDocumentViewAndEditAttributesChange(CQuilletDocument& document, const SViewAndEditAttributes& attributes);
    void Do() override;
    void Undo() override;

private:
    CQuilletDocument& fDocument;
    SViewAndEditAttributes fOld;
    SViewAndEditAttributes fNew;
};

}  // namespace NSQuillet
