#include "cli/LoopSource.h"

#include "app/Alert.h"
#include "app/QuilletLengthyOperation.h"
#include "app/SoundFileOpening.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

namespace {

constexpr const char* kAlert_AnalyzeInterrupted =
    "[NOTE][Analyze was interrupted!]Quillet may be able to find more slices in the file. To resume analysis, "
    "please choose Re-Analyze from the Process menu.[OK]";

}  // namespace

SOpenedLoop OpenAndAnalyze(const std::string& path) {
    SOpenedLoop loop;
    {
        CQuilletLengthyOperation reading("Open");
        loop.fWaveSample = OpenSoundFile(path, reading);
    }
    if (!loop.fWaveSample->HasPreview()) loop.fWaveSample->BuildPreview();
    loop.fSlices = std::make_unique<CSliceSequence>(loop.fWaveSample.get());
    CQuilletLengthyOperation analysis("Analyze");
    analysis.SetText("Finding slices…");
    if (!loop.fSlices->Analyze(&analysis)) {
        ShowAlert(kAlert_AnalyzeInterrupted);
        throw NSMishap::XAbort("user pressed stop");
    }
    return loop;
}

}  // namespace NSQuillet::NSCli
