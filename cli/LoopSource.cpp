#include "cli/LoopSource.h"

#include "app/AlertIds.h"
#include "app/QuilletLengthyOperation.h"
#include "app/ResourceReference.h"
#include "app/SoundFileOpening.h"
#include "app/StringIds.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

SOpenedLoop OpenAndAnalyze(const std::string& path) {
    SOpenedLoop loop;
    {
        CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
        loop.fWaveSample = OpenSoundFile(path, reading);
    }
    if (!loop.fWaveSample->HasPreview()) loop.fWaveSample->BuildPreview();
    loop.fSlices = std::make_unique<CSliceSequence>(loop.fWaveSample.get());
    CQuilletLengthyOperation analysis(StringReference(NSStringIds::kOperation_Analyze).GetText());
    analysis.SetText(StringReference(NSStringIds::kProgress_FindingSlices).GetText());
    if (!loop.fSlices->Analyze(&analysis)) {
        ShowAlert(AlertReference(NSAlertIds::kAnalyzeInterrupted));
        throw NSMishap::XAbort("user pressed stop");
    }
    return loop;
}

}  // namespace NSQuillet::NSCli
