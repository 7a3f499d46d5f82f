#include "app/document/SliceSequenceChange.h"

#include <utility>

#include "app/document/QuilletDocument.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CSliceSequenceChange::CSliceSequenceChange(CQuilletDocument& document, std::unique_ptr<CSliceSequence> sequence)
    : fDocument(document), fSequence(std::move(sequence)) {
    if (!fSequence) throw NSMishap::XStdInvalidArgument("null slice sequence");
}

CSliceSequenceChange::~CSliceSequenceChange() = default;

void CSliceSequenceChange::Do() { fDocument.SwapSliceSequence(fSequence, CDocumentChangeKey()); }

void CSliceSequenceChange::Undo() { fDocument.SwapSliceSequence(fSequence, CDocumentChangeKey()); }

}  // namespace NSQuillet
