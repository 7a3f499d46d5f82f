#pragma once

#include <cstdint>
#include <string>

namespace NSQuillet {

class CQuilletDocument;

// What Get Info tells of a document.
struct SLoopInformation {
    std::string fName;
    bool fStereo = false;
    uint32_t fSampleRate = 0;
    int32_t fBitDepth = 0;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fBeatsPerBar = 4;
    // The frames from the left to the right locator.
    int64_t fLoopFrames = 0;
    // The active slices (locked, or normal above the threshold) from the left locator up to
    // the right one: the slice points the loop plays, as the Open dialog's pane counts them.
    int32_t fSliceCount = 0;
};

SLoopInformation CaptureLoopInformation(const CQuilletDocument& document);

// The three lines of the Loop Information dialog:
// "Information for <display name>",
// "Sample format: <Mono|Stereo>, <rate> Hz, <depth>-bit",
// "Loop length: <length in bars>, <duration of the loop> / <n> slice(s)".
struct SLoopInformationTexts {
    std::string fTitle;
    std::string fSampleFormat;
    std::string fLoopLength;
};

SLoopInformationTexts MakeLoopInformationTexts(const SLoopInformation& information);

}  // namespace NSQuillet
