#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/WaveSample.h"
#include "formats/loopfile/LoopFileSettings.h"
#include "formats/media/Media.h"

namespace NSQuillet {

class CSliceSequence;

enum class ELoopFileKind { kNone, kLUX2, kLUX, kQLT };

// Told how far the decoding of a loop file's sound has come; answers true to stop it.
class CLUX2DecompressCallback {
public:
    virtual ~CLUX2DecompressCallback() = default;
    virtual bool Progress(int64_t framesDone) = 0;
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
    uint32_t fSliceCount = 0;
    // The general and product settings as stored, unclamped.
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 0;
    int32_t fTimeSignatureDenominator = 0;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    int32_t fGain = 0;
    int32_t fPitch = 0;
    int32_t fPreviewTempo = 0;
    bool fExportSlicesSeparately = false;
    bool fPreviewOn = false;
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

struct SLoopFileCreatorInfo {
    std::string fName;
    std::string fLegalNotice;
    std::string fWebAddress;
    std::string fEmailAddress;
    std::string fFifth;
};

// A loop file read in pieces on demand from its media, which it shares. User-interface
// thread; every call blocks on the media. Failures are the file's validation failures.
class CQuilletFile {
public:
    // LUX2: a CAT LUX2 group whose first member is the HEAD chunk with its magic. LUX and QLT:
    // a FORM AIFF whose first APPL chunk begins with the kind's signature and magic. A FORM
    // too damaged to walk is none; media failures pass through.
    static ELoopFileKind Identify(CMedia& media);

    // Identifies the file (none: XUnsupportedFormat "invalid file type") and reads its
    // information at once.
    explicit CQuilletFile(std::shared_ptr<CMedia> media);

    ELoopFileKind GetKind() const { return fKind; }
    const SLoopFileInfo& GetInfo() const { return fInfo; }

    // Validated, clamped and converted by the header version. Legacy files carry no effect
    // settings: those keep their defaults.
    SLoopFileSettings ReadSettings() const;
    SLoopFileShownSettings ReadShownSettings() const;
    // False when the file has none.
    bool ReadCreatorInfo(SLoopFileCreatorInfo& info) const;
    // Appends the stored slices to `sequence` (bound to the sound read by ReadSound), sets its
    // sensitivities and recomputes its derived data. The lengths follow the sample's overview,
    // so build it first. On a failure the sequence is as it was.
    void ReadSlices(CSliceSequence& sequence) const;
    // A new 16- or 24-bit wave sample with the stored sound, its locators at the stored loop
    // start and end. `callback` may be null. More than 2^31 - 1 frames is an
    // XUnsupportedFormat "too many frames"; a sound chunk too small for the frames an
    // XFormatViolation, before anything is allocated.
    std::unique_ptr<CABCWaveSample> ReadSound(CLUX2DecompressCallback* callback) const;

private:
    std::shared_ptr<CMedia> fMedia;
    ELoopFileKind fKind = ELoopFileKind::kNone;
    SLoopFileInfo fInfo;
};

}  // namespace NSQuillet
