#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/saving/DocumentSaving.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/loopfile/QuilletFile.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/FailingDiskKit.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

void ChangePitch(CQuilletDocument& document, int16_t pitch) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fPitch = pitch;
    document.PerformParametersChange(parameters, "Change Pitch");
}

TEST(DocumentSaving, SaveAsThenOpenGivesBackTheWholeDocument) {
    struct SRow {
        int32_t fDepth;
        int32_t fChannels;
        uint32_t fRate;
    };
    const SRow rows[] = {{16, 1, 44100}, {16, 2, 48000}, {24, 1, 96000}, {24, 2, 22050}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.fDepth) + " bit, " + std::to_string(row.fChannels) + " channels");
        CTemporaryFolder folder;
        auto saved = MakeLoopDocument(row.fDepth, row.fChannels, 6000, row.fRate);
        ChangeEverySetting(*saved);
        ASSERT_TRUE(saved->IsModified());
        const std::string path = folder.PathOf("loop.lx2");
        SaveAs(*saved, path);
        EXPECT_FALSE(saved->IsModified());
        EXPECT_TRUE(saved->IsNativeFile());
        EXPECT_EQ(saved->GetFileName(), "loop.lx2");
        EXPECT_EQ(folder.CountEntries(), 1u);

        const auto opened = Open(path);
        ExpectSameAudio(opened->GetWaveSample(), saved->GetWaveSample());
        ExpectSameSlices(opened->GetSliceSequence(), saved->GetSliceSequence());
        EXPECT_TRUE(opened->GetDocumentParameters() == saved->GetDocumentParameters());
        EXPECT_TRUE(opened->GetEffectParameters() == saved->GetEffectParameters());
        EXPECT_TRUE(opened->GetViewAndEditAttributes() == saved->GetViewAndEditAttributes());
        EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetPreviewTempo(), 97500);
        EXPECT_EQ(opened->GetDocumentParameters().fLeftLocator, 100);
        EXPECT_EQ(opened->GetDocumentParameters().fRightLocator, 5800);
        EXPECT_EQ(opened->GetWindowStateWord(0), 0x12345678u);
        EXPECT_EQ(opened->GetWindowStateWord(1), 0xCAFEF00Du);
        EXPECT_EQ(opened->GetWindowStateFlag(), 0x5A);
        EXPECT_TRUE(opened->IsPreviewTempoInitialised());

        EXPECT_FALSE(opened->IsModified());
        EXPECT_TRUE(opened->IsNativeFile());
        EXPECT_FALSE(opened->CanUndo());
        EXPECT_EQ(opened->GetSavedPosition(), int32_t(opened->GetUndoHistory().GetPosition()));

        // The export size is stored in bytes: 2 per sample of 16-bit sound, 4 of 24-bit.
        const CQuilletFile file(NSDiskKitSupport::OpenMediaForReading(path));
        EXPECT_EQ(int64_t(file.GetInfo().fExportSize), saved->GetExportSize() * (row.fDepth == 16 ? 2 : 4));
        EXPECT_GT(file.GetInfo().fExportSize, 0u);
    }
}

TEST(DocumentSaving, ADocumentWithoutALoopLengthOpensAgainWithoutOne) {
    CTemporaryFolder folder;
    auto saved = MakeLoopDocument(16, 2, 4000);
    ASSERT_EQ(saved->GetDocumentParameters().fLoop.GetBars(), 0);
    ASSERT_EQ(saved->GetDocumentParameters().fLoop.GetBeats(), 0);
    SaveAs(*saved, folder.PathOf("plain.lx2"));
    // The preference would give a freshly opened sound one bar; the file's loop replaces it.
    SDocumentSettings settings;
    settings.fDefaultBarsToOne = true;
    const auto opened = Open(folder.PathOf("plain.lx2"), settings);
    EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetBars(), 0);
    EXPECT_EQ(opened->GetDocumentParameters().fLoop.GetBeats(), 0);
    EXPECT_FALSE(opened->GetDocumentParameters().fLoop.IsPreviewOn());
    EXPECT_FALSE(opened->IsPreviewTempoInitialised());
    ExpectSameSlices(opened->GetSliceSequence(), saved->GetSliceSequence());
}

