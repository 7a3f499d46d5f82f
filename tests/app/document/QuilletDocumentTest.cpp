#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "app/document/AudioSuspender.h"
#include "app/document/DocumentListener.h"
#include "app/document/DocumentParametersChange.h"
#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SavedWaveSample.h"
#include "app/document/SliceEditing.h"
#include "app/undo/Transaction.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"
#include "tests/app/document/FourSliceDocument.h"
#include "tests/support/RecordingDiagnosticSink.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::Positions;
constexpr int32_t kFrames = NSQuilletTest::kFourSliceFrames;

std::unique_ptr<C16BitWaveSample> MakeSample(int16_t base = 0, int32_t frames = kFrames) {
    return NSQuilletTest::MakeRampSample(base, frames);
}

std::unique_ptr<CQuilletDocument> MakeDocument(const std::string& path = "", const SDocumentSettings& settings = {},
                                               int32_t knownTempo = 0) {
    return NSQuilletTest::MakeFourSliceDocument(path, settings, knownTempo);
}

void ChangePitch(CQuilletDocument& document, int16_t pitch) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fPitch = pitch;
    document.PerformParametersChange(parameters, "Change Pitch");
}

template <class T, class = void>
struct SBraceInitialisable : std::false_type {};
template <class T>
struct SBraceInitialisable<T, std::void_t<decltype(T{})>> : std::true_type {};

// Only the change classes may apply a value without an undo step.
static_assert(!std::is_default_constructible_v<CDocumentChangeKey> && !SBraceInitialisable<CDocumentChangeKey>::value,
              "anyone could make the change classes' key");

class CRecordingListener final : public IDocumentListener {
public:
    void OnParametersChanged() override { Record("parameters", 0); }
    void OnSlicesChanged() override { Record("slices", 1); }
    void OnWaveSampleChanged() override { Record("wave sample", 2); }
    void OnViewAndEditAttributesChanged() override { Record("view", 3); }
    void OnUndoHistoryChanged() override { Record("undo history", 4); }
    void OnTitleChanged() override { Record("title", 5); }
    void OnPlaybackStateChanged() override { Record("playback", 6); }

    std::vector<std::string> fCalls;
    int fThrowInSlot = -1;

private:
    void Record(const char* name, int slot) {
        fCalls.push_back(name);
        if (slot == fThrowInSlot) throw std::runtime_error("listener failed");
    }
};

TEST(QuilletDocumentUndo, EqualNamesMergeAndOneUndoRestoresThePitchBeforeTheFirst) {
    auto document = MakeDocument();
    ChangePitch(*document, 100);
    ChangePitch(*document, 200);
    ChangePitch(*document, 300);
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 1u);
    EXPECT_EQ(document->GetUndoName(), "Change Pitch");
    document->Undo();
    EXPECT_EQ(document->GetDocumentParameters().fPitch, 0);
    EXPECT_FALSE(document->CanUndo());
    document->Redo();
    EXPECT_EQ(document->GetDocumentParameters().fPitch, 300);
}

TEST(QuilletDocumentUndo, ElevenCommandsKeepTenSteps) {
    auto document = MakeDocument();
    const char* names[] = {"Change Pitch", "Change Preview Tempo"};
    for (int i = 1; i <= 11; ++i) {
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fPitch = int16_t(i * 10);
        document->PerformParametersChange(parameters, names[i % 2]);
    }
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 10u);
    for (int i = 0; i < 10; ++i) document->Undo();
    EXPECT_FALSE(document->CanUndo());
    EXPECT_EQ(document->GetDocumentParameters().fPitch, 10);
}

TEST(QuilletDocumentUndo, NoMergeAfterUndoOrRedo) {
    auto document = MakeDocument();
    ChangePitch(*document, 100);
    document->Undo();
    ChangePitch(*document, 200);
    document->Undo();
    document->Redo();
    ChangePitch(*document, 300);
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 2u);
    document->Undo();
    EXPECT_EQ(document->GetDocumentParameters().fPitch, 200);
}

TEST(QuilletDocumentUndo, CommitAfterUndoPastTheSavedStateKeepsTheDocumentModified) {
    auto document = MakeDocument("/loops/drums.lx2");
    EXPECT_FALSE(document->IsModified());
    ChangePitch(*document, 100);
    document->CloseUndoStep();
    ChangePitch(*document, 200);
    document->MarkSaved();
    EXPECT_FALSE(document->IsModified());
    document->Undo();
    document->Undo();
    EXPECT_TRUE(document->IsModified());
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLoop.SetPreviewTempo(140000);
    document->PerformParametersChange(parameters, "Change Preview Tempo");
    EXPECT_FALSE(document->CanRedo());
    EXPECT_EQ(document->GetSavedPosition(), -1);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(document->IsModified());
        document->Undo();
    }
    EXPECT_TRUE(document->IsModified());
}

