#include "ui/logic/toolbars/ToolbarKnobParameters.h"

#include <algorithm>
#include <array>
#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"

namespace NSQuillet {

namespace {

using namespace NSStringIds;

// In EToolbarKnob order: tooltip, heading, undo name, object name.
const std::array<SToolbarKnobDescription, kToolbarKnobCount> kDescriptions = {{
    {kHelp_GateSensitivity, kGateSensHeading, kUndo_ChangeGateSensitivity, "fGateSensitivityKnob"},
    {kHelp_PreviewPitch, kPitchHeading, kUndo_ChangePitch, "fPitchKnob"},
    {kHelp_ProcessingGain, kGainHeading, kUndo_ChangeProcessingGain, "fProcessingGainKnob"},
    {kHelp_PreviewTempo, kTempoHeading, kUndo_ChangePreviewTempo, "fPreviewTempoKnob"},
    {kHelp_AttackLength, kAttackHeading, kUndo_ChangeEnvelopeAttack, "fAttackKnob"},
    {kHelp_DecayLength, kDecayHeading, kUndo_ChangeEnvelopeDecay, "fDecayKnob"},
    {kHelp_StretchAmount, kStretchHeading, kUndo_ChangeEnvelopeStretch, "fStretchKnob"},
    {kHelp_ThresholdValue, kThresholdHeading, kUndo_ChangeTransientShaperThreshold, "fThresholdKnob"},
    {kHelp_RatioValue, kAmountHeading, kUndo_ChangeTransientShaperRatio, "fRatioKnob"},
    {kHelp_AttackTime, kAttackHeading, kUndo_ChangeTransientShaperAttack, "fAttackKnob"},
    {kHelp_ReleaseTime, kReleaseHeading, kUndo_ChangeTransientShaperRelease, "fReleaseKnob"},
    {kHelp_LowCutoff, kLowCutHeading, kUndo_ChangeEqualizerLowCut, "fLowCutKnob"},
    {kHelp_LowFrequency, kLowHeading, kUndo_ChangeEqualizerLowFreq, "fLowFreqKnob"},
    {kHelp_LowGain, kGHeading, kUndo_ChangeEqualizerLowGain, "fLowGainKnob"},
    {kHelp_LowQ, kQHeading, kUndo_ChangeEqualizerLowQ, "fLowQKnob"},
    {kHelp_HighFrequency, kHighHeading, kUndo_ChangeEqualizerHighFreq, "fHighFreqKnob"},
    {kHelp_HighGain, kGHeading, kUndo_ChangeEqualizerHighGain, "fHighGainKnob"},
    {kHelp_HighQ, kQHeading, kUndo_ChangeEqualizerHighQ, "fHighQKnob"},
    {kHelp_HighCutoff, kHighCutHeading, kUndo_ChangeEqualizerHighCut, "fHighCutKnob"},
}};

int32_t ClampToKnob(EToolbarKnob knob, int32_t value) {
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    return std::clamp(value, settings.fMinimum, settings.fMaximum);
}

}  // namespace

const SToolbarKnobDescription& GetToolbarKnobDescription(EToolbarKnob knob) { return kDescriptions[size_t(knob)]; }

EKnobTarget GetKnobTarget(EToolbarKnob knob) {
    switch (knob) {
        case EToolbarKnob::kGateSensitivity:
            return EKnobTarget::kSliceSequence;
        case EToolbarKnob::kPitch:
        case EToolbarKnob::kPreviewTempo:
        case EToolbarKnob::kEnvelopeAttack:
        case EToolbarKnob::kEnvelopeDecay:
        case EToolbarKnob::kEnvelopeStretch:
            return EKnobTarget::kDocumentParameters;
        default:
            return EKnobTarget::kEffectParameters;
    }
}

SKnobParameters CaptureKnobParameters(const CQuilletDocument& document) {
    return SKnobParameters{document.GetDocumentParameters(), document.GetEffectParameters(),
                           document.GetSliceSequence().GetGateSensitivity()};
}

int32_t GetKnobValue(EToolbarKnob knob, const SKnobParameters& p) {
    const STransientShaperSettings& shaper = p.fEffects.fTransientShaper;
    const SEqualizerSettings& equalizer = p.fEffects.fEqualizer;
    int32_t value = 0;
    switch (knob) {
        case EToolbarKnob::kGateSensitivity: value = p.fGateSensitivity; break;
        case EToolbarKnob::kPitch: value = p.fDocument.fPitch; break;
        case EToolbarKnob::kProcessingGain: value = p.fEffects.fProcessingGain; break;
        case EToolbarKnob::kPreviewTempo: value = p.fDocument.fLoop.GetPreviewTempo(); break;
        case EToolbarKnob::kEnvelopeAttack: value = p.fDocument.fEnvelope.fAttack; break;
        case EToolbarKnob::kEnvelopeDecay: value = DecayKnobValueOfParameter(p.fDocument.fEnvelope.fDecay); break;
        case EToolbarKnob::kEnvelopeStretch: value = p.fDocument.fEnvelope.fStretch; break;
        case EToolbarKnob::kShaperThreshold: value = shaper.fThreshold; break;
        case EToolbarKnob::kShaperRatio: value = shaper.fRatio; break;
        case EToolbarKnob::kShaperAttack: value = shaper.fAttack; break;
        case EToolbarKnob::kShaperRelease: value = shaper.fRelease; break;
        case EToolbarKnob::kLowCut: value = equalizer.fLowCut; break;
        case EToolbarKnob::kLowFrequency: value = equalizer.fLowFrequency; break;
        case EToolbarKnob::kLowGain: value = equalizer.fLowGain; break;
        case EToolbarKnob::kLowQ: value = equalizer.fLowQ; break;
        case EToolbarKnob::kHighFrequency: value = equalizer.fHighFrequency; break;
        case EToolbarKnob::kHighGain: value = equalizer.fHighGain; break;
        case EToolbarKnob::kHighQ: value = equalizer.fHighQ; break;
        case EToolbarKnob::kHighCut: value = equalizer.fHighCut; break;
    }
    return ClampToKnob(knob, value);
}

void SetKnobValue(EToolbarKnob knob, int32_t value, SKnobParameters& p) {
    value = ClampToKnob(knob, value);
    // Every knob's range lies within 16 bits but the tempo's and the gain's.
    const auto v16 = int16_t(value);
    STransientShaperSettings& shaper = p.fEffects.fTransientShaper;
    SEqualizerSettings& equalizer = p.fEffects.fEqualizer;
    switch (knob) {
        case EToolbarKnob::kGateSensitivity: p.fGateSensitivity = value; break;
        case EToolbarKnob::kPitch: p.fDocument.fPitch = v16; break;
        case EToolbarKnob::kProcessingGain: p.fEffects.fProcessingGain = value; break;
        case EToolbarKnob::kPreviewTempo: p.fDocument.fLoop.SetPreviewTempo(value); break;
        case EToolbarKnob::kEnvelopeAttack: p.fDocument.fEnvelope.fAttack = v16; break;
        case EToolbarKnob::kEnvelopeDecay:
            p.fDocument.fEnvelope.fDecay = int16_t(DecayParameterOfKnobValue(value));
            break;
        case EToolbarKnob::kEnvelopeStretch: p.fDocument.fEnvelope.fStretch = v16; break;
        case EToolbarKnob::kShaperThreshold: shaper.fThreshold = v16; break;
        case EToolbarKnob::kShaperRatio: shaper.fRatio = v16; break;
        case EToolbarKnob::kShaperAttack: shaper.fAttack = v16; break;
        case EToolbarKnob::kShaperRelease: shaper.fRelease = v16; break;
        case EToolbarKnob::kLowCut: equalizer.fLowCut = v16; break;
        case EToolbarKnob::kLowFrequency: equalizer.fLowFrequency = v16; break;
        case EToolbarKnob::kLowGain: equalizer.fLowGain = v16; break;
        case EToolbarKnob::kLowQ: equalizer.fLowQ = v16; break;
        case EToolbarKnob::kHighFrequency: equalizer.fHighFrequency = v16; break;
        case EToolbarKnob::kHighGain: equalizer.fHighGain = v16; break;
        case EToolbarKnob::kHighQ: equalizer.fHighQ = v16; break;
        case EToolbarKnob::kHighCut: equalizer.fHighCut = v16; break;
    }
}

bool ChangeKnobValue(CQuilletDocument& document, EToolbarKnob knob, int32_t value) {
    const SKnobParameters before = CaptureKnobParameters(document);
    SKnobParameters after = before;
    SetKnobValue(knob, value, after);
    const std::string name = UndoText(GetToolbarKnobDescription(knob).fUndoName);
    switch (GetKnobTarget(knob)) {
        case EKnobTarget::kDocumentParameters:
            if (after.fDocument == before.fDocument) return false;
            document.PerformParametersChange(after.fDocument, name);
            return true;
        case EKnobTarget::kEffectParameters:
            if (after.fEffects == before.fEffects) return false;
            document.PerformEffectParametersChange(after.fEffects, name);
            return true;
        case EKnobTarget::kSliceSequence: {
            if (after.fGateSensitivity == before.fGateSensitivity) return false;
            auto slices = std::make_unique<CSliceSequence>(document.GetSliceSequence());
            slices->SetGateSensitivity(after.fGateSensitivity);
            document.PerformSliceSequenceChange(std::move(slices), name);
            return true;
        }
    }
    return false;
}

}  // namespace NSQuillet
