#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/export/AlertReplaceQuestion.h"
#include "app/export/ExportFlow.h"
#include "app/resources/AlertIds.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/ResourceReference.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "formats/export/ExportFileNames.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/FailingDiskKit.h"
#include "tests/support/MutedSilenceLoopDocument.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/ScriptedLoopLengthRequest.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CTemporaryFolder;

// Answers the dialogs from fields and records what they were asked.
class CScriptedExportDialogs final : public IExportDialogs {
public:
    std::optional<SExportSettings> AskExportSettings(const CABCExportFileFormat& format,
                                                     const SExportSettings& proposed) override {
        fProposed.push_back(proposed);
        fOfferedRates = format.GetSampleRates();
        fOfferedDepths = format.GetBitDepths();
        if (!fSettings) return std::nullopt;
        return *fSettings;
    }

    std::optional<SExportSettings> fSettings = SExportSettings{};
    std::vector<SExportSettings> fProposed;
    std::vector<uint32_t> fOfferedRates;
    std::vector<int32_t> fOfferedDepths;
};

// A mono 16-bit loop of `frames` frames at 44100 Hz with locked slices at `positions`, one bar
// long unless `bars` is 0, and then played at a preview tempo of 130 BPM.
std::unique_ptr<CQuilletDocument> MakeDocument(int32_t frames, const std::vector<int32_t>& positions, int32_t bars = 1) {
    auto sample = std::make_unique<C16BitWaveSample>(44100, frames, false);
    for (int32_t i = 0; i < frames; ++i) sample->Set16(i, int16_t((i * 37) % 20000 - 10000), 1);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t position : positions) slices->InsertSlice(CSlice(position, 20000, ESliceKind::kLocked));
    slices->UpdateSliceLengths();
    auto document = std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
    if (bars > 0) {
        SDocumentParameters p = document->GetDocumentParameters();
        p.fLoop.SetBars(bars);
        document->PerformParametersChange(p, "Change Loop Length");
        p = document->GetDocumentParameters();
        p.fLoop.SetPreviewTempo(130000);
        document->PerformParametersChange(p, "Change Preview Tempo");
        document->CloseUndoStep();
    }
    return document;
}

std::vector<int32_t> EvenPositions(int32_t count, int32_t frames) {
    std::vector<int32_t> positions;
    for (int32_t i = 0; i < count; ++i) positions.push_back(int32_t(int64_t(i) * frames / count));
    return positions;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Note-ons with velocity 127 in a MIDI file written without running status.
int CountNoteOns(const std::string& bytes) {
    int count = 0;
    for (size_t i = 0; i + 2 < bytes.size(); ++i)
        if (uint8_t(bytes[i]) == 0x90 && uint8_t(bytes[i + 2]) == 127) ++count;
    return count;
}

class CExportFlowFixture : public ::testing::Test {
protected:
    NSDiskKit::CFileSpec Target(const std::string& name) const {
        return NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(fFolder.Path()), name);
    }

    CTemporaryFolder fFolder;
    CScriptedAlertPresenter fAlerts;
    CScriptedExportDialogs fDialogs;
    NSQuilletTest::CScriptedLoopLengthRequest fLengthRequest;
    CAlertReplaceQuestion fReplace;
    SExportPreferences fPreferences;
};

TEST_F(CExportFlowFixture, MissingLoopLengthIsAskedForAndCommitted) {
    auto document = MakeDocument(44100, {0, 22050}, 0);
    const NSQuilletTest::SCaughtFailure cancelled =
        NSQuilletTest::CatchFailure([&] { BeginExport(*document, fLengthRequest, fPreferences); });
    EXPECT_EQ(cancelled.fCode, NSMishap::XSilentAbort::kFailureCode);
    EXPECT_EQ(cancelled.fMessage, "use aborted specify length dialog");
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);

    fLengthRequest.fBars = 2;
    EXPECT_EQ(BeginExport(*document, fLengthRequest, fPreferences), "Untitled.wav");
    EXPECT_EQ(fLengthRequest.fRequests, 2);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 2);
    // The first length gives the preview tempo: 8 beats in 1 s, 480 BPM, clamped to 450.
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 450000);
    EXPECT_EQ(document->GetUndoName(), "Change Loop Length");
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