// Sets the pitch, or fails in Do.
class CFailingChange final : public NSUndoPackage::CABCChange {
public:
    void Do() override { throw NSMishap::XWrite("no"); }
    void Undo() override {}
};

TEST(QuilletDocumentUndo, FailingThirdChangeRollsBackTheFirstTwoInReverseOrderAndAddsNoStep) {
    auto document = MakeDocument();
    {
        NSUndoPackage::VTransaction transaction;
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fPitch = 100;
        transaction.Add(std::make_unique<CDocumentParametersChange>(*document, parameters));
        parameters.fPitch = 200;
        transaction.Add(std::make_unique<CDocumentParametersChange>(*document, parameters));
        EXPECT_THROW(transaction.Add(std::make_unique<CFailingChange>()), NSMishap::XWrite);
        EXPECT_EQ(document->GetDocumentParameters().fPitch, 200);
    }
    // Undoing the first before the second would leave 100.
    EXPECT_EQ(document->GetDocumentParameters().fPitch, 0);
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 0u);
}

TEST(QuilletDocumentParameters, LocatorsMoveInTheOrderThatKeepsLeftBelowRight) {
    struct SRow {
        const char* fCase;
        int32_t fFromLeft, fFromRight, fLeft, fRight;
    };
    for (const SRow& row : {SRow{"left past the right", 0, 44100, 50000, 60000},
                            SRow{"right before the left", 50000, 60000, 1000, 2000},
                            SRow{"both inward", 0, kFrames, 100, 200}}) {
        SCOPED_TRACE(row.fCase);
        auto document = MakeDocument();
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fLeftLocator = row.fFromLeft;
        parameters.fRightLocator = row.fFromRight;
        document->PerformParametersChange(parameters, "Set Loop");
        parameters.fLeftLocator = row.fLeft;
        parameters.fRightLocator = row.fRight;
        document->PerformParametersChange(parameters, "Set Loop");
        EXPECT_EQ(document->GetWaveSample().GetLeftLocator(), row.fLeft);
        EXPECT_EQ(document->GetWaveSample().GetRightLocator(), row.fRight);
        document->Undo();
        EXPECT_EQ(document->GetWaveSample().GetLeftLocator(), 0);
        EXPECT_EQ(document->GetWaveSample().GetRightLocator(), kFrames);
    }
}

TEST(QuilletDocumentParameters, FirstLoopLengthTakesTheLoopTempoWhetherPreviewIsOnOrNot) {
    struct SRow {
        const char* fCase;
        int32_t fBars;
        bool fPreviewOn;
        int32_t fTempo;
    };
    for (const SRow& row : {// 4 beats in 2 s: 120 BPM.
                            SRow{"preview off", 1, false, 120000}, SRow{"preview on", 1, true, 120000},
                            // 160 beats in 2 s: 4800 BPM, clamped to 450.
                            SRow{"above the range", 40, false, 450000}}) {
        SCOPED_TRACE(row.fCase);
        auto document = MakeDocument();
        SDocumentParameters parameters = document->GetDocumentParameters();
        EXPECT_EQ(parameters.fLoop.GetPreviewTempo(), 130000);
        EXPECT_FALSE(document->IsPreviewTempoInitialised());
        parameters.fLoop.SetBars(row.fBars);
        parameters.fLoop.SetPreviewOn(row.fPreviewOn);
        document->PerformParametersChange(parameters, "Change Loop Length");
        EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), row.fTempo);
        EXPECT_TRUE(document->IsPreviewTempoInitialised());
        document->Undo();
        EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 130000);
        document->Redo();
        EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), row.fTempo);
        // Only the first length sets the tempo: another length, or preview switched on, keeps it.
        parameters = document->GetDocumentParameters();
        parameters.fLoop.SetBars(2);
        parameters.fLoop.SetPreviewOn(true);
        document->PerformParametersChange(parameters, "Change Loop Length");
        EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), row.fTempo);
    }
}

