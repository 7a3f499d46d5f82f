#include "app/opening/OpeningAnalysis.h"

#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

std::unique_ptr<CSliceSequence> AnalyzeOpenedSound(CABCWaveSample& sample, EStoppedAnalysis stopped) {
    if (!sample.HasPreview()) sample.BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(&sample);
    CQuilletLengthyOperation analysis(StringReference(NSStringIds::kOperation_Analyze).GetText());
    analysis.SetText(StringReference(NSStringIds::kProgress_FindingSlices).GetText());
    if (!slices->Analyze(&analysis)) {
        ShowAlert(AlertReference(NSAlertIds::kAnalyzeInterrupted));
        if (stopped == EStoppedAnalysis::kStopOpening) throw NSMishap::XAbort("user pressed stop");
    }
    return slices;
}

std::unique_ptr<CQuilletDocument> OpenAnalyzedDocument(const std::string& path, EStoppedAnalysis stopped,
                                                       const SDocumentSettings& settings, int32_t knownTempo) {
    CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
    return OpenDocument(path, settings, reading,
                        [stopped](CABCWaveSample& sample) { return AnalyzeOpenedSound(sample, stopped); }, knownTempo);
}

}  // namespace NSQuillet
