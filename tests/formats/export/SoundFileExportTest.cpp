#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/SampleRateConverter.h"
#include "engine/SliceSequence.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/soundfile/AIFFFileFormat.h"
#include "formats/soundfile/WAVFileFormat.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/FailingDiskKit.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunProgram;

// Answers the replace questions from a script and records the names asked about.
class CScriptedReplaceQuestion final : public IReplaceQuestion {
public:
    explicit CScriptedReplaceQuestion(std::vector<EReplaceAnswer> answers = {}) : fAnswers(std::move(answers)) {}
    EReplaceAnswer AskReplace(const std::string& fileName) override {
        fAsked.push_back(fileName);
        if (fAsked.size() > fAnswers.size()) return EReplaceAnswer::kCancel;
        return fAnswers[fAsked.size() - 1];
    }
    std::vector<EReplaceAnswer> fAnswers;
    std::vector<std::string> fAsked;
};

// Stops once `stopAfter` progress reports have arrived.
class CStoppingProgress final : public IProgressReporter {
public:
    explicit CStoppingProgress(int stopAfter) : fStopAfter(stopAfter) {}
    void Progress(int32_t permille) override {
        fReports.push_back(permille);
    }
    bool IsStopRequested() const override { return int(fReports.size()) >= fStopAfter; }
    int fStopAfter;
    std::vector<int32_t> fReports;
};

// Records the progress and asks to stop once it reaches `stopAt` thousandths.
class CRecordingProgress final : public IProgressReporter {
public:
    explicit CRecordingProgress(int32_t stopAt = 1001) : fStopAt(stopAt) {}
    void Progress(int32_t permille) override { fReports.push_back(permille); }
    bool IsStopRequested() const override { return !fReports.empty() && fReports.back() >= fStopAt; }
    int32_t fStopAt;
    std::vector<int32_t> fReports;
};

// One bar of 4/4 in 44100 frames at 44100 Hz (preview at 240 BPM, the loop's own tempo) with a
// slice on every beat: each slice renders 11025 frames. Ten bars (441000 frames) are enough
// for the export to render on worker threads.
class CSoundFileExportFixture : public ::testing::Test {
protected:
    void MakeLoop(bool stereo, bool withSlices = true, int32_t bars = 1) {
        fSample = std::make_unique<C16BitWaveSample>(44100, 44100 * bars, stereo);
        for (int32_t i = 0; i < 44100 * bars; ++i)
            for (int32_t c = 1; c <= fSample->GetChannelCount(); ++c)
                fSample->Set16(i, int16_t(9000.0 * std::sin(i * 0.03 * c) + (i % 7) * 13), c);
        fSlices = std::make_unique<CSliceSequence>(fSample.get());
        // Without slices to export: every slice selected and silenced.
        for (int32_t position = 0; position < 44100 * bars; position += 11025) {
            CSlice slice(position, 100, ESliceKind::kLocked);
            slice.SetSelected(!withSlices);
            fSlices->InsertSlice(slice);
        }
        fSlices->UpdateSliceLengths();
        fSequencer = std::make_unique<CQuilletSequencer>(fSample.get(), fSlices.get(), 44100);
        fSequencer->SetBars(bars);
        fSequencer->SetPreviewTempo(240000);
        fSequencer->SetSilenceSelected(!withSlices);
    }

    SExportOptions Options(uint32_t rate = 44100, int32_t depth = 16) {
        SExportOptions options;
        options.fSampleRate = rate;
        options.fBitDepth = depth;
        options.fReplaceConsent = &fConsent;
        return options;
    }

    std::string Write(const std::string& name, const std::string& bytes) { return fFolder.Make(name, bytes); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    NSDiskKit::CFileSpec Target(const std::string& name) const {
        return NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(fFolder.Path()), name);
    }

    CTemporaryFolder fFolder;
    std::unique_ptr<C16BitWaveSample> fSample;
    std::unique_ptr<CSliceSequence> fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
    CScriptedReplaceQuestion fQuestion;
    CReplaceConsent fConsent{fQuestion};
};

