#include "app/document/WaveSampleAndSliceSequenceChange.h"

#include <utility>

#include "app/document/QuilletDocument.h"
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
        fSaved = SwapInAndSaveTheOther(incoming, [&](std::unique_ptr<CABCWaveSample>& sample) {
            fDocument.SwapWaveSampleAndSliceSequence(sample, fSequence, CDocumentChangeKey());
        });
    } catch (...) {
        fNewSample = std::move(incoming);
        throw;
    }
}

void CWaveSampleAndSliceSequenceChange::Undo() { Restore(); }

void CWaveSampleAndSliceSequenceChange::Restore() {
    std::unique_ptr<CABCWaveSample> made = fSaved->MakeSample();
    fSaved = SwapInAndSaveTheOther(made, [&](std::unique_ptr<CABCWaveSample>& sample) {
        fDocument.SwapWaveSampleAndSliceSequence(sample, fSequence, CDocumentChangeKey());
    });
}

}  // namespace NSQuillet
