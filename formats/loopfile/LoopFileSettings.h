#pragma once

#include <cstdint>
#include <tuple>

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerSettings.h"
#include "engine/LoopSettings.h"
#include "engine/TransientShaperSettings.h"
#include "formats/loopfile/LoopFileInfo.h"
#include "foundation/Units.h"

namespace NSQuillet {

// Everything a loop file keeps of a document besides its audio and its slices, in the units
// the document and the sequencer hold them. Writing brings each value into the range the file
// keeps; reading gives them validated, clamped and, for old files, converted.
struct SLoopFileSettings {
    // General loop settings: length, time signature, preview tempo, the preview flag (the loop
    // flag) and Silence Selected (a product setting).
    CLoopSettings fLoop;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    // Playback gain, thousandths (1000 unity), and pitch in cents.
    int16_t fGain = kUnityGain;
    int16_t fPitch = 0;
    // The document flag: one export item per slice rather than the whole loop as one sample.
    bool fExportSlicesSeparately = true;

    // Product settings.
    // 286 time, 287 samples, 288 beats.
    uint32_t fRulerUnits = 286;
    // Bytes the export would write; the information view shows it.
    uint32_t fExportSize = 0;

    // Product extra settings.
    // 685 arrow, 686 mute, 687 lock, 688 pen.
    uint32_t fEditTool = 685;
    uint32_t fWindowState1 = 0;
    uint32_t fWindowState2 = 0;
    uint8_t fWindowStateFlag = 0;

    SEnvelopeSettings fEnvelope;
    SEqualizerSettings fEqualizer;
    STransientShaperSettings fTransientShaper;

    // The loop locators, sample frames.
    int32_t fLeftLocator = 0;
    int32_t fRightLocator = 0;

    auto Tied() const {
        return std::tie(fLoop, fSensitivity, fGateSensitivity, fGain, fPitch, fExportSlicesSeparately, fRulerUnits,
                        fExportSize, fEditTool, fWindowState1, fWindowState2, fWindowStateFlag, fEnvelope, fEqualizer,
                        fTransientShaper, fLeftLocator, fRightLocator);
    }
    friend bool operator==(const SLoopFileSettings& a, const SLoopFileSettings& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const SLoopFileSettings& a, const SLoopFileSettings& b) { return !(a == b); }
};

// The loop settings a stored general info gives: the length and time signature clamped into
// their ranges, the preview tempo clamped, the preview flag.
inline CLoopSettings LoopSettingsOf(const SLoopFileGeneralInfo& general) {
    CLoopSettings loop;
    loop.SetBars(int32_t(CLoopSettings::kBarsRange.Clamp(general.fBars)));
    loop.SetBeats(int32_t(CLoopSettings::kBeatsRange.Clamp(general.fBeats)));
    loop.SetTimeSignatureNumerator(int32_t(CLoopSettings::kTimeSignatureRange.Clamp(general.fTimeSignatureNumerator)));
    loop.SetTimeSignatureDenominator(
        int32_t(CLoopSettings::kTimeSignatureRange.Clamp(general.fTimeSignatureDenominator)));
    loop.SetPreviewTempo(general.fPreviewTempo);
    loop.SetPreviewOn(general.fPreviewOn);
    return loop;
}

}  // namespace NSQuillet