std::unique_ptr<CABCWaveSample> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return NSQuilletTest::ReadFromBytes(std::string(std::istreambuf_iterator<char>(in), {}));
}

TEST_F(CSoundFileExportFixture, SliceFilesHaveTheChosenFormatAndTheRenderedAudio) {
    struct SRow {
        bool fAiff;
        bool fStereo;
        uint32_t fRate;
        int32_t fDepth;
    };
    const SRow rows[] = {
        {false, false, 44100, 16}, {false, true, 44100, 24}, {true, false, 44100, 16},
        {true, true, 48000, 16},   {false, false, 22050, 24}, {false, true, 96000, 16},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::string(row.fAiff ? "aiff " : "wav ") + (row.fStereo ? "stereo " : "mono ") +
                     std::to_string(row.fRate) + "/" + std::to_string(row.fDepth));
        CTemporaryFolder folder;
        MakeLoop(row.fStereo);
        CExporter exporter(*fSequencer, true, false);
        CExporter reference(*fSequencer, true, false);
        std::unique_ptr<CABCPureSoundFileFormat> format;
        if (row.fAiff) format = std::make_unique<CAIFFFileFormat>();
        else format = std::make_unique<CWAVFileFormat>();
        const std::vector<std::string> names = format->WriteSliceFiles(
            exporter, NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(folder.Path()), "Beat.wav"), Options(row.fRate, row.fDepth));
        const std::string extension = row.fAiff ? ".aif" : ".wav";
        ASSERT_EQ(names, (std::vector<std::string>{"Beat 001" + extension, "Beat 002" + extension,
                                                  "Beat 003" + extension, "Beat 004" + extension}));
        EXPECT_EQ(folder.CountEntries(), 4u);

        const int64_t step = CSampleRateConverter::ComputeStep(44100, row.fRate);
        for (int32_t i = 0; i < 4; ++i) {
            const std::string path = folder.PathOf(names[size_t(i)]);
            const std::unique_ptr<CABCWaveSample> read = ReadFile(path);
            const std::unique_ptr<CABCWaveSample> rendered = reference.RenderSlice(i);
            // 11025 frames a slice at the loop's rate; at another rate the converter's length.
            const int64_t frames = row.fRate == 44100 ? 11025 : CSampleRateConverter::ComputeOutputLength(11025, step);
            ASSERT_EQ(read->GetFrameCount(), frames);
            EXPECT_EQ(read->GetSampleRate(), row.fRate);
            EXPECT_EQ(read->GetBitDepth(), row.fDepth);
            EXPECT_EQ(read->GetChannelCount(), row.fStereo ? 2 : 1);
            if (row.fRate != 44100) continue;
            for (int32_t c = 1; c <= rendered->GetChannelCount(); ++c) {
                // 16 bits taken to 24 are the same values times 256, exactly.
                const std::vector<int32_t> expected = NSQuilletTest::Channel(*rendered, c);
                std::vector<int32_t> actual = NSQuilletTest::Channel(*read, c);
                EXPECT_TRUE(actual == expected) << "slice " << i << " channel " << c;
            }
        }
    }
}

