#include "ui/logic/WindowCommandStates.h"

#include <array>

#include "app/document/QuilletDocument.h"
#include "app/processing/ConvertToMonoCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

using namespace NSCommandIds;

constexpr std::array<int32_t, 35> kWindowMenuCommands = {
    kOpen, kClose, kGetInfo, kSave, kSaveAs, kExport,
    kUndo, kRedo, kCut, kCopy, kPaste, kDelete, kSelectAll, kInvertSelection,
    kMagnifyToFit, kMagnifyToFitLoop, kJumpToCursor, kScrollDuringPlayback,
    kExportAsOneSample, kSilenceSelected, kNormalize, kConvertToMono, kConvertSampleFormat, kCropLoop, kRemoveDC,
    kReAnalyze, kAddSlicesAt16ths,
    kOnlineDocumentation, kHomePage, kLoopsPage, kTechInfoAndSupport,
    kLockSlices, kUnlockSlices, kMuteSlices, kUnmuteSlices,
};

SCommandState Enabled(bool enabled, bool marked = false) {
    SCommandState state;
    state.fEnabled = enabled;
    state.fMarked = marked;
    return state;
}

// "Undo ^0" / "Redo ^0" with the step's name while there is a step; the resource's label
// otherwise.
SCommandState StepCommand(bool can, int32_t labelEntry, const std::string& name) {
    SCommandState state = Enabled(can);
    if (can) state.fLabel = StringReference(labelEntry).With(name).GetText();
    return state;
}

bool ShownSliceSelected(const CSliceSequence& slices) {
    for (const CSlice& slice : slices.GetSlices())
        if (slice.IsSelected() && slices.IsSliceShown(slice)) return true;
    return false;
}

}  // namespace

SWindowDocumentState CaptureWindowDocumentState(const CQuilletDocument& document) {
    const SDocumentParameters parameters = document.GetDocumentParameters();
    SWindowDocumentState state;
    state.fHasSound = document.GetWaveSample().GetFrameCount() > 0;
    state.fModified = document.IsModified();
    state.fCanUndo = document.CanUndo();
    if (state.fCanUndo) state.fUndoName = document.GetUndoName();
    state.fCanRedo = document.CanRedo();
    if (state.fCanRedo) state.fRedoName = document.GetRedoName();
    state.fShownSliceSelected = ShownSliceSelected(document.GetSliceSequence());
    state.fCanCrop = CanCropLoop(document);
    state.fLoopLengthSet = parameters.fLoop.IsLoopLengthSet();
    state.fStereo = CanConvertToMono(document);
    state.fPreviewOn = parameters.fLoop.IsPreviewOn();
    state.fExportSlicesSeparately = parameters.fExportSlicesSeparately;
    state.fSilenceSelected = parameters.fLoop.IsSilenceSelected();
    return state;
}

bool IsWindowMenuCommand(int32_t command) {
    for (int32_t id : kWindowMenuCommands)
        if (id == command) return true;
    return false;
}

bool IsEditMenuCommand(int32_t command) {
    switch (command) {
    case kUndo:
    case kRedo:
    case kCut:
    case kCopy:
    case kPaste:
    case kDelete:
    case kSelectAll:
    case kInvertSelection:
        return true;
    default:
        return false;
    }
}

std::optional<SCommandState> ComputeCommandState(int32_t command, const SWindowDocumentState& d,
                                                 bool scrollDuringPlayback) {
    const bool sound = d.fHasSound;
    switch (command) {
    case kOpen:
    case kClose:
    case kOnlineDocumentation:
    case kHomePage:
    case kLoopsPage:
    case kTechInfoAndSupport:
        return Enabled(true);
    // Without sound nothing below applies, whatever the empty document's settings say.
    case kGetInfo:
        return Enabled(sound && d.fLoopLengthSet);
    case kSave:
        return Enabled(sound && d.fModified);
    case kSaveAs:
    case kExport:
    case kSelectAll:
    case kMagnifyToFit:
    case kMagnifyToFitLoop:
    case kJumpToCursor:
    case kNormalize:
    case kConvertSampleFormat:
    case kRemoveDC:
    case kReAnalyze:
        return Enabled(sound);
    case kUndo:
        return StepCommand(sound && d.fCanUndo, NSStringIds::kUndoLabel, d.fUndoName);
    case kRedo:
        return StepCommand(sound && d.fCanRedo, NSStringIds::kRedoLabel, d.fRedoName);
    case kCut:
    case kPaste:
        return Enabled(false);
    case kCopy: {
        SCommandState state = Enabled(sound);
        const SAccessKeyText label = SplitAccessKey(StringReference(NSStringIds::kCopyLoopLabel).GetText());
        state.fLabel = label.fText;
        state.fAccessKey = label.fAccessKey;
        return state;
    }
    case kDelete:
    case kInvertSelection:
    case kLockSlices:
    case kUnlockSlices:
    case kMuteSlices:
    case kUnmuteSlices:
        return Enabled(sound && d.fShownSliceSelected);
    case kScrollDuringPlayback:
        return Enabled(sound, scrollDuringPlayback);
    case kExportAsOneSample:
        return Enabled(sound, !d.fExportSlicesSeparately);
    case kSilenceSelected:
        return Enabled(sound && d.fPreviewOn, d.fSilenceSelected);
    case kConvertToMono:
        return Enabled(sound && d.fStereo);
    case kCropLoop:
        return Enabled(sound && d.fCanCrop);
    case kAddSlicesAt16ths:
        return Enabled(sound && d.fLoopLengthSet);
    default:
        return std::nullopt;
    }
}

CWindowCommandStates::CWindowCommandStates() {
    for (int32_t id : kWindowMenuCommands) fStates[id] = SCommandState{};
}

void CWindowCommandStates::Update(const SWindowDocumentState& document, bool scrollDuringPlayback, bool focusFree) {
    for (auto& [command, state] : fStates) {
        if (!focusFree && IsEditMenuCommand(command)) continue;
        state = *ComputeCommandState(command, document, scrollDuringPlayback);
    }
}

const SCommandState* CWindowCommandStates::Find(int32_t command) const {
    const auto at = fStates.find(command);
    return at == fStates.end() ? nullptr : &at->second;
}

SAccessKeyText SplitAccessKey(const std::string& text) {
    SAccessKeyText split;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && split.fAccessKey == '\0' && i + 1 < text.size()) {
            split.fAccessKey = text[i + 1];
            continue;
        }
        split.fText += text[i];
    }
    return split;
}

std::string ToAmpersandAccessKey(const std::string& label, char accessKey) {
    std::string text;
    bool marked = accessKey == '\0';
    for (char c : label) {
        if (!marked && c == accessKey) {
            text += '&';
            marked = true;
        }
        text += c;
        if (c == '&') text += '&';
    }
    return text;
}

}  // namespace NSQuillet
