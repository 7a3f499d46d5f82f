#include "ui/logic/WindowCommands.h"

#include <string>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/processing/AddSlicesAtSixteenthsCommand.h"
#include "app/processing/ConvertSampleFormatCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/processing/NormalizeCommand.h"
#include "app/processing/ParameterToggleCommands.h"
#include "app/processing/ReAnalyzeCommand.h"
#include "app/processing/RemoveDCCommand.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "ui/logic/WindowCommandStates.h"
#include "ui/logic/toolbars/ToolbarChanges.h"

namespace NSQuillet {

namespace {

using namespace NSCommandIds;

CQuilletLengthyOperation Operation(int32_t titleEntry) {
    return CQuilletLengthyOperation(StringReference(titleEntry).GetText());
}

bool ScrollDuringPlayback() {
    const CPreferences* preferences = GetPreferences();
    return preferences && preferences->GetScrollDuringPlayback();
}

}  // namespace

CWindowCommands::CWindowCommands(CQuilletDocument& document, IWindowDialogs& dialogs)
    : fDocument(document), fDialogs(dialogs) {}

bool CWindowCommands::IsDispatchedCommand(int32_t command) {
    switch (command) {
    case kGetInfo:
    case kExport:
    case kUndo:
    case kRedo:
    case kCopy:
    case kDelete:
    case kSelectAll:
    case kInvertSelection:
    case kLockSlices:
    case kUnlockSlices:
    case kMuteSlices:
    case kUnmuteSlices:
    case kMagnifyToFit:
    case kMagnifyToFitLoop:
    case kJumpToCursor:
    case kScrollDuringPlayback:
    case kExportAsOneSample:
    case kSilenceSelected:
    case kNormalize:
    case kConvertToMono:
    case kConvertSampleFormat:
    case kCropLoop:
    case kRemoveDC:
    case kReAnalyze:
    case kAddSlicesAt16ths:
        return true;
    default:
        return false;
    }
}

bool CWindowCommands::HasSound() const { return fDocument.GetWaveSample().GetFrameCount() > 0; }

bool CWindowCommands::DoCommand(int32_t command) {
    if (!IsDispatchedCommand(command)) return false;
    const std::optional<SCommandState> state =
        ComputeCommandState(command, CaptureWindowDocumentState(fDocument), ScrollDuringPlayback());
    if (!state || !state->fEnabled) return false;

    CSliceEditing slices(fDocument);
    switch (command) {
    case kGetInfo:
        fDialogs.ShowLoopInformation();
        return true;
    case kExport:
        fDialogs.Export();
        return true;
    case kCopy:
        fDialogs.CopyLoop();
        return true;
    case kUndo:
        fDocument.Undo();
        return true;
    case kRedo:
        fDocument.Redo();
        return true;
    case kDelete:
        slices.DeleteSelectedSlices();
        break;
    case kSelectAll:
        slices.SelectAllSlices();
        break;
    case kInvertSelection:
        slices.InvertSelection();
        break;
    case kLockSlices:
    case kUnlockSlices:
        slices.SetSelectedSlicesLocked(command == kLockSlices);
        break;
    case kMuteSlices:
    case kUnmuteSlices:
        slices.SetSelectedSlicesMuted(command == kMuteSlices);
        break;
    case kMagnifyToFit:
        WithWaveform(&IWaveformCommands::MagnifyToFit);
        return true;
    case kMagnifyToFitLoop:
        WithWaveform(&IWaveformCommands::MagnifyToFitLoop);
        return true;
    case kJumpToCursor:
        WithWaveform(&IWaveformCommands::JumpToCursor);
        return true;
    case kScrollDuringPlayback:
        if (CPreferences* preferences = GetPreferences())
            preferences->SetScrollDuringPlayback(!preferences->GetScrollDuringPlayback());
        return true;
    case kExportAsOneSample:
        ToggleExportAsOneSample(fDocument);
        break;
    case kSilenceSelected:
        ToggleSilenceSelected(fDocument);
        break;
    case kNormalize:
        Normalize();
        break;
    case kConvertToMono:
        ConvertToMono();
        break;
    case kConvertSampleFormat:
        ConvertSampleFormat();
        break;
    default:
        RunProcessing(command);
        break;
    }
    fDocument.CloseUndoStep();
    return true;
}

void CWindowCommands::RunProcessing(int32_t command) {
    switch (command) {
    case kCropLoop: {
        CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_CropLoop);
        CropLoop(fDocument, operation);
        break;
    }
    case kRemoveDC: {
        CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_RemoveDC);
        RemoveDC(fDocument, operation);
        break;
    }
    case kReAnalyze: {
        CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_ReAnalyze);
        ReAnalyze(fDocument, operation);
        break;
    }
    case kAddSlicesAt16ths:
        AddSlicesAtSixteenths(fDocument);
        break;
    default:
        break;
    }
}

void CWindowCommands::Normalize() {
    const std::optional<ENormalizeScope> scope = AskNormalizeScope();
    if (!scope) return;
    CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_Normalize);
    NSQuillet::Normalize(fDocument, operation, *scope);
}

void CWindowCommands::ConvertToMono() {
    CPreferences* preferences = GetPreferences();
    const EMonoChoice proposed = preferences ? preferences->GetConvertToMonoSelection() : EMonoChoice::kMix;
    const std::optional<EMonoChoice> choice = fDialogs.AskConvertToMono(proposed);
    if (!choice) return;
    if (preferences) preferences->SetConvertToMonoSelection(*choice);
    CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_ConvertToMono);
    NSQuillet::ConvertToMono(fDocument, operation, *choice);
}