TEST_F(CExportFlowFixture, MutedSlicesBetweenTheLocatorsLeaveNothingToExport) {
    // Everything between the locators is silent and muted, so the gated preview plays nothing.
    auto document = NSQuilletTest::MakeMutedSilenceLoopDocument();
    SDocumentParameters p = document->GetDocumentParameters();
    p.fLoop.SetBars(1);
    p.fLeftLocator = 11025;
    p.fRightLocator = 33075;
    document->PerformParametersChange(p, "Set Loop");
    document->CloseUndoStep();

    const NSQuilletTest::SCaughtFailure caught =
        NSQuilletTest::CatchFailure([&] { BeginExport(*document, fLengthRequest, fPreferences); });
    EXPECT_EQ(caught.fCode, NSMishap::XSilentAbort::kFailureCode);
    EXPECT_EQ(caught.fMessage, "nothing to export");
    ASSERT_EQ(fAlerts.GetShown().size(), 1u);
    EXPECT_EQ(fAlerts.GetShown()[0].fHeading, "Nothing to export!");
    EXPECT_EQ(fFolder.CountEntries(), 0u);
}

TEST_F(CExportFlowFixture, TooManySlicesAsksWithCountLimitAndLimit) {
    auto document = MakeDocument(44100, EvenPositions(100, 44100));
    ASSERT_EQ(document->GetExportSliceCount(), 100);
    // Base note 64 leaves the keys 64..127: 64 slices.
    fPreferences.fBaseNote = 64;

    fAlerts.Answer(AlertAnswerOfButton(0, 2));  // Cancel
    const NSQuilletTest::SCaughtFailure declined = NSQuilletTest::CatchFailure([&] {
        FinishExport(*document, EExportFormat::kMIDI, Target("Loop.mid"), fDialogs, fReplace, fPreferences);
    });
    EXPECT_EQ(declined.fCode, NSMishap::XSilentAbort::kFailureCode);
    EXPECT_EQ(declined.fMessage, "too many slices");
    ASSERT_EQ(fAlerts.GetShown().size(), 1u);
    EXPECT_EQ(fAlerts.GetShown()[0].fBody,
              "You’ve got 100 slices, but a file of this type can only use 64. Would you like to use the first 64 slices?");
    EXPECT_EQ(fFolder.CountEntries(), 0u);

    fAlerts.Answer(AlertAnswerOfButton(1, 2));  // OK
    FinishExport(*document, EExportFormat::kMIDI, Target("Loop.mid"), fDialogs, fReplace, fPreferences);
    EXPECT_EQ(CountNoteOns(Contents(fFolder.PathOf("Loop.mid"))), 64);
    // MIDI asks for no settings.
    EXPECT_TRUE(fDialogs.fProposed.empty());
}

TEST_F(CExportFlowFixture, ReplaceAllIsAskedOnceForTheWholeExport) {
    auto document = MakeDocument(44100, {0, 11025, 22050, 33075});
    for (int i : {0, 2, 3}) fFolder.Make(SliceFileName("Loop.wav", i, ".wav"), "old");
    fFolder.Make("Loop.mid", "old");
    fDialogs.fSettings = SExportSettings{44100, 16, true};
    fAlerts.Answer(AlertAnswerOfButton(1, 3));  // Replace All
    FinishExport(*document, EExportFormat::kWave, Target("Loop.wav"), fDialogs, fReplace, fPreferences);
    ASSERT_EQ(fAlerts.GetShown().size(), 1u);
    EXPECT_EQ(fAlerts.GetShown()[0].fBody.find("There is already a file by the name “Loop 001.wav”."), 0u);
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(Contents(fFolder.PathOf(SliceFileName("Loop.wav", i, ".wav"))).size(), 11025u * 2) << i;
    EXPECT_EQ(CountNoteOns(Contents(fFolder.PathOf("Loop.mid"))), 4);
    EXPECT_EQ(fFolder.CountEntries(), 5u);
}

