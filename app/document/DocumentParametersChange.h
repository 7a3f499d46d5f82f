#pragma once

#include "app/document/DocumentParameters.h"
#include "app/undo/Change.h"

namespace NSQuillet {

class CQuilletDocument;

// Moves the document from the parameter set it had at construction to a new one and back.
class CDocumentParametersChange final : public NSUndoPackage::CABCChange {
public:
    CDocumentParametersChange(CQuilletDocument& document, const SDocumentParameters& parameters);
    // The first Do keeps what it leads to (a clamped locator, the preview tempo taken from
    // the loop), so that a redo returns to exactly that state.
    void Do() override;
    void Undo() override;

private:
    CQuilletDocument& fDocument;
    SDocumentParameters fOld;
    SDocumentParameters fNew;
};

}  // namespace NSQuillet
