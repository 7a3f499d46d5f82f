#pragma once

#include <cstdint>
#include <memory>

#include "app/document/QuilletDocument.h"
#include "engine/SliceSequence.h"
#include "tools/DemoLoop.h"

namespace NSQuilletTest {

// The demo loop sliced as quillet-cli slices it, a document without a file on `settings`' audio
// output; with `bars` above 0 previewed over that many bars at 140 BPM (two closed steps),
// else without a loop length.
inline std::unique_ptr<NSQuillet::CQuilletDocument> MakeDemoLoopDocument(
    int32_t bars = 2, const NSQuillet::SDocumentSettings& settings = {}) {
    using namespace NSQuillet;
    std::unique_ptr<CABCWaveSample> sample = NSTools::SDemoLoop::Render();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->Analyze(nullptr);
    slices->SetSensitivity(50);
    auto document = std::make_unique<CQuilletDocument>(std::move(sample), false, settings, 0, std::move(slices));
    if (bars > 0) {
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fLoop.SetBars(bars);
        parameters.fLoop.SetPreviewOn(true);
        document->PerformParametersChange(parameters, "Change Loop Length");
        parameters = document->GetDocumentParameters();
        parameters.fLoop.SetPreviewTempo(140000);
        document->PerformParametersChange(parameters, "Change Preview Tempo");
        document->CloseUndoStep();
    }
    return document;
}

}  // namespace NSQuilletTest