TEST_F(CSoundFileExportFixture, RealReadersAgreeOnTheWrittenFiles) {
    REQUIRE_PROGRAM(sox, "sox");
    REQUIRE_PROGRAM(sndfileInfo, "sndfile-info");
    MakeLoop(true);
    for (bool aiff : {false, true}) {
        CExporter exporter(*fSequencer, true, false);
        std::unique_ptr<CABCPureSoundFileFormat> format;
        if (aiff) format = std::make_unique<CAIFFFileFormat>();
        else format = std::make_unique<CWAVFileFormat>();
        const std::vector<std::string> names = format->WriteSliceFiles(exporter, Target("Real.wav"), Options(48000, 24));
        ASSERT_EQ(names.size(), 4u);
        const int64_t frames = CSampleRateConverter::ComputeOutputLength(11025, CSampleRateConverter::ComputeStep(44100, 48000));
        for (const std::string& name : names) {
            const std::string path = fFolder.PathOf(name);
            const auto info = RunProgram({sox, "--i", path});
            ASSERT_EQ(info.fExitCode, 0) << info.fOutput;
            EXPECT_NE(info.fOutput.find("Channels       : 2"), std::string::npos) << info.fOutput;
            EXPECT_NE(info.fOutput.find("Sample Rate    : 48000"), std::string::npos) << info.fOutput;
            EXPECT_NE(info.fOutput.find("Precision      : 24-bit"), std::string::npos) << info.fOutput;
            EXPECT_NE(info.fOutput.find("= " + std::to_string(frames) + " samples"), std::string::npos) << info.fOutput;
            const auto sndfile = RunProgram({sndfileInfo, path});
            ASSERT_EQ(sndfile.fExitCode, 0) << sndfile.fOutput;
            EXPECT_NE(sndfile.fOutput.find("Frames      : " + std::to_string(frames)), std::string::npos) << sndfile.fOutput;
            EXPECT_NE(sndfile.fOutput.find("Sample Rate : 48000"), std::string::npos) << sndfile.fOutput;
        }
    }
}

TEST_F(CSoundFileExportFixture, NoSlicesWritesNothingAndAsksNothing) {
    MakeLoop(false, false);
    Write("Empty 001.wav", "old");
    CExporter exporter(*fSequencer, true, false);
    ASSERT_EQ(exporter.GetSliceCount(), 0);
    CWAVFileFormat format;
    format.Export(exporter, Target("Empty.wav"), Options());
    EXPECT_TRUE(fQuestion.fAsked.empty());
    EXPECT_EQ(fFolder.CountEntries(), 1u);
}

TEST_F(CSoundFileExportFixture, ReplaceQuestionsFollowTheAnswers) {
    struct SRow {
        const char* fWhat;
        std::vector<EReplaceAnswer> fAnswers;
        std::vector<std::string> fAsked;
        bool fAborted;
        // Whether slices 1..4 hold newly written audio afterwards ("old" marks one left as it was).
        std::vector<const char*> fAfter;
    };
    using A = EReplaceAnswer;
    const SRow rows[] = {
        {"replace each", {A::kReplace, A::kReplace}, {"Loop 001.wav", "Loop 003.wav"}, false, {"new", "new", "new", "new"}},
        {"replace all", {A::kReplaceAll}, {"Loop 001.wav"}, false, {"new", "new", "new", "new"}},
        {"cancel second", {A::kReplace, A::kCancel}, {"Loop 001.wav", "Loop 003.wav"}, true, {"new", "new", "old", "none"}},
        {"cancel first", {A::kCancel}, {"Loop 001.wav"}, true, {"old", "none", "old", "none"}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        CTemporaryFolder folder;
        const std::string first = folder.Make("Loop 001.wav", "old");
        const std::string third = folder.Make("Loop 003.wav", "old");
        MakeLoop(false);
        CScriptedReplaceQuestion question(row.fAnswers);
        CReplaceConsent consent(question);
        SExportOptions options = Options();
        options.fReplaceConsent = &consent;
        CExporter exporter(*fSequencer, true, false);
        const NSQuilletTest::SCaughtFailure caught = NSQuilletTest::CatchFailure([&] {
            CWAVFileFormat().Export(exporter, NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(folder.Path()), "Loop.wav"), options);
        });
        EXPECT_EQ(question.fAsked, row.fAsked);
        if (row.fAborted) {
            EXPECT_EQ(caught.fCode, NSMishap::XAbort::kFailureCode);
            EXPECT_EQ(caught.fMessage, "user aborted in replace dialog");
        } else {
            EXPECT_EQ(caught.fCode, 0u) << caught.fMessage;
        }
        for (int i = 0; i < 4; ++i) {
            const std::string path = folder.PathOf(SliceFileName("Loop.wav", i, ".wav"));
            const std::string expected = row.fAfter[size_t(i)];
            if (expected == "none") EXPECT_FALSE(std::filesystem::exists(path)) << path;
            else if (expected == "old") EXPECT_EQ(Contents(path), "old") << path;
            else EXPECT_EQ(ReadFile(path)->GetFrameCount(), 11025) << path;
        }
        EXPECT_EQ(folder.CountEntries(), size_t(std::count_if(row.fAfter.begin(), row.fAfter.end(),
                                                              [](const char* s) { return std::string(s) != "none"; })));
    }
}

