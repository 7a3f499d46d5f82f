#include "app/WaveSampleAndSliceSequenceChange.h"

#include <utility>

#include "app/QuilletDocument.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CWaveSampleAndSliceSequenceChange::CWaveSampleAndSliceSequenceChange(CQuilletDocument& document,
                                                                     std::unique_ptr<CABCWaveSample> sample,
                                                                     std::unique_ptr<CSliceSequence> sequence)
    : fDocument(document), fNewSample(std::move(sample)), fSequence(std::move(sequence)) {
    if (!fNewSample || !fSequence) throw NSMishap::XStdInvalidArgument("null wave sample or slice sequence");
    fNewSample->BuildPreview();
    fSequence->UpdateSliceLengths();
}

CWaveSampleAndSliceSequenceChange::~CWaveSampleAndSliceSequenceChange() = default;

void CWaveSampleAndSliceSequenceChange::Do() {
    if (!fNewSample) {
        Restore();
        return;
    }
    std::unique_ptr<CABCWaveSample> incoming = std::move(fNewSample);
    try {
        fDocument.SwapWaveSampleAndSliceSequence(incoming, fSequence);
    } catch (...) {
        fNewSample = std::move(incoming);
        throw;
    }
    // `incoming` now holds the document's former sample, which nothing else refers to.
    try {
        fSaved = std::make_unique<CSavedWaveSample>(std::move(incoming));
    } catch (...) {
        fDocument.SwapWaveSampleAndSliceSequence(incoming, fSequence);
        fNewSample = std::move(incoming);
        throw;
    }
}

void CWaveSampleAndSliceSequenceChange::Undo() { Restore(); }

void CWaveSampleAndSliceSequenceChange::Restore() {
    std::unique_ptr<CABCWaveSample> made = fSaved->MakeSample();
    fDocument.SwapWaveSampleAndSliceSequence(made, fSequence);
    try {
        fSaved = std::make_unique<CSavedWaveSample>(std::move(made));
    } catch (...) {
        fDocument.SwapWaveSampleAndSliceSequence(made, fSequence);
        throw;
    }
}

}  // namespace NSQuillet
