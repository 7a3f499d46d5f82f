#include "ui/logic/LoopInformationTexts.h"

#include <gtest/gtest.h>

#include "app/document/QuilletDocument.h"
#include "tests/support/LoopDocumentFixture.h"

namespace NSQuillet {
namespace {

struct STextCase {
    SLoopInformation fInformation;
    const char* fTitle;
    const char* fSampleFormat;
    const char* fLoopLength;
};

TEST(LoopInformationTexts, PutNameFormatLengthDurationAndSlicesInTheirPlaces) {
    const STextCase cases[] = {
        // 88200 frames at 44100 Hz: 2.00 s.
        {{"Funk.lx2", true, 44100, 16, 2, 0, 4, 88200, 16},
         "Information for Funk.lx2",
         "Sample format: Stereo, 44100 Hz, 16-bit",
         "Loop length: 2 Bars, 2.00 s / 16 slices"},
        // 3 beats of 4/4 are 0.75 bars; 36000 frames at 48000 Hz: 0.75 s; one slice.
        {{"Hat", false, 48000, 24, 0, 3, 4, 36000, 1},
         "Information for Hat",
         "Sample format: Mono, 48000 Hz, 24-bit",
         "Loop length: 0.75 Bars, 0.75 s / 1 slice"},
        // 90 s: minutes with one decimal, 1.5 m; 1 bar 1 beat of 3/8 is 4/3 bars, 1.33.
        {{"Long ^1 take", true, 44100, 24, 1, 1, 3, 3969000, 0},
         "Information for Long ^1 take",
         "Sample format: Stereo, 44100 Hz, 24-bit",
         "Loop length: 1.33 Bars, 1.5 m / 0 slices"},
    };
    for (const STextCase& row : cases) {
        SCOPED_TRACE(row.fTitle);
        const SLoopInformationTexts texts = MakeLoopInformationTexts(row.fInformation);
        EXPECT_EQ(texts.fTitle, row.fTitle);
        EXPECT_EQ(texts.fSampleFormat, row.fSampleFormat);
        EXPECT_EQ(texts.fLoopLength, row.fLoopLength);
    }
}

// The five slices of every kind over 44100 frames sit at 0, 8820 (muted), 17647 (locked),
// 26461 and 44099 (locked); the loop from 8820 up to 44099 plays 17647 and 26461.
TEST(LoopInformationTexts, CountTheActiveSlicesFromTheLeftLocatorUpToTheRightOne) {
    const auto document = NSQuilletTest::MakeLoopDocument(24, 1, 44100, 48000);
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLoop.SetTimeSignatureNumerator(3);
    parameters.fLoop.SetBars(2);
    parameters.fLoop.SetBeats(1);
    parameters.fLeftLocator = 8820;
    parameters.fRightLocator = 44099;
    document->PerformParametersChange(parameters, "Set Loop");

    const SLoopInformation information = CaptureLoopInformation(*document);
    EXPECT_EQ(information.fName, document->GetDisplayName());
    EXPECT_FALSE(information.fStereo);
    EXPECT_EQ(information.fSampleRate, 48000u);
    EXPECT_EQ(information.fBitDepth, 24);
    EXPECT_EQ(information.fBars, 2);
    EXPECT_EQ(information.fBeats, 1);
    EXPECT_EQ(information.fBeatsPerBar, 3);
    EXPECT_EQ(information.fLoopFrames, 44099 - 8820);
    EXPECT_EQ(information.fSliceCount, 2);
}

}  // namespace
}  // namespace NSQuillet