TEST_F(CExportFlowFixture, WriteFailureKeepsTheFilesWrittenAndNamesTheDiskFull) {
    auto document = MakeDocument(44100, {0, 11025, 22050, 33075});
    fDialogs.fSettings = SExportSettings{44100, 16, false};
    // At the preview tempo of 130 BPM each slice sounds 11025 × 240 / 130 frames of 16 bits:
    // about 40700 bytes a file with its header, so two fit and the third does not.
    NSQuilletTest::CFailingDiskKit failing({100000, false});
    const NSQuilletTest::SCaughtFailure caught = NSQuilletTest::CatchFailure([&] {
        FinishExport(*document, EExportFormat::kWave, Target("Full.wav"), fDialogs, fReplace, fPreferences);
    });
    EXPECT_EQ(caught.fCode, NSMishap::XOutOfSpace::kFailureCode) << caught.fMessage;
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Full 001.wav")));
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Full 002.wav")));
    EXPECT_EQ(fFolder.CountEntries(), 2u);
    try {
        FinishExport(*document, EExportFormat::kWave, Target("Again.wav"), fDialogs, fReplace, fPreferences);
        FAIL() << "the disk is still full";
    } catch (const std::exception& failure) {
        const std::optional<CResourceReference> alert = ChooseFailureAlert(failure);
        ASSERT_TRUE(alert.has_value());
        EXPECT_EQ(*alert, FrameworkAlertReference(NSFrameworkAlertIds::kDiskFull));
    }
    // The format is remembered only after an export that finished.
    EXPECT_EQ(fPreferences.fLastFormat, EExportFormat::kWave);
}

TEST_F(CExportFlowFixture, SettingsAreProposedFromTheFormatAndRemembered) {
    auto document = MakeDocument(44100, {0, 22050});
    fDialogs.fSettings = SExportSettings{22050, 16, false};
    FinishExport(*document, EExportFormat::kSamplerProgram, Target("Kit.akp"), fDialogs, fReplace, fPreferences);
    ASSERT_EQ(fDialogs.fProposed.size(), 1u);
    EXPECT_EQ(fDialogs.fProposed[0].fSampleRate, 44100u);
    EXPECT_EQ(fDialogs.fOfferedRates, (std::vector<uint32_t>{11025, 22050, 32000, 44100, 48000}));
    EXPECT_EQ(fDialogs.fOfferedDepths, (std::vector<int32_t>{16}));
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Kit.akp")));
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Kit 002.wav")));
    EXPECT_EQ(fPreferences.fLastFormat, EExportFormat::kSamplerProgram);
    EXPECT_EQ(fPreferences.fSettings.fSampleRate, 22050u);
    // The next Export proposes the program's extension.
    EXPECT_EQ(BeginExport(*document, fLengthRequest, fPreferences), "Untitled.akp");

    fDialogs.fSettings.reset();
    const NSQuilletTest::SCaughtFailure cancelled = NSQuilletTest::CatchFailure([&] {
        FinishExport(*document, EExportFormat::kAiff, Target("Cancel.aif"), fDialogs, fReplace, fPreferences);
    });
    EXPECT_EQ(cancelled.fCode, NSMishap::XSilentAbort::kFailureCode);
    EXPECT_FALSE(std::filesystem::exists(fFolder.PathOf("Cancel 001.aif")));
    EXPECT_EQ(fPreferences.fLastFormat, EExportFormat::kSamplerProgram);
}

TEST(ExportSettingsProposal, KeepsWhatTheFormatOffersElseTheLoopsOwnElseTheDefault) {
    struct SRow {
        EExportFormat fFormat;
        SExportSettings fRemembered;
        uint32_t fLoopRate;
        int32_t fLoopDepth;
        uint32_t fRate;
        int32_t fDepth;
    };
    const SRow rows[] = {
        {EExportFormat::kWave, {48000, 24, false}, 44100, 16, 48000, 24},
        {EExportFormat::kWave, {12345, 8, false}, 96000, 24, 96000, 24},
        {EExportFormat::kSamplerProgram, {96000, 24, false}, 44100, 24, 44100, 16},
        {EExportFormat::kSamplerProgram, {96000, 24, false}, 8000, 24, 11025, 16},
        {EExportFormat::kSoundFont, {88200, 24, false}, 44100, 24, 88200, 16},
    };
    for (const SRow& row : rows) {
        const SExportSettings proposed =
            ProposeExportSettings(*MakeExportFileFormat(row.fFormat), row.fRemembered, row.fLoopRate, row.fLoopDepth);
        EXPECT_EQ(proposed.fSampleRate, row.fRate) << GetExportFormatName(row.fFormat);
        EXPECT_EQ(proposed.fBitDepth, row.fDepth) << GetExportFormatName(row.fFormat);
    }
}

}  // namespace
}  // namespace NSQuillet
