#include "app/DocumentLoopFileSettings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/QuilletDocument.h"
#include "engine/LoopSettings.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

template <class TValue>
int16_t Clamp16(TValue value, int32_t low, int32_t high) {
    return int16_t(std::clamp<int32_t>(int32_t(value), low, high));
}

uint32_t KnownOr(uint32_t value, uint32_t first, uint32_t last) {
    return value >= first && value <= last ? value : first;
}

// The export's samples as stored bytes: 2 each for 16-bit sound, 4 for 24-bit, within u32.
uint32_t ExportBytes(int64_t samples, int32_t bitDepth) {
    const int64_t perSample = bitDepth == 16 ? 2 : bitDepth == 24 ? 4 : 0;
    const int64_t bytes = std::max<int64_t>(samples, 0) * perSample;
    return uint32_t(std::min<int64_t>(bytes, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

SLoopFileSettings CaptureLoopFileSettings(CQuilletDocument& document) {
    const SDocumentParameters parameters = document.GetDocumentParameters();
    const SEffectParameters effects = document.GetEffectParameters();
    const SViewAndEditAttributes& attributes = document.GetViewAndEditAttributes();
    const CSliceSequence& slices = document.GetSliceSequence();
    const CABCWaveSample& sample = document.GetWaveSample();

    SLoopFileSettings s;
    s.fBars = std::clamp(parameters.fBars, 0, 999);
    s.fBeats = std::clamp(parameters.fBeats, 0, 7);
    s.fTimeSignatureNumerator = std::clamp(parameters.fTimeSignatureNumerator, 1, 15);
    s.fTimeSignatureDenominator = std::clamp(parameters.fTimeSignatureDenominator, 1, 15);
    s.fSensitivity = std::clamp(slices.GetSensitivity(), 0, CSliceSequence::kMaximumSensitivity);
    s.fGateSensitivity = std::clamp(slices.GetGateSensitivity(), 0, CSliceSequence::kMaximumGateSensitivity);
    s.fGain = Clamp16(effects.fProcessingGain, 0, 7943);
    s.fPitch = Clamp16(parameters.fPitch, -2400, 2400);
    s.fPreviewTempo = CLoopSettings::ClampPreviewTempo(parameters.fPreviewTempo);
    s.fExportSlicesSeparately = parameters.fExportSlicesSeparately;
    s.fPreviewOn = parameters.fPreviewOn;

    s.fSilenceSelected = parameters.fSilenceSelected;
    s.fRulerUnits = KnownOr(attributes.fHorizontalRulerUnits, kRulerUnits_Time, kRulerUnits_Beats);
    s.fExportSize = ExportBytes(document.GetExportSize(), sample.GetBitDepth());

    s.fEditTool = KnownOr(attributes.fEditTool, kEditTool_Arrow, kEditTool_Pen);
    s.fWindowState1 = document.GetWindowStateWord(0);
    s.fWindowState2 = document.GetWindowStateWord(1);
    s.fWindowStateFlag = document.GetWindowStateFlag();

    s.fEnvelopeOn = parameters.fEnvelopeOn;
    s.fEnvelopeAttack = Clamp16(parameters.fEnvelopeAttack, 0, 1023);
    s.fEnvelopeDecay = Clamp16(parameters.fEnvelopeDecay, 0, 1023);
    s.fEnvelopeStretch = Clamp16(parameters.fEnvelopeStretch, 0, 100);

    s.fEqualizerOn = effects.fEqualizerOn;
    s.fEqualizerLowCut = Clamp16(effects.fEqualizerLowCut, 15, 12000);
    s.fEqualizerLowFrequency = Clamp16(effects.fEqualizerLowFrequency, 20, 3000);
    s.fEqualizerLowGain = Clamp16(effects.fEqualizerLowGain, -18000, 18000);
    s.fEqualizerLowQ = Clamp16(effects.fEqualizerLowQ, 500, 10000);
    s.fEqualizerHighFrequency = Clamp16(effects.fEqualizerHighFrequency, 1500, 16000);
    s.fEqualizerHighGain = Clamp16(effects.fEqualizerHighGain, -18000, 18000);
    s.fEqualizerHighQ = Clamp16(effects.fEqualizerHighQ, 500, 10000);
    s.fEqualizerHighCut = Clamp16(effects.fEqualizerHighCut, 100, 20000);

    s.fTransientShaperOn = effects.fTransientShaperOn != 0;
    s.fTransientShaperThreshold = Clamp16(effects.fTransientShaperThreshold, 0, 127);
    s.fTransientShaperRatio = Clamp16(effects.fTransientShaperRatio, 0, 127);
    s.fTransientShaperAttack = Clamp16(effects.fTransientShaperAttack, 0, 1023);
    s.fTransientShaperRelease = Clamp16(effects.fTransientShaperRelease, 0, 1023);

    // The file wants left <= right <= frames and the loop starting inside the sound.
    const int32_t frames = sample.GetFrameCount();
    s.fRightLocator = std::clamp(parameters.fRightLocator, 0, frames);
    s.fLeftLocator = std::clamp(parameters.fLeftLocator, 0, std::min(s.fRightLocator, std::max(frames - 1, 0)));
    return s;
}

SDocumentParameters DocumentParametersOf(const SLoopFileSettings& s) {
    SDocumentParameters p;
    p.fExportSlicesSeparately = s.fExportSlicesSeparately;
    p.fSilenceSelected = s.fSilenceSelected;
    p.fPreviewOn = s.fPreviewOn;
    p.fTimeSignatureNumerator = s.fTimeSignatureNumerator;
    p.fTimeSignatureDenominator = s.fTimeSignatureDenominator;
    p.fBars = s.fBars;
    p.fBeats = s.fBeats;
    p.fPitch = s.fPitch;
    p.fPreviewTempo = s.fPreviewTempo;
    p.fLeftLocator = s.fLeftLocator;
    p.fRightLocator = s.fRightLocator;
    p.fEnvelopeOn = s.fEnvelopeOn;
    p.fEnvelopeAttack = s.fEnvelopeAttack;
    p.fEnvelopeDecay = s.fEnvelopeDecay;
    p.fEnvelopeStretch = s.fEnvelopeStretch;
    return p;
}

SEffectParameters EffectParametersOf(const SLoopFileSettings& s) {
    SEffectParameters e;
    e.fProcessingGain = s.fGain;
    e.fTransientShaperOn = s.fTransientShaperOn ? 1 : 0;
    e.fTransientShaperThreshold = s.fTransientShaperThreshold;
    e.fTransientShaperRatio = s.fTransientShaperRatio;
    e.fTransientShaperAttack = s.fTransientShaperAttack;
    e.fTransientShaperRelease = s.fTransientShaperRelease;
    e.fEqualizerOn = s.fEqualizerOn;
    e.fEqualizerLowCut = s.fEqualizerLowCut;
    e.fEqualizerLowFrequency = s.fEqualizerLowFrequency;
    e.fEqualizerLowQ = s.fEqualizerLowQ;
    e.fEqualizerLowGain = s.fEqualizerLowGain;
    e.fEqualizerHighFrequency = s.fEqualizerHighFrequency;
    e.fEqualizerHighQ = s.fEqualizerHighQ;
    e.fEqualizerHighGain = s.fEqualizerHighGain;
    e.fEqualizerHighCut = s.fEqualizerHighCut;
    return e;
}

SViewAndEditAttributes ViewAndEditAttributesOf(const SLoopFileSettings& s) {
    SViewAndEditAttributes attributes;
    attributes.fHorizontalRulerUnits = KnownOr(s.fRulerUnits, kRulerUnits_Time, kRulerUnits_Beats);
    attributes.fEditTool = KnownOr(s.fEditTool, kEditTool_Arrow, kEditTool_Pen);
    return attributes;
}

}  // namespace NSQuillet
