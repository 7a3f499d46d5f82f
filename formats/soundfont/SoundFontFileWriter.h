#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/iff/RIFFWriter2.h"
#include "formats/soundfont/SoundFontSampleParamList.h"

namespace NSQuillet {

// The bank's INFO texts (UTF-8); an empty text is left out.
struct SSoundFontInfo {
    std::string fName;          // INAM
    std::string fCreationDate;  // ICRD
    std::string fEngineer;      // IENG
    std::string fProduct;       // IPRD
    std::string fCopyright;     // ICOP
    std::string fComment;       // ICMT
};

// One slice's audio on one key: `fLeft` alone is a mono sample; with `fRight` (of the same
// length) it is a stereo pair. Points are on the scale of `fBitDepth` (16 or 24).
struct SSoundFontSlice {
    // The sample's name; a stereo pair appends "L" and "R".
    std::string fName;
    int32_t fKey = 36;
    uint32_t fSampleRate = 44100;
    int32_t fBitDepth = 16;
    std::vector<int32_t> fLeft;
    std::vector<int32_t> fRight;
    // In frames from the slice's start; a negative end is the slice's end.
    int64_t fLoopStart = 0;
    int64_t fLoopEnd = -1;
};

// Loop points in frames from a sample's first point.
struct SSoundFontLoop {
    int64_t fStart = 0;
    int64_t fEnd = 0;
};

// The loop `loopStart`..`loopEnd` of a sample of `frameCount` points, kept at least 8 points
// from both ends and at least 32 points long, as interpolating players need. A request outside
// the sample, or reversed, becomes the whole sample first; a loop too short is widened around
// its middle. A sample of fewer than 48 points cannot meet the margins and loops whole.
SSoundFontLoop FitSoundFontLoop(int64_t frameCount, int64_t loopStart, int64_t loopEnd);

// A point of `bitDepth` bits (16 or 24) as a 16-bit point: 24 bits are divided by 256 rounding
// half away from zero; values beyond the range saturate.
int16_t SoundFontPoint(int32_t value, int32_t bitDepth);

// `text` (UTF-8) as bank text: each character outside printable ASCII becomes "_", and at most
// `maximumLength` characters are kept.
std::string SoundFontText(const std::string& text, size_t maximumLength);

// Writes a SoundFont 2 bank of one preset with one instrument, whose zones place each slice
// on its key: BeginBank, AppendSlice for each slice in key order, EndBank. The media must
// outlive the writer. User-interface thread; blocks on the media's I/O.
//
// Misuse fails before anything is written: a bad key, depth, rate or channel length is an
// XStdInvalidArgument, a call out of order an XIllegalCallSequence, more samples or audio
// than the bank's 16- and 32-bit indices hold an XStdLengthError. A writer that fails or is
// destroyed before EndBank leaves an incomplete bank, to be discarded.
class CSoundFontFileWriter final : public CRIFFWriter2 {
public:
    // Zero points after each sample, so that interpolation past its end reads silence.
    static constexpr int64_t kPaddingPoints = 46;
    // Three generators a zone and 16-bit generator indices.
    static constexpr size_t kMaximumSampleCount = 21845;

    explicit CSoundFontFileWriter(CMedia& media);
    ~CSoundFontFileWriter() override;

    // The sfbk group and its INFO list at the media's position; opens the sample data.
    void BeginBank(const SSoundFontInfo& info);
    // Appends the slice's sample (or stereo pair) with its zone.
    void AppendSlice(const SSoundFontSlice& slice);
    // Closes the sample data and writes the preset, the instrument (both named `presetName`)
    // and the sample headers; completes the bank.
    void EndBank(const std::string& presetName);

    const CSoundFontSampleParamList& GetSampleParams() const { return fParams; }

private:
    uint16_t AppendSample(const std::string& name, const std::vector<int32_t>& points, const SSoundFontSlice& slice,
                          ESoundFontSampleType type);
    void WritePresetData(const std::string& presetName);

    CMedia& fMedia;
    std::unique_ptr<CRIFFWriter2> fSampleList;
    std::unique_ptr<CRIFFWriter2> fSampleChunk;
    uint64_t fPointCount = 0;
    CSoundFontSampleParamList fParams;
};

}  // namespace NSQuillet
