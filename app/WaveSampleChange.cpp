#include "app/WaveSampleChange.h"

#include <utility>

#include "app/QuilletDocument.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CWaveSampleChange::CWaveSampleChange(CQuilletDocument& document, std::unique_ptr<CABCWaveSample> sample)
    : fDocument(document), fNewSample(std::move(sample)) {
    if (!fNewSample) throw NSMishap::XStdInvalidArgument("null wave sample");
    fNewSample->BuildPreview();
}

CWaveSampleChange::~CWaveSampleChange() = default;

void CWaveSampleChange::Do() {
    if (!fNewSample) {
        Restore();
        return;
    }
    std::unique_ptr<CABCWaveSample> incoming = std::move(fNewSample);
    try {
        fDocument.SwapWaveSample(incoming);
    } catch (...) {
        fNewSample = std::move(incoming);
        throw;
    }
    // `incoming` now holds the document's former sample, which nothing else refers to.
    try {
        fSaved = std::make_unique<CSavedWaveSample>(std::move(incoming));
    } catch (...) {
        fDocument.SwapWaveSample(incoming);
        fNewSample = std::move(incoming);
        throw;
    }
}

void CWaveSampleChange::Undo() { Restore(); }

void CWaveSampleChange::Restore() {
    std::unique_ptr<CABCWaveSample> made = fSaved->MakeSample();
    fDocument.SwapWaveSample(made);
    try {
        fSaved = std::make_unique<CSavedWaveSample>(std::move(made));
    } catch (...) {
        fDocument.SwapWaveSample(made);
        throw;
    }
}

}  // namespace NSQuillet
