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
    s.fLoop = parameters.fLoop;
    s.fSensitivity = slices.GetSensitivity();
    s.fGateSensitivity = slices.GetGateSensitivity();
    s.fGain = Clamp16(effects.fProcessingGain, INT16_MIN, INT16_MAX);
    s.fPitch = parameters.fPitch;
    s.fExportSlicesSeparately = parameters.fExportSlicesSeparately;

    s.fRulerUnits = attributes.fHorizontalRulerUnits;
    s.fExportSize = ExportBytes(document.GetExportSize(), document.GetWaveSample().GetBitDepth());

    s.fEditTool = attributes.fEditTool;
    s.fWindowState1 = document.GetWindowStateWord(0);
    s.fWindowState2 = document.GetWindowStateWord(1);
    s.fWindowStateFlag = document.GetWindowStateFlag();

    s.fEnvelope = parameters.fEnvelope;
    s.fEqualizer = effects.fEqualizer;
    s.fTransientShaper = effects.fTransientShaper;

    s.fLeftLocator = parameters.fLeftLocator;
    s.fRightLocator = parameters.fRightLocator;
    return s;
}

SDocumentParameters DocumentParametersOf(const SLoopFileSettings& s) {
    return {s.fExportSlicesSeparately, s.fLoop, s.fPitch, s.fLeftLocator, s.fRightLocator, s.fEnvelope};
}

SEffectParameters EffectParametersOf(const SLoopFileSettings& s) { return {s.fGain, s.fTransientShaper, s.fEqualizer}; }

SViewAndEditAttributes ViewAndEditAttributesOf(const SLoopFileSettings& s) {
    SViewAndEditAttributes attributes;
    attributes.fHorizontalRulerUnits = KnownOr(s.fRulerUnits, kRulerUnits_Time, kRulerUnits_Beats);
    attributes.fEditTool = KnownOr(s.fEditTool, kEditTool_Arrow, kEditTool_Pen);
    return attributes;
}

}  // namespace NSQuillet
