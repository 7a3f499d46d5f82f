#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/opening/LOPDecompressCallback.h"
#include "app/opening/LongFileQuestion.h"
#include "app/opening/SoundFileInfoCheck.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

class CRecordingReporter final : public IProgressReporter {
public:
    void Progress(int32_t permille) override { fReports.push_back(permille); }
    bool IsStopRequested() const override { return fStop; }
    std::vector<int32_t> fReports;
    bool fStop = false;
};

TEST(LOPDecompressCallback, ReportsTruncatedPermilleAndTheStopState) {
    struct SRow {
        int64_t fDone;
        int64_t fTotal;
        int32_t fPermille;
    };
    const SRow rows[] = {
        {0, 100, 0},
        {50, 100, 500},
        {1, 3, 333},      // 1000 / 3 = 333.3
        {2, 3, 666},      // 2000 / 3 = 666.6, truncated
        {100, 100, 1000},
        {7, 0, 1000},     // nothing to decode counts as done
        {0, 0, 1000},
        {150, 100, 1000},
        {-5, 100, 0},
        {int64_t(1) << 61, int64_t(1) << 62, 500},  // the product needs more than 64 bits
        {(int64_t(1) << 62) - 1, int64_t(1) << 62, 999},
    };
    for (const SRow& row : rows) {
        CRecordingReporter reporter;
        CLOPDecompressCallback callback(reporter, row.fTotal);
        EXPECT_FALSE(callback.Progress(row.fDone));
        reporter.fStop = true;
        EXPECT_TRUE(callback.Progress(row.fDone));
        EXPECT_EQ(reporter.fReports, (std::vector<int32_t>{row.fPermille, row.fPermille}))
            << row.fDone << " of " << row.fTotal;
    }
}

TEST(LongFileQuestion, WholeMinutesTruncateTheSecondsFirst) {
    struct SRow {
        int64_t fFrames;
        int64_t fRate;
        int64_t fMinutes;
    };
    const SRow rows[] = {
        {11025 * 300 - 1, 11025, 4},  // 299.9999 s: 299 whole seconds, 4 minutes
        {11025 * 300, 11025, 5},
        {44100 * 60 - 1, 44100, 0},
        {44100 * 600, 44100, 10},
        {299999999, 1000000, 4},
        {int64_t(4294967295u), 11025, 6492},  // 389566 s
        {1000, 0, 0},
    };
    for (const SRow& row : rows) EXPECT_EQ(WholeMinutesOf(row.fFrames, row.fRate), row.fMinutes) << row.fFrames;
    // Open Anyway is the rightmost of the question's buttons.
    EXPECT_EQ(kAlert_LongFile.GetAlert().fButtons, (std::vector<std::string>{"Cancel", "Open Anyway"}));
}

// A silent mono 16-bit sound at 11025 Hz compresses to almost nothing, so five minutes of it
// make a small file.
std::string MakeSilentFile(const CTemporaryFolder& folder, const std::string& name, int32_t frames) {
    const std::string path = folder.PathOf(name);
    auto sample = std::make_unique<C16BitWaveSample>(11025, frames, false);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0) {
        folder.Make(name, WriteToBytes(*sample, ESoundFileType::kWave));
    } else {
        CQuilletDocument document(std::move(sample), false, SDocumentSettings{});
        SaveAs(document, path);
    }
    return path;
}

TEST(DocumentOpening, AsksBeforeOpeningASoundOfFiveMinutesOrMore) {
    CTemporaryFolder folder;
    constexpr int32_t kFiveMinutes = 11025 * 300;
    const std::map<std::string, std::string> files = {
        {"short.lx2", MakeSilentFile(folder, "short.lx2", kFiveMinutes - 1)},
        {"long.lx2", MakeSilentFile(folder, "long.lx2", kFiveMinutes)},
        {"short.wav", MakeSilentFile(folder, "short.wav", kFiveMinutes - 1)},
        {"long.wav", MakeSilentFile(folder, "long.wav", kFiveMinutes)},
    };
    constexpr int32_t kCancel = 34;
    constexpr int32_t kOpenAnyway = 33;
    struct SRow {
        std::string fFile;
        std::vector<int32_t> fAnswers;  // empty: no question expected
        bool fOpens;
    };
    const SRow rows[] = {
        {"short.lx2", {}, true},          {"long.lx2", {kCancel}, false}, {"long.lx2", {kOpenAnyway}, true},
        {"short.wav", {}, true},          {"long.wav", {kCancel}, false}, {"long.wav", {kOpenAnyway}, true},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fFile + (row.fAnswers.empty() ? "" : " answered " + std::to_string(row.fAnswers[0])));
        CScriptedAlertPresenter presenter;
        for (int32_t answer : row.fAnswers) presenter.Answer(answer);
        CQuilletLengthyOperation operation("Open", true, nullptr);
        std::unique_ptr<CQuilletDocument> document;
        const SCaughtFailure caught =
            CatchFailure([&] { document = OpenDocument(files.at(row.fFile), SDocumentSettings{}, operation); });
        ASSERT_EQ(presenter.GetShown().size(), row.fAnswers.size());
        if (!row.fAnswers.empty()) {
            EXPECT_EQ(presenter.GetShown()[0].fBody, kAlert_LongFile.GetAlert().fBody);
        }
        EXPECT_EQ(presenter.GetPendingAnswerCount(), 0u);
        if (row.fOpens) {
            EXPECT_EQ(caught.fCode, 0u) << caught.fMessage;
            ASSERT_TRUE(document);
            EXPECT_EQ(document->GetWaveSample().GetFrameCount(),
                      row.fFile.rfind("short", 0) == 0 ? kFiveMinutes - 1 : kFiveMinutes);
        } else {
            EXPECT_EQ(caught.fCode, NSMishap::XSilentAbort::kFailureCode);
            EXPECT_EQ(caught.fMessage, "long file not opened");
            EXPECT_FALSE(document);
            EXPECT_EQ(operation.GetText(), "") << "nothing was read";
        }
    }
    // With no one to ask the long file is not opened.
    CQuilletLengthyOperation operation("Open", true, nullptr);
    EXPECT_FAILURE(OpenDocument(files.at("long.lx2"), SDocumentSettings{}, operation), XSilentAbort,
                   "long file not opened");
}

