#include "app/opening/OpeningAnalysis.h"

#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/FollowingAnalysis.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

std::unique_ptr<CSliceSequence> AnalyzeOpenedSound(CABCWaveSample& sample, EStoppedAnalysis stopped,
                                                   CFollowingAnalysis* following) {
    if (!sample.HasPreview()) sample.BuildPreview();
    const bool followed = following && following->Follows(sample);
    auto slices = followed ? nullptr : std::make_unique<CSliceSequence>(&sample);
    CQuilletLengthyOperation analysis(StringReference(NSStringIds::kOperation_Analyze).GetText());
    analysis.SetText(StringReference(NSStringIds::kProgress_FindingSlices).GetText());
    const bool completed = followed ? following->Finish(&analysis) : slices->Analyze(&analysis);
    if (followed) slices = following->TakeSlices();
    if (!completed) {
        ShowAlert(AlertReference(NSAlertIds::kAnalyzeInterrupted));
        if (stopped == EStoppedAnalysis::kStopOpening) throw NSMishap::XAbort("user pressed stop");
    }
    return slices;
}

std::unique_ptr<CQuilletDocument> OpenAnalyzedDocument(const std::string& path, EStoppedAnalysis stopped,
                                                       const SDocumentSettings& settings, int32_t knownTempo) {
    CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
    // The analysis runs behind the reading; the opening has it release the sample before
    // the document takes it or a failure drops it.
    CFollowingAnalysis following;
    return OpenDocument(
        path, settings, reading,
        [stopped, &following](CABCWaveSample& sample) { return AnalyzeOpenedSound(sample, stopped, &following); },
        &following, knownTempo);
}

std::unique_ptr<CQuilletDocument> OpenUnanalyzedDocument(const std::string& path, const SDocumentSettings& settings) {
    CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
    return OpenDocument(path, settings, reading);
}

}  // namespace NSQuillet
