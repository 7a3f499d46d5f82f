#include "app/processing/AddSlicesAtSixteenthsCommand.h"

#include <algorithm>
#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/resources/Alert.h"
#include "app/resources/AlertIds.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// "[Cancel][OK]": OK is the rightmost button.
constexpr int32_t kAnswer_OK = kAlertAnswerOfRightmostButton;

void AddLockedSliceAt(CSliceSequence& slices, double position) {
    CSlice* existing = slices.FindSliceAt(int32_t(position));
    if (existing) {
        existing->SetKind(ESliceKind::kLocked);
        return;
    }
    slices.InsertSlice(CSlice(int32_t(position), CSlice::kInsertedLevel, ESliceKind::kLocked));
}

}  // namespace

bool CanAddSlicesAtSixteenths(const CQuilletDocument& document) {
    const SDocumentParameters p = document.GetDocumentParameters();
    return p.fLoop.IsLoopLengthSet();
}

int32_t SixteenthsPerBeat(int32_t denominator) { return denominator > 0 ? 16 / denominator : 0; }

bool AddSlicesAtSixteenths(CQuilletDocument& document) {
    const SDocumentParameters p = document.GetDocumentParameters();
    const int64_t beats = p.fLoop.GetTotalBeats();
    const int32_t perBeat = SixteenthsPerBeat(p.fLoop.GetTimeSignatureDenominator());
    if (beats * perBeat > kManySixteenths && ShowAlert(AlertReference(NSAlertIds::kMoreThan1000Slices)) != kAnswer_OK)
        throw NSMishap::XSilentAbort("adding slices at sixteenths declined");

    auto slices = std::make_unique<CSliceSequence>(document.GetSliceSequence());
    const int32_t before = slices->GetSliceCount();
    const double left = p.fLeftLocator;
    const double right = p.fRightLocator;
    // A grid finer than one frame per point would only pile points onto the same frames; the
    // bound also keeps a loop file's absurd bar count from running the walk for ages.
    const int64_t points = beats * std::max(perBeat, 1);
    if (beats > 0 && right > left && points <= int64_t(p.fRightLocator) - p.fLeftLocator) {
        const double beat = (right - left) / double(beats);
        const double sixteenth = perBeat > 0 ? beat / perBeat : beat;
        for (int64_t index = 0;; ++index) {
            const double position = left + double(index) * beat;
            if (!(position < right)) break;
            if (position + beat / 2 < right) AddLockedSliceAt(*slices, position);
            for (int32_t j = 1; j < perBeat; ++j) {
                const double step = position + j * sixteenth;
                if (step + sixteenth / 2 < right) AddLockedSliceAt(*slices, step);
            }
        }
    }
    if (slices->GetSliceCount() == before) {
        ShowAlert(AlertReference(NSAlertIds::kNoSlicesAdded));
        return false;
    }
    slices->UpdateSliceLengths();
    document.CloseUndoStep();
    document.PerformSliceSequenceChange(std::move(slices), UndoText(NSStringIds::kUndo_AddSlicesAt16ths));
    document.CloseUndoStep();
    return true;
}

}  // namespace NSQuillet
