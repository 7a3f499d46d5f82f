#pragma once

#include <cstdint>

namespace NSQuillet {

// Everything a loop file keeps of a document besides its audio and its slices, in the units
// the document and the sequencer hold them. Writing brings each value into the range the file
// keeps; reading gives them validated, clamped and, for old files, converted.
struct SLoopFileSettings {
    // General loop settings.
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    // Playback gain, thousandths (1000 unity), and pitch in cents.
    int16_t fGain = 1000;
    int16_t fPitch = 0;
    // Thousandths of a beat per minute.
    int32_t fPreviewTempo = 130000;
    // The document flag: one export item per slice rather than the whole loop as one sample.
    bool fExportSlicesSeparately = true;
    // The loop flag.
    bool fPreviewOn = false;

    // Product settings.
    // The loop setting handed to the sequencer.
    bool fSilenceSelected = false;
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

    // Envelope: indexes into the sampler's time table, stretch 0..100.
    bool fEnvelopeOn = true;
    int16_t fEnvelopeAttack = 21;
    int16_t fEnvelopeDecay = 1023;
    int16_t fEnvelopeStretch = 40;

    // Equalizer: Hz, Q × 1000 (the band widths), thousandths of a dB.
    bool fEqualizerOn = false;
    int16_t fEqualizerLowCut = 15;
    int16_t fEqualizerLowFrequency = 100;
    int16_t fEqualizerLowGain = 0;
    int16_t fEqualizerLowQ = 1000;
    int16_t fEqualizerHighFrequency = 2500;
    int16_t fEqualizerHighGain = 0;
    int16_t fEqualizerHighQ = 1000;
    int16_t fEqualizerHighCut = 20000;

    // Transient shaper.
    bool fTransientShaperOn = false;
    int16_t fTransientShaperThreshold = 77;
    int16_t fTransientShaperRatio = 39;
    int16_t fTransientShaperAttack = 193;
    int16_t fTransientShaperRelease = 350;

    // The loop locators, sample frames.
    int32_t fLeftLocator = 0;
    int32_t fRightLocator = 0;
};

}  // namespace NSQuillet