TEST(QuilletDocumentParameters, ALengthWithoutLoopFramesLeavesTheTempoToTheFirstLengthThatGivesOne) {
    auto document = MakeDocument();
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLeftLocator = 44100;
    parameters.fRightLocator = 44100;
    parameters.fLoop.SetBars(1);
    document->PerformParametersChange(parameters, "Change Loop Length");
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 130000);
    EXPECT_FALSE(document->IsPreviewTempoInitialised());
    parameters = document->GetDocumentParameters();
    parameters.fLeftLocator = 0;
    document->PerformParametersChange(parameters, "Set Loop");
    // 4 beats in the first second: 240 BPM.
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 240000);
    EXPECT_TRUE(document->IsPreviewTempoInitialised());
}

TEST(QuilletDocumentConstruction, LoopLengthFromPreferenceOrKnownTempo) {
    struct SRow {
        const char* fCase;
        bool fDefaultBarsToOne;
        int32_t fKnownTempo;
        int32_t fBars, fBeats, fPreviewTempo;
        bool fPreviewOn;
    };
    for (const SRow& row : {
             SRow{"no length", false, 0, 0, 0, 130000, false},
             // 1 bar of 4/4 in 2 s: 120 BPM.
             SRow{"default bars to one", true, 0, 1, 0, 120000, true},
             // 120 BPM × 2 s = 4 beats: one bar.
             SRow{"120 BPM", false, 120000, 1, 0, 120000, false},
             // 93 BPM × 2 s = 3.1 beats: fraction below 0.25 is dropped.
             SRow{"93 BPM", false, 93000, 0, 3, 93000, false},
             // 100 BPM × 2 s = 3.33 beats: rounded up to 4, carried into a bar.
             SRow{"100 BPM", false, 100000, 1, 0, 100000, false},
             // 600 BPM × 2 s = 20 beats = 5 bars; tempo clamped to 450.
             SRow{"600 BPM", false, 600000, 5, 0, 450000, false},
         }) {
        SCOPED_TRACE(row.fCase);
        SDocumentSettings settings;
        settings.fDefaultBarsToOne = row.fDefaultBarsToOne;
        auto document = MakeDocument("/loops/drums.wav", settings, row.fKnownTempo);
        const SDocumentParameters parameters = document->GetDocumentParameters();
        EXPECT_EQ(parameters.fLoop.GetBars(), row.fBars);
        EXPECT_EQ(parameters.fLoop.GetBeats(), row.fBeats);
        EXPECT_EQ(parameters.fLoop.GetPreviewTempo(), row.fPreviewTempo);
        EXPECT_EQ(parameters.fLoop.IsPreviewOn(), row.fPreviewOn);
        EXPECT_EQ(document->IsPreviewTempoInitialised(), row.fBars != 0 || row.fBeats != 0);
        EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 0u);
    }
}

TEST(QuilletDocumentModified, DependsOnTheKindOfFile) {
    auto pasted = MakeDocument();
    EXPECT_TRUE(pasted->IsModified());
    EXPECT_EQ(pasted->GetDisplayName(), "Untitled");

    auto empty = std::make_unique<CQuilletDocument>(MakeSample(0, 0), true, SDocumentSettings{});
    ChangePitch(*empty, 5);
    EXPECT_FALSE(empty->IsModified());

    auto sound = MakeDocument("/loops/drums.wav");
    EXPECT_TRUE(sound->IsModified());
    EXPECT_TRUE(sound->NeedsSaveAs());
    sound->MarkSaved();
    EXPECT_TRUE(sound->IsModified());
    sound->SetFileAndMarkSaved(NSDiskKit::CFileSpec::FromPath("/loops/drums.LX2"));
    EXPECT_FALSE(sound->IsModified());
    EXPECT_EQ(sound->GetDisplayName(), "drums.LX2");
    ChangePitch(*sound, 100);
    EXPECT_TRUE(sound->IsModified());
    sound->Undo();
    EXPECT_FALSE(sound->IsModified());
}

TEST(QuilletDocumentListeners, FlagsArriveInSlotOrderAndAreCleared) {
    auto document = MakeDocument("/loops/drums.lx2");
    CRecordingListener listener;
    document->AddListener(&listener);
    document->NotifyListeners();
    EXPECT_EQ(listener.fCalls, (std::vector<std::string>{"parameters", "slices", "wave sample", "view", "undo history",
                                                         "title", "playback"}));
    listener.fCalls.clear();
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLeftLocator = 1000;
    document->PerformParametersChange(parameters, "Move Left Locator");
    // Now modified: the title too.
    EXPECT_EQ(listener.fCalls,
              (std::vector<std::string>{"parameters", "slices", "view", "undo history", "title"}));
    listener.fCalls.clear();
    ChangePitch(*document, 10);
    EXPECT_EQ(listener.fCalls, (std::vector<std::string>{"parameters", "undo history"}));
    listener.fCalls.clear();
    document->RemoveListener(&listener);
    ChangePitch(*document, 20);
    EXPECT_TRUE(listener.fCalls.empty());
}