TEST_F(CSoundFileExportFixture, StopKeepsTheFinishedSlicesAndLeavesNoPartialFile) {
    MakeLoop(false);
    CExporter exporter(*fSequencer, true, false);
    // Each slice is one block and reports once, at its end: the third report asks to stop.
    CStoppingProgress progress(3);
    SExportOptions options = Options();
    options.fProgress = &progress;
    EXPECT_FAILURE(CWAVFileFormat().Export(exporter, Target("Stop.wav"), options), XAbort, "user pressed stop");
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Stop 001.wav")));
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Stop 002.wav")));
    EXPECT_EQ(fFolder.CountEntries(), 2u);
    EXPECT_EQ(progress.fReports, (std::vector<int32_t>{250, 500, 750}));
}

TEST_F(CSoundFileExportFixture, StopOnWorkersKeepsAPrefixOfCompleteSlices) {
    MakeLoop(false, true, 10);
    CTemporaryFolder reference;
    CRecordingProgress whole;
    SExportOptions options = Options();
    options.fProgress = &whole;
    CExporter referenceExporter(*fSequencer, true, false);
    const std::vector<std::string> names = CWAVFileFormat().WriteSliceFiles(
        referenceExporter, NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(reference.Path()), "Stop.wav"), options);
    ASSERT_EQ(names.size(), 40u);
    ASSERT_FALSE(whole.fReports.empty());
    EXPECT_TRUE(std::is_sorted(whole.fReports.begin(), whole.fReports.end()));
    EXPECT_EQ(whole.fReports.back(), 1000);

    // Stop a quarter of the way: the slices finished by then are the reference's, byte for
    // byte, under their names; nothing else is left.
    CRecordingProgress progress(250);
    options.fProgress = &progress;
    CExporter exporter(*fSequencer, true, false);
    EXPECT_FAILURE(CWAVFileFormat().Export(exporter, Target("Stop.wav"), options), XAbort, "user pressed stop");
    EXPECT_TRUE(std::is_sorted(progress.fReports.begin(), progress.fReports.end()));
    EXPECT_LT(progress.fReports.back(), 1000);
    size_t kept = 0;
    while (kept < names.size() && std::filesystem::exists(fFolder.PathOf(names[kept]))) ++kept;
    EXPECT_GE(kept, 9u) << "a quarter of 40 slices, less the one being written";
    EXPECT_LT(kept, 40u);
    EXPECT_EQ(fFolder.CountEntries(), kept);
    for (size_t i = 0; i < kept; ++i)
        EXPECT_TRUE(Contents(fFolder.PathOf(names[i])) == Contents(reference.PathOf(names[i]))) << names[i];
}

