#include "app/document/DocumentLoopFileSettings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/document/QuilletDocument.h"
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

    // As the document holds them: the writer brings every value into what the file can keep.
    SLoopFileSettings s;
    s.fBars = parameters.fBars;
    s.fBeats = parameters.fBeats;
    s.fTimeSignatureNumerator = parameters.fTimeSignatureNumerator;
    s.fTimeSignatureDenominator = parameters.fTimeSignatureDenominator;
    s.fSensitivity = slices.GetSensitivity();
    s.fGateSensitivity = slices.GetGateSensitivity();
    s.fGain = Clamp16(effects.fProcessingGain, INT16_MIN, INT16_MAX);
    s.fPitch = parameters.fPitch;
    s.fPreviewTempo = parameters.fPreviewTempo;
    s.fExportSlicesSeparately = parameters.fExportSlicesSeparately;
    s.fPreviewOn = parameters.fPreviewOn;

    s.fSilenceSelected = parameters.fSilenceSelected;
    s.fRulerUnits = attributes.fHorizontalRulerUnits;
    s.fExportSize = ExportBytes(document.GetExportSize(), document.GetWaveSample().GetBitDepth());

    s.fEditTool = attributes.fEditTool;
    s.fWindowState1 = document.GetWindowStateWord(0);
    s.fWindowState2 = document.GetWindowStateWord(1);
    s.fWindowStateFlag = document.GetWindowStateFlag();

    s.fEnvelopeOn = parameters.fEnvelopeOn;
    s.fEnvelopeAttack = parameters.fEnvelopeAttack;
    s.fEnvelopeDecay = parameters.fEnvelopeDecay;
    s.fEnvelopeStretch = parameters.fEnvelopeStretch;

    s.fEqualizerOn = effects.fEqualizerOn;
    s.fEqualizerLowCut = effects.fEqualizerLowCut;
    s.fEqualizerLowFrequency = effects.fEqualizerLowFrequency;
    s.fEqualizerLowGain = effects.fEqualizerLowGain;
    s.fEqualizerLowQ = effects.fEqualizerLowQ;
    s.fEqualizerHighFrequency = effects.fEqualizerHighFrequency;
    s.fEqualizerHighGain = effects.fEqualizerHighGain;
    s.fEqualizerHighQ = effects.fEqualizerHighQ;
    s.fEqualizerHighCut = effects.fEqualizerHighCut;

    s.fTransientShaperOn = effects.fTransientShaperOn != 0;
    s.fTransientShaperThreshold = effects.fTransientShaperThreshold;
    s.fTransientShaperRatio = effects.fTransientShaperRatio;
    s.fTransientShaperAttack = effects.fTransientShaperAttack;
    s.fTransientShaperRelease = effects.fTransientShaperRelease;

    s.fLeftLocator = parameters.fLeftLocator;
    s.fRightLocator = parameters.fRightLocator;
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
