#pragma once

#include <cstdint>

namespace NSQuillet {

// The general loop settings as a loop file stores them, unclamped: a LUX2 file's GLOB chunk,
// or what a legacy file holds of it.
struct SLoopFileGeneralInfo {
    uint32_t fSliceCount = 0;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 0;
    int32_t fTimeSignatureDenominator = 0;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    // Linear, 1000 = unity.
    int32_t fGain = 0;
    // Cents.
    int32_t fPitch = 0;
    // Thousandths of a beat per minute.
    int32_t fPreviewTempo = 0;
    // The document flag and the loop flag.
    bool fExportSlicesSeparately = false;
    bool fPreviewOn = false;
};

// What a loop file says of itself without its slices and audio (the information view, and
// the checks before opening).
struct SLoopFileInfo {
    int32_t fChannelCount = 0;
    int32_t fBitDepth = 0;
    uint32_t fSampleRate = 0;
    int64_t fFrameCount = 0;
    int64_t fLoopStart = 0;
    int64_t fLoopEnd = 0;
    // The general and product settings as stored, unclamped.
    SLoopFileGeneralInfo fGeneral;
    bool fSilenceSelected = false;
    uint32_t fRulerUnits = 0;
    uint32_t fExportSize = 0;
    // Uncompressed bytes over the stored sound's bytes.
    double fCompressionRatio = 0;
    // QLT files only: the old editor's Normalize option, which this program no longer has.
    bool fNormalizeOptionOn = false;
};

// The shown settings of the information view: the general and product settings, and which
// of the three effects are on.
struct SLoopFileShownSettings {
    SLoopFileInfo fInfo;
    // The switches of the effect chunks in their order: TRSH (which holds the envelope), EQ and
    // COMP (which holds the transient shaper); taken from the extra settings when the file has
    // them.
    bool fTransientShaperOn = false;
    bool fEqualizerOn = false;
    bool fCompressorOn = false;
};

}  // namespace NSQuillet
