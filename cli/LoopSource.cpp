#include "cli/LoopSource.h"

#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

namespace {

std::unique_ptr<CSliceSequence> Analyze(CABCWaveSample& sample) {
    if (!sample.HasPreview()) sample.BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(&sample);
    CQuilletLengthyOperation analysis(StringReference(NSStringIds::kOperation_Analyze).GetText());
    analysis.SetText(StringReference(NSStringIds::kProgress_FindingSlices).GetText());
    if (!slices->Analyze(&analysis)) {
        ShowAlert(AlertReference(NSAlertIds::kAnalyzeInterrupted));
        throw NSMishap::XAbort("user pressed stop");
    }
    return slices;
}

}  // namespace

std::unique_ptr<CQuilletDocument> OpenLoopDocument(const std::string& path) {
    CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
    return OpenDocument(path, SDocumentSettings{}, reading, Analyze);
}

}  // namespace NSQuillet::NSCli