TEST(DocumentSaving, ValuesBeyondWhatTheFileStoresAreSavedAsTheNearestStorable) {
    CTemporaryFolder folder;
    auto saved = MakeLoopDocument(16, 1, 3000);
    SDocumentParameters p = saved->GetDocumentParameters();
    p.fLoop.SetBars(1);
    p.fPitch = 3000;
    p.fEnvelope.fStretch = 150;
    saved->PerformParametersChange(p, "Change Pitch");
    SEffectParameters e = saved->GetEffectParameters();
    e.fProcessingGain = 9000;
    e.fEqualizer.fLowCut = 5;
    e.fEqualizer.fHighCut = 25000;
    e.fTransientShaper.fThreshold = 200;
    saved->PerformEffectParametersChange(e, "Change Processing Gain");
    SaveAs(*saved, folder.PathOf("wide.lx2"));

    const auto opened = Open(folder.PathOf("wide.lx2"));
    EXPECT_EQ(opened->GetDocumentParameters().fPitch, 2400);
    EXPECT_EQ(opened->GetDocumentParameters().fEnvelope.fStretch, 100);
    EXPECT_EQ(opened->GetEffectParameters().fProcessingGain, 7943);
    EXPECT_EQ(opened->GetEffectParameters().fEqualizer.fLowCut, 15);
    EXPECT_EQ(opened->GetEffectParameters().fEqualizer.fHighCut, 20000);
    EXPECT_EQ(opened->GetEffectParameters().fTransientShaper.fThreshold, 127);
}

TEST(DocumentSaving, SaveAsANewNameThenSaveInPlace) {
    CTemporaryFolder folder;
    auto document = MakeLoopDocument(16, 2, 5000);
    EXPECT_TRUE(document->NeedsSaveAs());
    SaveAs(*document, folder.PathOf("first.lx2"));
    EXPECT_FALSE(document->NeedsSaveAs());

    ChangePitch(*document, 300);
    EXPECT_TRUE(document->IsModified());
    Save(*document);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(document->GetFileName(), "first.lx2");
    EXPECT_EQ(Open(folder.PathOf("first.lx2"))->GetDocumentParameters().fPitch, 300);

    SaveAs(*document, folder.PathOf("second.lx2"));
    ChangePitch(*document, -1200);
    Save(*document);
    EXPECT_EQ(document->GetFileName(), "second.lx2");
    EXPECT_EQ(Open(folder.PathOf("second.lx2"))->GetDocumentParameters().fPitch, -1200);
    EXPECT_EQ(Open(folder.PathOf("first.lx2"))->GetDocumentParameters().fPitch, 300);
    EXPECT_EQ(folder.CountEntries(), 2u);

    // Undo back to the saved state: unmodified again; past it, modified.
    ChangePitch(*document, 50);
    document->Undo();
    EXPECT_FALSE(document->IsModified());
    document->Undo();
    EXPECT_TRUE(document->IsModified());
}

TEST(DocumentSaving, SaveInPlaceRefusesADocumentWithoutALoopFile) {
    CTemporaryFolder folder;
    const std::string wave = folder.Make("loop.wav", WriteToBytes(*MakeSample(16, 1, 2000), ESoundFileType::kWave));
    const std::string waveBytes = ReadWholeFile(wave);
    auto fromWave = Open(wave);
    auto pasted = MakeLoopDocument(16, 1, 2000);
    for (CQuilletDocument* document : {fromWave.get(), pasted.get()}) {
        EXPECT_TRUE(document->NeedsSaveAs());
        CQuilletLengthyOperation operation("Save", true, nullptr);
        EXPECT_FAILURE(SaveDocument(*document, operation), XStdLogicError,
                       "document has no loop file to save in place");
        EXPECT_TRUE(document->IsModified());
    }
    EXPECT_EQ(ReadWholeFile(wave), waveBytes);
    EXPECT_EQ(folder.CountEntries(), 1u);

    // Save As to the loop-file name makes it one.
    SaveAs(*fromWave, folder.PathOf("loop.lx2"));
    EXPECT_FALSE(fromWave->IsModified());
    EXPECT_TRUE(fromWave->IsNativeFile());
    EXPECT_EQ(ReadWholeFile(wave), waveBytes);
}

