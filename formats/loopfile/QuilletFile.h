#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Slice.h"
#include "engine/WaveSample.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/loopfile/LoopFileCreatorInfo.h"
#include "formats/loopfile/LoopFileInfo.h"
#include "formats/loopfile/LoopFileKind.h"
#include "formats/loopfile/LoopFileSettings.h"
#include "formats/media/Media.h"

namespace NSQuillet {

class CSliceSequence;

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
    // The stored slices in file order, validated as ReadSlices validates them, without a
    // sequence or the sound: positions, levels and kinds; lengths are 1.
    std::vector<CSlice> ReadSlicePoints() const;
    // A new 16- or 24-bit wave sample with the stored sound, its locators at the stored loop
    // start and end. `callback` may be null. More than 2^31 - 1 frames is an
    // XUnsupportedFormat "too many frames"; a sound chunk too small for the frames an
    // XFormatViolation, before anything is allocated.
    std::unique_ptr<CABCWaveSample> ReadSound(CLUX2DecompressCallback* callback) const;
    // ReadSound in two steps, for a LUX2 file only (else null): the sample with every check
    // made before decoding, its frames unset (the decoding writes every one; read only those
    // it has written), then the decoding into it, which may run on another thread while
    // nothing else uses this file. Unlike ReadSound's, this decoding keeps to its own thread:
    // whoever reads the frames as they come has the other processor.
    std::unique_ptr<CABCWaveSample> CreateSoundSample() const;
    void DecodeSound(CABCWaveSample& sample, CLUX2DecompressCallback* callback) const;

private:
    std::shared_ptr<CMedia> fMedia;
    ELoopFileKind fKind = ELoopFileKind::kNone;
    SLoopFileInfo fInfo;
};

}  // namespace NSQuillet
