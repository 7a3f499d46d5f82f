#pragma once

#include <memory>

#include "app/undo/Change.h"

namespace NSQuillet {

class CQuilletDocument;
class CSliceSequence;

// Holds the one slice sequence the document is not using: the new one until Do, the old
// one after. Do and Undo are the same exchange.
class CSliceSequenceChange final : public NSUndoPackage::CABCChange {
public:
    // Null is an XStdInvalidArgument.
    CSliceSequenceChange(CQuilletDocument& document, std::unique_ptr<CSliceSequence> sequence);
    ~CSliceSequenceChange() override;
    void Do() override;
    void Undo() override;

private:
    CQuilletDocument& fDocument;
    std::unique_ptr<CSliceSequence> fSequence;
};

}  // namespace NSQuillet
