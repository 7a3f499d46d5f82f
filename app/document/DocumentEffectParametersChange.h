#pragma once

#include "app/document/EffectParameters.h"
#include "app/undo/Change.h"

namespace NSQuillet {

class CQuilletDocument;

// Moves the document from the effect settings it had at construction to new ones and back.
class CDocumentEffectParametersChange final : public NSUndoPackage::CABCChange {
public:
    CDocumentEffectParametersChange(CQuilletDocument& document, const SEffectParameters& parameters);
    void Do() override;
    void Undo() override;

private:
    CQuilletDocument& fDocument;
    SEffectParameters fOld;
    SEffectParameters fNew;
};

}  // namespace NSQuillet
