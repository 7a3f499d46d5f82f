#pragma once

#include <memory>
#include <vector>

#include "engine/Slice.h"
#include "engine/WaveSample.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/loopfile/LoopFileInfo.h"
#include "formats/loopfile/LoopFileKind.h"
#include "formats/loopfile/LoopFileSettings.h"
#include "formats/media/Media.h"

namespace NSQuillet {

class CSliceSequence;

// A LUX or QLT loop file (an AIFF file with the slicing in its APPL chunk) read in pieces as
// CQuilletFile reads a LUX2 file; every call reads afresh from the media, which must outlive
// it. Both kinds hold 16-bit mono sound. User-interface thread; blocks on the media.
//
// A LUX file becomes normal slices of level 32767 at sensitivity 99, so that every one shows;
// its loop points are the sustain loop of the AIFF instrument chunk, else the whole sound. A
// QLT file brings its own slices, sensitivity and loop points.
class CLegacyLoopFile {
public:
    // `kind` is kLUX or kQLT.
    CLegacyLoopFile(CMedia& media, ELoopFileKind kind);

    // Not 16-bit mono: XFormatViolation "lux file that isn't 16-bit mono" or "QLT file that
    // isn't 16-bit mono". The application block's failures (CLUXApplicationBlock,
    // CQLTApplicationBlock); LUX: an exported size other than two bytes per frame, "wrong
    // fExportedSize in file info"; QLT: loop points outside 0 ≤ start < end ≤ frames, "invalid
    // loop points". The tempo of a QLT file is its loop's own, clamped to 20000..450000.
    SLoopFileInfo ReadInfo() const;
    // The information as settings, clamped as a LUX2 file's; a QLT sound that is not 16-bit
    // mono is "qlt file that isn't 16-bit mono".
    SLoopFileSettings ReadSettings() const;
    // Appends the file's slices and sets the sensitivity and gate (0); on a failure the
    // sequence is as it was.
    void ReadSlices(CSliceSequence& sequence) const;
    // The file's slices without a sequence; lengths are 1.
    std::vector<CSlice> ReadSlicePoints() const;
    // The sound with its locators at the loop points (CLegacyAIFFReader::ReadSound).
    std::unique_ptr<CABCWaveSample> ReadSound(CLUX2DecompressCallback* callback) const;

private:
    SLoopFileInfo ReadInfo(const char* notSixteenBitMono) const;

    CMedia& fMedia;
    ELoopFileKind fKind;
};

}  // namespace NSQuillet