TEST(DocumentOpening, RefusesALoopFileBelowTheSupportedRateWithItsWarning) {
    struct SRow {
        uint32_t fRate;
        bool fOpens;
    };
    const SRow rows[] = {{1000, false}, {8000, false}, {11024, false}, {11025, true}, {192000, true}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fRate);
        CTemporaryFolder folder;
        auto document = MakeLoopDocument(16, 2, 3000, row.fRate);
        const std::string path = folder.PathOf("rate.lx2");
        SaveAs(*document, path);

        CScriptedAlertPresenter presenter;
        CQuilletLengthyOperation operation("Open", true, nullptr);
        const SCaughtFailure caught = CatchFailure([&] { OpenDocument(path, SDocumentSettings{}, operation); });
        if (row.fOpens) {
            EXPECT_EQ(caught.fCode, 0u) << caught.fMessage;
            EXPECT_TRUE(presenter.GetShown().empty());
            continue;
        }
        EXPECT_EQ(caught.fCode, NSMishap::XSilentAbort::kFailureCode);
        EXPECT_EQ(caught.fMessage, "invalid sound file info");
        ASSERT_EQ(presenter.GetShown().size(), 1u);
        EXPECT_EQ(presenter.GetShown()[0].fBody, kAlert_UnsupportedSampleRate.GetAlert().fBody);
        EXPECT_EQ(operation.GetText(), "") << "refused before any audio is read";
    }
}

TEST(DocumentOpening, ReadsTheLoopSamplesUnderTheOperationAndStopsWhenItIsStopped) {
    CTemporaryFolder folder;
    auto saved = MakeLoopDocument(24, 2, 4000);
    const std::string path = folder.PathOf("loop.lx2");
    SaveAs(*saved, path);

    CQuilletLengthyOperation reading("Open", true, nullptr);
    ASSERT_TRUE(OpenDocument(path, SDocumentSettings{}, reading));
    EXPECT_EQ(reading.GetText(), "Reading loop samples…");
    EXPECT_EQ(reading.GetLastProgress(), 1000);

    CQuilletLengthyOperation stopped("Open", true, nullptr);
    stopped.RequestStop();
    EXPECT_FAILURE(OpenDocument(path, SDocumentSettings{}, stopped), XAbort, "stopped by callback");
}

TEST(DocumentOpening, ALoopFileIsKnownByItsContentAndNativeOnlyByItsName) {
    CTemporaryFolder folder;
    auto saved = MakeLoopDocument(16, 1, 3000);
    ChangeEverySetting(*saved);
    SaveAs(*saved, folder.PathOf("loop.lx2"));
    std::filesystem::copy_file(folder.PathOf("loop.lx2"), folder.PathOf("loop.bin"));

    const auto opened = Open(folder.PathOf("loop.bin"));
    ExpectSameSlices(opened->GetSliceSequence(), saved->GetSliceSequence());
    EXPECT_TRUE(opened->GetDocumentParameters() == saved->GetDocumentParameters());
    EXPECT_FALSE(opened->IsNativeFile());
    EXPECT_TRUE(opened->IsModified());
    EXPECT_TRUE(opened->NeedsSaveAs());

    std::filesystem::copy_file(folder.PathOf("loop.lx2"), folder.PathOf("LOOP.LX2"));
    EXPECT_FALSE(Open(folder.PathOf("LOOP.LX2"))->IsModified());

    // IsLoopFile goes by the content too: a loop file named .wav is one, a WAVE named .lx2 is not.
    std::filesystem::copy_file(folder.PathOf("loop.lx2"), folder.PathOf("loop.wav"));
    const std::string wave = folder.Make("wave.lx2", WriteToBytes(*MakeSample(16, 1, 500, 44100), ESoundFileType::kWave));
    EXPECT_TRUE(IsLoopFile(folder.PathOf("loop.wav")));
    EXPECT_FALSE(IsLoopFile(wave));
}

