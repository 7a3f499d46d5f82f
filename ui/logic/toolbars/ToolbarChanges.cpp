#include "ui/logic/toolbars/ToolbarChanges.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

// Closing before and after keeps the change from merging with a step of the same name.
void CommitParameters(CQuilletDocument& document, const SDocumentParameters& parameters, int32_t nameId) {
    if (parameters == document.GetDocumentParameters()) return;
    document.CloseUndoStep();
    document.PerformParametersChange(parameters, UndoText(nameId));
    document.CloseUndoStep();
}

void CommitEffects(CQuilletDocument& document, const SEffectParameters& parameters, int32_t nameId) {
    if (parameters == document.GetEffectParameters()) return;
    document.CloseUndoStep();
    document.PerformEffectParametersChange(parameters, UndoText(nameId));
    document.CloseUndoStep();
}

}  // namespace

SToolbarConditions CaptureToolbarConditions(const CQuilletDocument& document) {
    return CaptureToolbarConditions(document, CaptureKnobParameters(document));
}

SToolbarConditions CaptureToolbarConditions(const CQuilletDocument& document, const SKnobParameters& parameters) {
    SToolbarConditions conditions;
    conditions.fHasSound = document.GetWaveSample().GetFrameCount() > 0;
    conditions.fCanPlay = document.CanPlay();
    conditions.fLoopLengthSet = parameters.fDocument.fLoop.IsLoopLengthSet();
    conditions.fPreviewOn = parameters.fDocument.fLoop.IsPreviewOn();
    conditions.fEnvelopeOn = parameters.fDocument.fEnvelope.fOn;
    conditions.fTransientShaperOn = parameters.fEffects.fTransientShaper.fOn;
    conditions.fEqualizerOn = parameters.fEffects.fEqualizer.fOn;
    return conditions;
}

void TogglePreviewPlay(CQuilletDocument& document) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetPreviewOn(!parameters.fLoop.IsPreviewOn());
    CommitParameters(document, parameters, NSStringIds::kUndo_TogglePreviewPlay);
}

bool IsEffectOn(const CQuilletDocument& document, EPresetEffect effect) {
    switch (effect) {
        case EPresetEffect::kEnvelope: return document.GetDocumentParameters().fEnvelope.fOn;
        case EPresetEffect::kTransientShaper: return document.GetEffectParameters().fTransientShaper.fOn;
        case EPresetEffect::kEqualizer: return document.GetEffectParameters().fEqualizer.fOn;
    }
    return false;
}

bool ToggleEffect(CQuilletDocument& document, EPresetEffect effect) {
    if (effect == EPresetEffect::kEnvelope) {
        SDocumentParameters parameters = document.GetDocumentParameters();
        parameters.fEnvelope.fOn = !parameters.fEnvelope.fOn;
        CommitParameters(document, parameters, NSStringIds::kUndo_ToggleEnvelope);
    } else {
        SEffectParameters parameters = document.GetEffectParameters();
        if (effect == EPresetEffect::kTransientShaper) {
            parameters.fTransientShaper.fOn = !parameters.fTransientShaper.fOn;
            CommitEffects(document, parameters, NSStringIds::kUndo_ToggleTransientShaper);
        } else {
            parameters.fEqualizer.fOn = !parameters.fEqualizer.fOn;
            CommitEffects(document, parameters, NSStringIds::kUndo_ToggleEqualizer);
        }
    }
    return IsEffectOn(document, effect);
}

void SelectEffectPreset(CQuilletDocument& document, EPresetEffect effect, const SEffectPreset& preset) {
    switch (effect) {
        case EPresetEffect::kEnvelope: {
            SDocumentParameters parameters = document.GetDocumentParameters();
            parameters.fEnvelope = ApplyPreset(preset, parameters.fEnvelope);
            CommitParameters(document, parameters, NSStringIds::kUndo_SelectEnvelopePreset);
            break;
        }
        case EPresetEffect::kTransientShaper: {
            SEffectParameters parameters = document.GetEffectParameters();
            parameters.fTransientShaper = ApplyPreset(preset, parameters.fTransientShaper);
            CommitEffects(document, parameters, NSStringIds::kUndo_SelectTransientShaperPreset);
            break;
        }
        case EPresetEffect::kEqualizer: {
            SEffectParameters parameters = document.GetEffectParameters();
            parameters.fEqualizer = ApplyPreset(preset, parameters.fEqualizer);
            CommitEffects(document, parameters, NSStringIds::kUndo_SelectEqualizerPreset);
            break;
        }
    }
}

void SetLoopBars(CQuilletDocument& document, int32_t bars) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetBars(int32_t(CLoopSettings::kBarsRange.Clamp(bars)));
    CommitParameters(document, parameters, NSStringIds::kUndo_ChangeLoopLength);
}

void ChooseLoopBeats(CQuilletDocument& document, int32_t beats) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    const SLoopLength length = ChooseBeats(SLoopLength{parameters.fLoop.GetBars(), parameters.fLoop.GetBeats()},
                                           int32_t(CLoopSettings::kBeatsRange.Clamp(beats)));
    parameters.fLoop.SetBars(length.fBars);
    parameters.fLoop.SetBeats(length.fBeats);
    CommitParameters(document, parameters, NSStringIds::kUndo_ChangeLoopLength);
}

void ChooseTimeSignature(CQuilletDocument& document, STimeSignature signature) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetTimeSignatureNumerator(signature.fNumerator);
    parameters.fLoop.SetTimeSignatureDenominator(signature.fDenominator);
    CommitParameters(document, parameters, NSStringIds::kUndo_ChangeTimeSignature);
}

void SetPreviewTempo(CQuilletDocument& document, int32_t tempo) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetPreviewTempo(tempo);
    CommitParameters(document, parameters, NSStringIds::kUndo_ChangePreviewTempo);
}

void ChangeSensitivity(CQuilletDocument& document, int32_t sensitivity) {
    sensitivity = std::clamp(sensitivity, 0, CSliceSequence::kMaximumSensitivity);
    if (sensitivity == document.GetSliceSequence().GetSensitivity()) return;
    auto slices = std::make_unique<CSliceSequence>(document.GetSliceSequence());
    slices->SetSensitivity(sensitivity);
    document.PerformSliceSequenceChange(std::move(slices), UndoText(NSStringIds::kUndo_ChangeSensitivity));
}

int32_t GetLoopTempo(const SDocumentParameters& parameters, uint32_t sampleRate) {
    return parameters.fLoop.GetOriginalTempo(int64_t(parameters.fRightLocator) - parameters.fLeftLocator, sampleRate);
}

std::string FormatLoopTempoText(int32_t tempo) {
    if (tempo <= 0) return StringReference(NSStringIds::kNone).GetText();
    char number[32];
    std::snprintf(number, sizeof number, "%d.%03d", tempo / 1000, tempo % 1000);
    return number + StringReference(NSStringIds::kBPMSuffix).GetText();
}

std::optional<int32_t> GetTempoKnobResetValue(int32_t loopTempo) {
    if (loopTempo <= 0) return std::nullopt;
    return CLoopSettings::ClampPreviewTempo(loopTempo);
}

int32_t CountShownSlices(const CQuilletDocument& document) {
    const CSliceSequence& slices = document.GetSliceSequence();
    return int32_t(std::count_if(slices.GetSlices().begin(), slices.GetSlices().end(),
                                 [&](const CSlice& slice) { return slices.IsSliceShown(slice); }));
}

}  // namespace NSQuillet
