#pragma once

#include <cstdint>

namespace NSQuillet {

// The document's loop, preview and envelope settings as one value, captured from and applied
// to the document as a whole. Tempo in thousandths of BPM, locators in sample frames, pitch
// in cents; the envelope values index the sampler's time table.
struct SDocumentParameters {
    bool fExportSlicesSeparately = true;
    bool fSilenceSelected = false;
    bool fPreviewOn = false;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int16_t fPitch = 0;
    int32_t fPreviewTempo = 130000;
    int32_t fLeftLocator = 0;
    int32_t fRightLocator = 0;
    bool fEnvelopeOn = true;
    int16_t fEnvelopeAttack = 21;
    int16_t fEnvelopeDecay = 1023;
    int16_t fEnvelopeStretch = 40;

    friend bool operator==(const SDocumentParameters& a, const SDocumentParameters& b) {
        return a.fExportSlicesSeparately == b.fExportSlicesSeparately && a.fSilenceSelected == b.fSilenceSelected &&
               a.fPreviewOn == b.fPreviewOn && a.fTimeSignatureNumerator == b.fTimeSignatureNumerator &&
               a.fTimeSignatureDenominator == b.fTimeSignatureDenominator && a.fBars == b.fBars &&
               a.fBeats == b.fBeats && a.fPitch == b.fPitch && a.fPreviewTempo == b.fPreviewTempo &&
               a.fLeftLocator == b.fLeftLocator && a.fRightLocator == b.fRightLocator &&
               a.fEnvelopeOn == b.fEnvelopeOn && a.fEnvelopeAttack == b.fEnvelopeAttack &&
               a.fEnvelopeDecay == b.fEnvelopeDecay && a.fEnvelopeStretch == b.fEnvelopeStretch;
    }
    friend bool operator!=(const SDocumentParameters& a, const SDocumentParameters& b) { return !(a == b); }
};

}  // namespace NSQuillet