TEST(DocumentSaving, AFailedSaveKeepsTheOldFileAndTheDocumentModified) {
    CTemporaryFolder probe;
    auto sizing = MakeLoopDocument(24, 2, 20000);
    SaveAs(*sizing, probe.PathOf("size.lx2"));
    const uint64_t fileSize = std::filesystem::file_size(probe.PathOf("size.lx2"));

    struct SRow {
        const char* fName;
        CFailingDiskKit::SPlan fPlan;
        uint32_t fExpectedCode;
    };
    const SRow rows[] = {
        {"disk full at the first byte", {0, false}, NSMishap::XOutOfSpace::kFailureCode},
        {"disk full in the header", {40, false}, NSMishap::XOutOfSpace::kFailureCode},
        {"disk full in the sound", {fileSize / 2, false}, NSMishap::XOutOfSpace::kFailureCode},
        {"disk full at the last byte", {fileSize - 1, false}, NSMishap::XOutOfSpace::kFailureCode},
        {"close fails", {CFailingDiskKit::SPlan().fBytesBeforeFailure, true}, NSMishap::XClose::kFailureCode},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        CTemporaryFolder folder;
        auto document = MakeLoopDocument(24, 2, 20000);
        const std::string path = folder.PathOf("loop.lx2");
        SaveAs(*document, path);
        const std::string before = ReadWholeFile(path);
        ChangePitch(*document, 500);
        const int32_t savedPosition = document->GetSavedPosition();

        {
            CFailingDiskKit failing(row.fPlan);
            EXPECT_EQ(CatchFailure([&] { Save(*document); }).fCode, row.fExpectedCode);
            EXPECT_GE(failing.GetFailures(), 1);
            EXPECT_EQ(CatchFailure([&] { SaveAs(*document, folder.PathOf("other.lx2")); }).fCode, row.fExpectedCode);
        }
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_EQ(folder.CountEntries(), 1u) << "no temporary file and no half-written other.lx2";
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(document->GetSavedPosition(), savedPosition);
        EXPECT_EQ(document->GetFileName(), "loop.lx2");
        EXPECT_EQ(Open(path)->GetDocumentParameters().fPitch, 0);

        // Once the disk works again the same document saves.
        Save(*document);
        EXPECT_FALSE(document->IsModified());
        EXPECT_EQ(Open(path)->GetDocumentParameters().fPitch, 500);
    }
}

// Stops the work once it has reported progress `reportsBeforeStop` times.
class CStoppingOperation final : public CQuilletLengthyOperation {
public:
    explicit CStoppingOperation(int reportsBeforeStop)
        : CQuilletLengthyOperation("Save", true, nullptr), fReportsLeft(reportsBeforeStop) {
        if (fReportsLeft == 0) RequestStop();
    }
    void Progress(int32_t permille) override {
        CQuilletLengthyOperation::Progress(permille);
        if (--fReportsLeft == 0) RequestStop();
    }

private:
    int fReportsLeft;
};

TEST(DocumentSaving, AStoppedSaveLeavesTheOldFileAndNoTemporaryFile) {
    // Two blocks of sound, so a stop after the first report comes in the middle.
    constexpr int32_t kFrames = (1 << 20) + 5000;
    for (int reportsBeforeStop : {0, 1}) {
        SCOPED_TRACE(reportsBeforeStop);
        CTemporaryFolder folder;
        auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, false);
        for (int32_t frame = 0; frame < kFrames; frame += 997) sample->Set16(frame, int16_t(frame % 20000), 1);
        CQuilletDocument document(std::move(sample), false, SDocumentSettings{});
        const std::string path = folder.PathOf("loop.lx2");
        SaveAs(document, path);
        const std::string before = ReadWholeFile(path);
        ChangePitch(document, 100);

        CStoppingOperation operation(reportsBeforeStop);
        EXPECT_FAILURE(SaveDocument(document, operation), XAbort, "stopped by lop");
        EXPECT_EQ(ReadWholeFile(path), before);
        EXPECT_EQ(folder.CountEntries(), 1u);
        EXPECT_TRUE(document.IsModified());
    }
}

}  // namespace