TEST(DocumentOpening, ASoundFileGetsTheSlicesTheFinderFinds) {
    CTemporaryFolder folder;
    const auto sample = MakeSample(16, 2, 8000, 48000);
    const std::string path = folder.Make("drums.wav", WriteToBytes(*sample, ESoundFileType::kWave));

    int finderCalls = 0;
    const FSliceFinder finder = [&finderCalls](CABCWaveSample& found) {
        ++finderCalls;
        EXPECT_TRUE(found.HasPreview());
        auto slices = std::make_unique<CSliceSequence>(&found);
        slices->InsertSlice(CSlice(0, 30000, ESliceKind::kNormal));
        slices->InsertSlice(CSlice(4000, 30000, ESliceKind::kNormal));
        return slices;
    };
    CQuilletLengthyOperation operation("Open", true, nullptr);
    const auto document = OpenDocument(path, SDocumentSettings{}, operation, finder);
    EXPECT_EQ(finderCalls, 1);
    ExpectSameAudio(document->GetWaveSample(), *sample);
    ASSERT_EQ(document->GetSliceSequence().GetSliceCount(), 2);
    EXPECT_EQ(document->GetSliceSequence().GetSlice(1)->GetPosition(), 4000);
    EXPECT_EQ(operation.GetText(), "Reading loop samples…");
    EXPECT_TRUE(document->HasFile());
    EXPECT_FALSE(document->IsNativeFile());
    EXPECT_TRUE(document->IsModified());

    // Without a finder the document keeps the fresh, empty sequence.
    EXPECT_EQ(Open(path)->GetSliceSequence().GetSliceCount(), 0);
}

TEST(DocumentOpening, ALoopFileKeepsItsOwnLoopWhateverThePreferenceSays) {
    CTemporaryFolder folder;
    auto saved = MakeLoopDocument(16, 2, 44100);
    SDocumentParameters p = saved->GetDocumentParameters();
    p.fLoop.SetBars(3);
    p.fLoop.SetPreviewOn(true);
    saved->PerformParametersChange(p, "Change Loop Length");
    p = saved->GetDocumentParameters();
    p.fLoop.SetPreviewTempo(200000);
    saved->PerformParametersChange(p, "Change Preview Tempo");
    SaveAs(*saved, folder.PathOf("three.lx2"));

    for (bool barsToOne : {false, true}) {
        SDocumentSettings settings;
        settings.fDefaultBarsToOne = barsToOne;
        const auto opened = Open(folder.PathOf("three.lx2"), settings);
        EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetBars(), 3);
        EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetPreviewTempo(), 200000);
        EXPECT_TRUE(opened->IsPreviewTempoInitialised());
        EXPECT_FALSE(opened->IsModified());
    }
}

TEST(DocumentOpening, ALoopFileKeepsThePreviewTempoItsLengthCameWith) {
    struct SRow {
        const char* fCase;
        int32_t fChosenTempo;  // 0: none chosen
        int32_t fTempo;
    };
    // One bar over 88200 frames at 44100 Hz: 4 beats in 2 s, 120 BPM. A tempo the user chose
    // stays, even one equal to the tempo a new loop starts at.
    for (const SRow& row : {SRow{"the loop's own", 0, 120000}, SRow{"the user's", 130000, 130000}}) {
        SCOPED_TRACE(row.fCase);
        CTemporaryFolder folder;
        auto saved = MakeLoopDocument(16, 2, 88200);
        SDocumentParameters p = saved->GetDocumentParameters();
        p.fLoop.SetBars(1);
        p.fLoop.SetPreviewOn(false);
        saved->PerformParametersChange(p, "Change Loop Length");
        if (row.fChosenTempo) {
            p = saved->GetDocumentParameters();
            p.fLoop.SetPreviewTempo(row.fChosenTempo);
            saved->PerformParametersChange(p, "Change Preview Tempo");
        }
        SaveAs(*saved, folder.PathOf("one.lx2"));

        const auto opened = Open(folder.PathOf("one.lx2"));
        EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetPreviewTempo(), row.fTempo);
        EXPECT_TRUE(opened->IsPreviewTempoInitialised());
        p = opened->GetDocumentParameters();
        p.fLoop.SetPreviewOn(true);
        opened->PerformParametersChange(p, "Toggle Preview Play");
        EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetPreviewTempo(), row.fTempo);
    }
}

}  // namespace