TEST_F(CSoundFileExportFixture, AFailingDiskLeavesEachOldFileUntilItsNewOneIsOnDisk) {
    using NSQuilletTest::CFailingDiskKit;
    struct SRow {
        const char* fWhat;
        CFailingDiskKit::SPlan fPlan;
        uint32_t fCode;
        // Slices 1..4 afterwards: "new" audio, the "old" file, or "none".
        std::vector<const char*> fAfter;
    };
    // A mono slice file holds 11025 × 2 bytes of sound and about 110 of chunks: two fit in
    // 50000 bytes, the third does not.
    const SRow rows[] = {
        {"disk full in the third", {50000, false}, NSMishap::XOutOfSpace::kFailureCode, {"new", "new", "old", "none"}},
        {"flush fails", {CFailingDiskKit::SPlan().fBytesBeforeFailure, true}, NSMishap::XClose::kFailureCode,
         {"none", "old", "old", "none"}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        CTemporaryFolder folder;
        folder.Make("Loop 002.wav", "old");
        folder.Make("Loop 003.wav", "old");
        MakeLoop(false);
        CScriptedReplaceQuestion question({EReplaceAnswer::kReplaceAll});
        CReplaceConsent consent(question);
        SExportOptions options = Options();
        options.fReplaceConsent = &consent;
        CExporter exporter(*fSequencer, true, false);
        NSQuilletTest::SCaughtFailure caught;
        {
            CFailingDiskKit failing(row.fPlan);
            caught = NSQuilletTest::CatchFailure([&] {
                CWAVFileFormat().Export(exporter, NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(folder.Path()), "Loop.wav"), options);
            });
        }
        EXPECT_EQ(caught.fCode, row.fCode) << caught.fMessage;
        size_t present = 0;
        for (int i = 0; i < 4; ++i) {
            const std::string path = folder.PathOf(SliceFileName("Loop.wav", i, ".wav"));
            const std::string expected = row.fAfter[size_t(i)];
            if (expected != "none") ++present;
            if (expected == "none") EXPECT_FALSE(std::filesystem::exists(path)) << path;
            else if (expected == "old") EXPECT_EQ(Contents(path), "old") << path;
            else EXPECT_EQ(ReadFile(path)->GetFrameCount(), 11025) << path;
        }
        EXPECT_EQ(folder.CountEntries(), present) << "no temporary file left";
    }
}

TEST_F(CSoundFileExportFixture, OneSampleExportWritesTheChosenFile) {
    MakeLoop(true);
    CExporter exporter(*fSequencer, false, true);
    CAIFFFileFormat format;
    SExportOptions options = Options();
    options.fSliceCount = 5;  // more than the one item: all of it
    format.Export(exporter, Target("Whole.aif"), options);
    ASSERT_EQ(fFolder.CountEntries(), 1u);
    const auto read = ReadFile(fFolder.PathOf("Whole.aif"));
    EXPECT_EQ(read->GetFrameCount(), exporter.GetTotalFrames());
}

TEST_F(CSoundFileExportFixture, SliceCountLimitsTheFilesWritten) {
    MakeLoop(false);
    CExporter exporter(*fSequencer, true, false);
    SExportOptions options = Options();
    options.fSliceCount = 2;
    EXPECT_EQ(CWAVFileFormat().WriteSliceFiles(exporter, Target("Two.wav"), options),
              (std::vector<std::string>{"Two 001.wav", "Two 002.wav"}));
    EXPECT_EQ(fFolder.CountEntries(), 2u);
}

TEST(ExportFileNames, SliceNamesKeepTheNumberAndWholeCharacters) {
    struct SRow {
        const char* fChosen;
        int fIndex;
        const char* fExtension;
        size_t fLimit;
        const char* fExpected;
    };
    const SRow rows[] = {
        {"Funky Beat.wav", 0, ".wav", 0, "Funky Beat 001.wav"},
        {"Funky Beat.wav", 41, ".wav", 0, "Funky Beat 042.wav"},
        {"Funky Beat.wav", 999, ".wav", 0, "Funky Beat 1000.wav"},
        {"loop.v2.aif", 0, ".aif", 0, "loop.v2 001.aif"},
        {".hidden", 0, ".aif", 0, ".hidden 001.aif"},
        {"No Extension", 2, ".akp", 0, "No Extension 003.akp"},
        // 10 bytes before the extension: 6 of the name, then " 001".
        {"Very long name.wav", 0, ".wav", 10, "Very l 001.wav"},
        // "Gr" then the two bytes of "ö": a cut at 3 bytes would split it.
        {"Gr\xC3\xB6\xC3\x9F" "e.wav", 0, ".wav", 7, "Gr 001.wav"},
        {"Beat.wav", 0, ".wav", 3, " 001.wav"},
    };
    for (const SRow& row : rows)
        EXPECT_EQ(SliceFileName(row.fChosen, row.fIndex, row.fExtension, row.fLimit), row.fExpected) << row.fChosen;
}

}  // namespace
}  // namespace NSQuillet