TEST(QuilletDocumentListeners, ThrowingListenerDoesNotStopLaterNotifications) {
    NSQuilletTest::CRecordingDiagnosticSink diagnostics;
    auto document = MakeDocument();
    CRecordingListener throwing;
    CRecordingListener other;
    throwing.fThrowInSlot = 1;
    document->AddListener(&throwing);
    document->AddListener(&other);
    document->NotifyListeners();
    const std::vector<std::string> all{"parameters", "slices",  "wave sample", "view",
                                       "undo history", "title", "playback"};
    EXPECT_EQ(throwing.fCalls, all);
    EXPECT_EQ(other.fCalls, all);
    ASSERT_EQ(diagnostics.fReported.size(), 1u);
    EXPECT_EQ(diagnostics.fReported[0].fContext, "notifying a document listener");
    EXPECT_EQ(diagnostics.fReported[0].fMessage, "listener failed");
}

TEST(QuilletDocumentWaveSample, ChangeHoldsOneCopyOfAudioAcrossManyUndoRedoRounds) {
    const int64_t before = CSavedWaveSample::GetLiveCount();
    const int64_t bytesBefore = CSavedWaveSample::GetLiveBytes();
    auto document = MakeDocument();
    auto replacement = MakeSample(5000, kFrames / 2);
    const CABCWaveSample* replacementAddress = replacement.get();
    document->PerformWaveSampleChange(std::move(replacement), "Normalize");
    EXPECT_EQ(&document->GetWaveSample(), replacementAddress);
    EXPECT_EQ(document->GetSliceSequence().GetWaveSample(), replacementAddress);
    // The two slices past the new end are gone from the rebound sequence.
    EXPECT_EQ(Positions(*document), (std::vector<int32_t>{0, 22050}));
    const int64_t oneCopy = int64_t(kFrames) * 2 * 2;
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(CSavedWaveSample::GetLiveCount() - before, 1);
        EXPECT_EQ(CSavedWaveSample::GetLiveBytes() - bytesBefore, oneCopy);
        document->Undo();
        EXPECT_EQ(document->GetWaveSample().GetFrameCount(), kFrames);
        EXPECT_EQ(document->GetWaveSample().Get16(123, 1), 123);
        EXPECT_EQ(document->GetSliceSequence().GetWaveSample(), &document->GetWaveSample());
        EXPECT_EQ(CSavedWaveSample::GetLiveCount() - before, 1);
        EXPECT_EQ(CSavedWaveSample::GetLiveBytes() - bytesBefore, oneCopy / 2);
        document->Redo();
        EXPECT_EQ(document->GetWaveSample().GetFrameCount(), kFrames / 2);
        EXPECT_EQ(document->GetWaveSample().Get16(123, 2), 5000 - 123);
        EXPECT_EQ(document->GetOverview(2).size(), size_t(kFrames / 2 / 64) * 2);
    }
    document.reset();
    EXPECT_EQ(CSavedWaveSample::GetLiveCount(), before);
}

class CCountingSuspender final : public IAudioSuspender {
public:
    void Suspend() override {
        if (fFail) throw NSMishap::XTimeout("no mutex");
        ++fSuspended;
    }
    void Resume() override {
        ++fResumed;
        if (fFailResume) throw NSMishap::XNotReady("audio device lost");
    }
    bool fFail = false;
    bool fFailResume = false;
    int fSuspended = 0;
    int fResumed = 0;
};

TEST(QuilletDocumentWaveSample, SwapPausesAudioAndAFailedPauseChangesNothing) {
    CCountingSuspender suspender;
    SDocumentSettings settings;
    settings.fAudioSuspender = &suspender;
    auto document = MakeDocument("", settings);
    document->PerformWaveSampleChange(MakeSample(5000), "Normalize");
    document->Undo();
    EXPECT_EQ(suspender.fSuspended, 2);
    EXPECT_EQ(suspender.fResumed, 2);
    suspender.fFail = true;
    EXPECT_THROW(document->Redo(), NSMishap::XTimeout);
    EXPECT_EQ(document->GetWaveSample().Get16(123, 1), 123);
    EXPECT_TRUE(document->CanRedo());
    EXPECT_THROW(document->PerformWaveSampleChange(MakeSample(7000), "Remove DC"), NSMishap::XTimeout);
    EXPECT_EQ(document->GetWaveSample().Get16(123, 1), 123);
    EXPECT_EQ(document->GetRedoName(), "Normalize");
}