void CWindowCommands::ConvertSampleFormat() {
    const CABCWaveSample& sample = fDocument.GetWaveSample();
    const std::optional<SSampleFormat> format =
        fDialogs.AskConvertSampleFormat(SSampleFormat{sample.GetSampleRate(), sample.GetBitDepth()});
    if (!format) return;
    if (CPreferences* preferences = GetPreferences()) {
        preferences->SetConvertSampleFormatRate(format->fSampleRate);
        preferences->SetConvertSampleFormatBitDepth(uint32_t(format->fBitDepth));
    }
    CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_ConvertSampleFormat);
    NSQuillet::ConvertSampleFormat(fDocument, operation, format->fSampleRate, format->fBitDepth);
}

void CWindowCommands::WithWaveform(void (IWaveformCommands::*command)()) {
    if (fWaveform) (fWaveform->*command)();
}

bool CWindowCommands::DoKey(const SPlainKey& key, bool focusFree) {
    const std::optional<SKeyBinding> binding = FindKeyBinding(key);
    if (!binding || !HasSound()) return false;
    const bool playback = fDocument.CanPlay();
    switch (binding->fCondition) {
    case EKeyCondition::kAlways:
        break;
    case EKeyCondition::kPlaybackAllowed:
        if (!playback) return false;
        break;
    case EKeyCondition::kPlaybackAllowedAndFocusFree:
        if (!playback || !focusFree) return false;
        break;
    case EKeyCondition::kFocusFree:
        if (!focusFree) return false;
        break;
    }
    DoAction(binding->fAction, binding->fArgument);
    return true;
}

void CWindowCommands::DoAction(EWindowAction action, int32_t argument) {
    using A = EWindowAction;
    switch (action) {
    case A::kPlayLoop:
        fDocument.PlayLoop();
        break;
    case A::kStopOrPlay:
        if (fDocument.IsPlaying()) {
            fDocument.StopOrRewind();
        } else {
            fDocument.PlayLoop();
        }
        break;
    case A::kPlayCurrentSlice:
        fDocument.PlayCurrentSlice();
        break;
    case A::kPlayPreviousSlice:
        fDocument.PlayPreviousSlice();
        break;
    case A::kPlayCurrentSliceAndMoveToNext:
        fDocument.PlayCurrentSliceAndMoveToNext();
        break;
    case A::kStop:
        fDocument.StopOrRewind();
        break;
    case A::kArrowTool:
        SetTool(kEditTool_Arrow);
        break;
    case A::kMuteTool:
        SetTool(kEditTool_Mute);
        break;
    case A::kLockTool:
        SetTool(kEditTool_Lock);
        break;
    case A::kPenTool:
        SetTool(kEditTool_Pen);
        break;
    case A::kZoomIn:
        WithWaveform(&IWaveformCommands::ZoomIn);
        break;
    case A::kZoomOut:
        WithWaveform(&IWaveformCommands::ZoomOut);
        break;
    case A::kDeleteSelectedSlices:
        DoCommand(kDelete);
        break;
    case A::kCursorToPreviousSlice:
        fDocument.MoveToPreviousSlice();
        break;
    case A::kCursorToNextSlice:
        fDocument.MoveToNextSlice();
        break;
    case A::kCursorToLoopStart:
        CursorToLoopStart();
        break;
    case A::kCursorToLoopEnd:
        CursorToLoopEnd();
        break;
    case A::kSetSensitivity:
        SetSensitivity(argument);
        fDocument.CloseUndoStep();
        break;
    case A::kIncreaseSensitivity: {
        const int32_t sensitivity = fDocument.GetSliceSequence().GetSensitivity();
        if (sensitivity < CSliceSequence::kMaximumSensitivity) SetSensitivity(sensitivity + 1);
        break;
    }
    case A::kDecreaseSensitivity: {
        const int32_t sensitivity = fDocument.GetSliceSequence().GetSensitivity();
        if (sensitivity > 0) SetSensitivity(sensitivity - 1);
        break;
    }
    }
}

void CWindowCommands::SetSensitivity(int32_t sensitivity) { ChangeSensitivity(fDocument, sensitivity); }

void CWindowCommands::SetTool(uint32_t tool) {
    SViewAndEditAttributes attributes = fDocument.GetViewAndEditAttributes();
    if (attributes.fEditTool == tool) return;
    attributes.fEditTool = tool;
    fDocument.SetViewAndEditAttributes(attributes);
}

// The first sounding slice at or after the left locator; when that one starts at or after the
// right locator, the sounding slice before it.
void CWindowCommands::CursorToLoopStart() {
    const CSliceSequence& slices = fDocument.GetSliceSequence();
    const SDocumentParameters parameters = fDocument.GetDocumentParameters();
    const CSlice* before = nullptr;
    for (const CSlice& slice : slices.GetSlices()) {
        if (!slices.IsSliceActive(slice)) continue;
        if (slice.GetPosition() >= parameters.fLeftLocator) {
            const CSlice* target = slice.GetPosition() >= parameters.fRightLocator && before ? before : &slice;
            fDocument.SetPlayPosition(target->GetPosition());
            return;
        }
        before = &slice;
    }
}

// The first sounding slice at or after the right locator, when there is one.
void CWindowCommands::CursorToLoopEnd() {
    const CSliceSequence& slices = fDocument.GetSliceSequence();
    const int32_t right = fDocument.GetDocumentParameters().fRightLocator;
    for (const CSlice& slice : slices.GetSlices()) {
        if (slices.IsSliceActive(slice) && slice.GetPosition() >= right) {
            fDocument.SetPlayPosition(slice.GetPosition());
            return;
        }
    }
}

}  // namespace NSQuillet
