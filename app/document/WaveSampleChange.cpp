#include "app/document/WaveSampleChange.h"

#include <utility>

#include "app/document/QuilletDocument.h"
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
        fSaved = SwapInAndSaveTheOther(incoming, [&](std::unique_ptr<CABCWaveSample>& sample) {
            fDocument.SwapWaveSample(sample, CDocumentChangeKey());
        });
    } catch (...) {
        fNewSample = std::move(incoming);
        throw;
    }
}

void CWaveSampleChange::Undo() { Restore(); }

void CWaveSampleChange::Restore() {
    std::unique_ptr<CABCWaveSample> made = fSaved->MakeSample();
    fSaved = SwapInAndSaveTheOther(made, [&](std::unique_ptr<CABCWaveSample>& sample) {
        fDocument.SwapWaveSample(sample, CDocumentChangeKey());
    });
}

}  // namespace NSQuillet