TEST(QuilletDocumentWaveSample, AFailedResumeIsReportedAndTheSwapStands) {
    NSQuilletTest::CRecordingDiagnosticSink diagnostics;
    CCountingSuspender suspender;
    suspender.fFailResume = true;
    SDocumentSettings settings;
    settings.fAudioSuspender = &suspender;
    auto document = MakeDocument("", settings);
    auto replacement = MakeSample(5000, kFrames / 2);
    const CABCWaveSample* replacementAddress = replacement.get();
    document->PerformWaveSampleChange(std::move(replacement), "Normalize");

    ASSERT_EQ(diagnostics.fReported.size(), 1u);
    EXPECT_EQ(diagnostics.fReported[0].fContext, "resuming the audio output");
    EXPECT_EQ(diagnostics.fReported[0].fFailureCode, NSMishap::XNotReady::kFailureCode);
    EXPECT_EQ(diagnostics.fReported[0].fMessage, "audio device lost");
    EXPECT_EQ(suspender.fSuspended, 1);
    EXPECT_EQ(suspender.fResumed, 1);
    // Sample, slices, sequencer, overview and history all moved on together.
    EXPECT_EQ(&document->GetWaveSample(), replacementAddress);
    EXPECT_EQ(document->GetSliceSequence().GetWaveSample(), replacementAddress);
    EXPECT_EQ(document->GetSequencer().GetWaveSample(), replacementAddress);
    EXPECT_EQ(document->GetSequencer().GetSliceSequence(), &document->GetSliceSequence());
    EXPECT_EQ(Positions(*document), (std::vector<int32_t>{0, 22050}));
    EXPECT_EQ(document->GetOverview(1).size(), size_t(kFrames / 2 / 64) * 2);
    EXPECT_EQ(document->GetUndoName(), "Normalize");

    document->Undo();
    EXPECT_EQ(diagnostics.fReported.size(), 2u);
    EXPECT_EQ(document->GetWaveSample().GetFrameCount(), kFrames);
    EXPECT_EQ(document->GetSequencer().GetWaveSample(), &document->GetWaveSample());
    EXPECT_EQ(document->GetRedoName(), "Normalize");
}

class CFakeClock final : public NSCourier::IMillisecondClock {
public:
    uint64_t NowMilliseconds() const override { return fNow; }
    uint64_t fNow = 5000;
};

TEST(QuilletDocumentExportInfo, ThrottledFiguresFollowChangesAtMostEvery30Milliseconds) {
    CFakeClock clock;
    SDocumentSettings settings;
    settings.fClock = &clock;
    auto document = MakeDocument("", settings);
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    document->PerformParametersChange(parameters, "Change Loop Length");
    parameters = document->GetDocumentParameters();
    parameters.fLoop.SetPreviewTempo(130000);
    document->PerformParametersChange(parameters, "Change Preview Tempo");
    EXPECT_EQ(document->GetExportSliceCountThrottled(), 4);
    // The export plays at the preview tempo: each 22050-frame slice of the 120 BPM loop lasts
    // 22050 × 120/130 + 0.5 → 20354 frames at 130 BPM; 4 slices, doubled for stereo.
    EXPECT_EQ(document->GetExportSizeThrottled(), int64_t(20354) * 4 * 2);
    CSliceEditing editing(*document);
    editing.InsertSlice(30000);
    clock.fNow += 29;
    EXPECT_EQ(document->GetExportSliceCountThrottled(), 4);
    clock.fNow += 1;
    EXPECT_EQ(document->GetExportSliceCountThrottled(), 5);
    editing.ClickWithMuteTool(1);
    EXPECT_EQ(document->GetExportSliceCount(), 4);
    parameters = document->GetDocumentParameters();
    parameters.fExportSlicesSeparately = false;
    document->PerformParametersChange(parameters, "Toggle Export As One Sample");
    EXPECT_EQ(document->GetExportSliceCount(), 1);
}

}  // namespace
}  // namespace NSQuillet
