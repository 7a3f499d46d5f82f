#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/document/DocumentListener.h"
#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "foundation/Mishap.h"
#include "tests/app/document/FourSliceDocument.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/FreeRunningAudioOutput.h"
#include "tests/support/PlaybackNotificationCounter.h"
#include "tests/support/ScopedEnvironmentVariable.h"

namespace {

using namespace NSQuillet;
using NSQuilletTest::CScopedEnvironmentVariable;

// An audio output of the test's own: a manager and a wave player on a Null Output that calls
// back without waiting, so that what plays ends soon.
class DocumentPlayback : public ::testing::Test {
protected:
    SDocumentSettings Output() { return fOutput.Settings(); }
    // The four-slice ramp previewed as one bar, `gain` thousandths, listened to.
    std::unique_ptr<CQuilletDocument> MakePlayingDocument(int16_t base = 0, int32_t gain = 1000) {
        auto sample = NSQuilletTest::MakeRampSample(base);
        auto slices = NSQuilletTest::MakeFourSlices(sample.get());
        auto document = std::make_unique<CQuilletDocument>(std::move(sample), false, Output(), 0, std::move(slices));
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fLoop.SetBars(1);
        parameters.fLoop.SetPreviewOn(true);
        document->PerformParametersChange(parameters, "Change Loop Length");
        SEffectParameters effects = document->GetEffectParameters();
        effects.fProcessingGain = gain;
        document->PerformEffectParametersChange(effects, "Change Processing Gain");
        document->AddListener(&fListener);
        return document;
    }
    // Idles the wave player, as the application's idle time does, until `done` or 10 s passed.
    bool IdleUntil(const std::function<bool()>& done) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > giveUp) return false;
            fPlayer.Idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    CScopedEnvironmentVariable fNoForcedDevice{"QUILLET_AUDIO_DEVICE", std::nullopt};
    NSQuilletTest::SFreeRunningAudioOutput fOutput;
    CAudioCardManager& fManager = fOutput.fManager;
    CWavePlayer& fPlayer = fOutput.fPlayer;
    NSQuilletTest::CPlaybackNotificationCounter fListener;
};

TEST_F(DocumentPlayback, EachPlayOperationHandsTheSequencerToTheWavePlayerWithItsPlayMode) {
    auto document = MakePlayingDocument();
    struct SRow {
        const char* fCase;
        std::function<void(CQuilletDocument&)> fPlay;
        uint32_t fMode;
        int32_t fPositionAfter;
    };
    const SRow rows[] = {
        {"loop", [](CQuilletDocument& d) { d.PlayLoop(); }, CQuilletDocument::kPlayMode_Loop, 0},
        {"current slice", [](CQuilletDocument& d) { d.PlayCurrentSlice(); }, CQuilletDocument::kPlayMode_CurrentSlice, 0},
        {"previous slice", [](CQuilletDocument& d) { d.PlayPreviousSlice(); }, CQuilletDocument::kPlayMode_PreviousSlice,
         66150},
        {"current slice, then next", [](CQuilletDocument& d) { d.PlayCurrentSliceAndMoveToNext(); },
         CQuilletDocument::kPlayMode_CurrentSliceAndMoveToNext, 22050},
        {"audition", [](CQuilletDocument& d) { d.PlaySliceAt(50000); }, CQuilletDocument::kPlayMode_ChosenSlice, 44100},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        document->SetPlayPosition(0);
        const int told = fListener.fCalls;
        row.fPlay(*document);
        EXPECT_EQ(document->GetPlayMode(), row.fMode);
        EXPECT_TRUE(document->IsPlaying());
        EXPECT_EQ(fPlayer.GetMode(), CWavePlayer::kPlayingSequencer);
        EXPECT_EQ(document->GetSequencer().GetPosition(), row.fPositionAfter);
        EXPECT_EQ(fListener.fCalls, told + 1);
        ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 4096; })) << "the output renders it";

        document->StopOrRewind();
        EXPECT_EQ(document->GetPlayMode(), CQuilletDocument::kPlayMode_Stopped);
        EXPECT_FALSE(document->IsPlaying());
        EXPECT_FALSE(fPlayer.IsPlaying());
        EXPECT_EQ(document->GetSequencer().GetTransport(), CQuilletSequencer::kStopped);
        EXPECT_EQ(fListener.fCalls, told + 2);
    }
    // Stopped, the same operation rewinds: from the third slice back to the loop's start.
    document->SetPlayPosition(44100);
    document->StopOrRewind();
    EXPECT_EQ(document->GetPlayPosition(), 0);
}

TEST_F(DocumentPlayback, ASliceThatHasEndedReturnsTheDocumentToStopped) {
    auto document = MakePlayingDocument();
    document->PlaySliceAt(22050);
    ASSERT_TRUE(document->IsPlaying());
    const int told = fListener.fCalls;
    ASSERT_TRUE(IdleUntil([&] { return !document->IsPlaying(); }));
    EXPECT_EQ(document->GetPlayMode(), CQuilletDocument::kPlayMode_Stopped);
    EXPECT_FALSE(fPlayer.IsPlaying());
    EXPECT_EQ(fListener.fCalls, told + 1);
    EXPECT_EQ(document->GetPlayPosition(), 22050);
}

TEST_F(DocumentPlayback, NothingPlaysWithoutAWorkingOutputOrWithoutSound) {
    auto unplugged = NSQuilletTest::MakeFourSliceDocument();
    auto silent = std::make_unique<CQuilletDocument>(NSQuilletTest::MakeRampSample(0, 0), true, Output());
    // Its only slice selected and Silence Selected on, a previewed loop has nothing to play.
    auto sample = NSQuilletTest::MakeRampSample();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(0, 20000, ESliceKind::kNormal, true));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    auto selected = std::make_unique<CQuilletDocument>(std::move(sample), false, Output(), 0, std::move(slices));
    SDocumentParameters parameters = selected->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    parameters.fLoop.SetPreviewOn(true);
    parameters.fLoop.SetSilenceSelected(true);
    selected->PerformParametersChange(parameters, "Toggle Silence Selected");
    ASSERT_TRUE(selected->GetSequencer().GetPlayListEntries().empty());
    EXPECT_TRUE(selected->CanPlay());
    auto document = MakePlayingDocument();
    for (CQuilletDocument* each : {unplugged.get(), silent.get(), selected.get()}) {
        EXPECT_EQ(each->CanPlay(), each == selected.get());
        each->PlayLoop();
        each->PlaySliceAt(0);
        EXPECT_FALSE(each->IsPlaying());
        EXPECT_FALSE(each->GetSequencer().IsPlaying());
    }
    EXPECT_FALSE(fPlayer.IsPlaying());

    // A device that fails leaves the output failed: the play operations do nothing, and the
    // listeners heard of the change.
    const int told = fListener.fCalls;
    EXPECT_THROW(fManager.ChooseDeviceByName("no device of this name"), NSMishap::XNotFound);
    EXPECT_EQ(fListener.fCalls, told + 1);
    EXPECT_FALSE(document->CanPlay());
    document->PlayLoop();
    document->PlayCurrentSlice();
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_FALSE(document->GetSequencer().IsPlaying());
    EXPECT_FALSE(fPlayer.IsPlaying());

    // Chosen again, it plays.
    fManager.ChooseNullOutput(NSQuilletTest::FreeRunning(), NSQuilletTest::DriverSettings(44100, 256));
    EXPECT_EQ(fListener.fCalls, told + 2);
    document->PlayLoop();
    EXPECT_TRUE(document->IsPlaying());
}

TEST_F(DocumentPlayback, AnotherDocumentsPlaybackStopsThisOne) {
    auto first = MakePlayingDocument();
    NSQuilletTest::CPlaybackNotificationCounter secondListener;
    auto second = MakePlayingDocument();
    second->RemoveListener(&fListener);
    second->AddListener(&secondListener);
    first->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; }));
    const int told = fListener.fCalls;
    second->PlayLoop();
    EXPECT_FALSE(first->IsPlaying());
    EXPECT_EQ(first->GetPlayMode(), CQuilletDocument::kPlayMode_Stopped);
    EXPECT_EQ(first->GetSequencer().GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_EQ(fListener.fCalls, told + 1);
    EXPECT_TRUE(second->IsPlaying());
    EXPECT_EQ(secondListener.fCalls, 1);
    second->StopOrRewind();
}

TEST_F(DocumentPlayback, ANewOutputRateStopsThePlaybackAndBecomesTheSequencersRate) {
    auto document = MakePlayingDocument();
    document->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; }));
    fManager.SetSampleRate(48000);
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_EQ(document->GetSequencer().GetOutputRate(), 48000u);
    EXPECT_EQ(document->GetSequencer().GetEqualizer().GetSampleRate(), 48000u);
    // A document made now starts at the output's rate.
    auto later = MakePlayingDocument();
    EXPECT_EQ(later->GetSequencer().GetOutputRate(), 48000u);
    document->PlayLoop();
    EXPECT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; }));
    document->StopOrRewind();
}

TEST_F(DocumentPlayback, AClosingDocumentStopsItsPlaybackAndLeavesTheManager) {
    auto document = MakePlayingDocument();
    document->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; }));
    document.reset();
    EXPECT_FALSE(fPlayer.IsPlaying());
    // The manager tells its listeners of a new rate; the closed document is not among them.
    auto other = MakePlayingDocument();
    fManager.SetSampleRate(48000);
    EXPECT_EQ(other->GetSequencer().GetOutputRate(), 48000u);
}

TEST_F(DocumentPlayback, LocatingMovesThePlayPositionAndTheCurrentSliceWhileStopped) {
    auto document = MakePlayingDocument();
    struct SRow {
        const char* fCase;
        std::function<void(CQuilletDocument&)> fLocate;
        int32_t fPosition;
        int32_t fSlice;
    };
    const SRow rows[] = {
        {"to a frame", [](CQuilletDocument& d) { d.SetPlayPosition(30000); }, 30000, 1},
        {"to the next slice", [](CQuilletDocument& d) { d.MoveToNextSlice(); }, 44100, 2},
        {"to the previous slice", [](CQuilletDocument& d) { d.MoveToPreviousSlice(); }, 22050, 1},
        {"back to the first", [](CQuilletDocument& d) { d.MoveToPreviousSlice(); }, 0, 0},
        {"wrapping to the last", [](CQuilletDocument& d) { d.MoveToPreviousSlice(); }, 66150, 3},
        {"wrapping to the first", [](CQuilletDocument& d) { d.MoveToNextSlice(); }, 0, 0},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        const int told = fListener.fCalls;
        row.fLocate(*document);
        bool sounding = true;
        EXPECT_EQ(document->GetPlayPosition(&sounding), row.fPosition);
        EXPECT_FALSE(sounding);
        EXPECT_EQ(document->GetCurrentSlice(), row.fSlice);
        EXPECT_EQ(fListener.fCalls, told + 1);
    }

    // While the loop plays, the position follows the sounding slice and locating waits.
    document->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] {
        bool sounding = false;
        return document->GetPlayPosition(&sounding) == 22050 && sounding;
    }));
    EXPECT_EQ(document->GetCurrentSlice(), 1);
    document->SetPlayPosition(5);
    EXPECT_NE(document->GetSequencer().GetPosition(), 5);
    document->StopOrRewind();
}

TEST_F(DocumentPlayback, TheMetersReadTheOutputLevelAndTheShapersGains) {
    // 31000 + 0..999 at four times the gain clips.
    auto document = MakePlayingDocument(31000, 4000);
    SEffectParameters effects = document->GetEffectParameters();
    effects.fTransientShaper.fOn = 1;
    document->PerformEffectParametersChange(effects, "Toggle Transient Shaper On/Off");
    document->TakeOutputLevel();
    float smallest = 0.0f, largest = 0.0f;
    document->TakeShaperGains(smallest, largest);
    document->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 20000; }));
    const CLevelMeter::SReading level = document->TakeOutputLevel();
    document->TakeShaperGains(smallest, largest);
    document->StopOrRewind();
    EXPECT_TRUE(level.fClipped);
    EXPECT_EQ(level.fLeftPeak, 1.0f);
    EXPECT_EQ(level.fRightPeak, 1.0f);
    // With the default threshold and ratio the shaper's gain lies between
    // 1 / (1 − r + 2 × 1 × r + 0.001) at the follower's top and 1 / (1 − r + 2 × t × r + 0.001)
    // at the threshold, r = 39/127, t = 77/256 + 0.01: 1 / 1.30809 = 0.76447 and
    // 1 / 0.88479 = 1.13021.
    EXPECT_LT(smallest, largest);
    EXPECT_GE(smallest, 0.7644f);
    EXPECT_LE(largest, 1.1303f);

    // Nothing plays: nothing measured.
    document->TakeOutputLevel();
    document->TakeShaperGains(smallest, largest);
    const CLevelMeter::SReading quiet = document->TakeOutputLevel();
    document->TakeShaperGains(smallest, largest);
    EXPECT_EQ(quiet.fLeftPeak, 0.0f);
    EXPECT_FALSE(quiet.fClipped);
    EXPECT_EQ(smallest, 1.0f);
    EXPECT_EQ(largest, 1.0f);
}

TEST_F(DocumentPlayback, AWaveSampleChangeWhilePlayingPausesTheOutputAndStops) {
    auto document = MakePlayingDocument();
    document->PlayLoop();
    ASSERT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; }));
    document->PerformWaveSampleChange(NSQuilletTest::MakeRampSample(500), "Normalize");
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_FALSE(fPlayer.IsPlaying());
    EXPECT_EQ(fManager.GetRenderer().GetPauseCount(), 0) << "resumed";
    document->PlayLoop();
    EXPECT_TRUE(IdleUntil([&] { return fPlayer.GetPlayedFrames() > 1024; })) << "the output plays again";
    document->StopOrRewind();
}

TEST(DocumentPlaybackSettings, AManagerWithoutAWavePlayerIsRefused) {
    CAudioCardManager manager;
    SDocumentSettings settings;
    settings.fAudioCardManager = &manager;
    EXPECT_THROW(NSQuilletTest::MakeFourSliceDocument("", settings), NSMishap::XStdInvalidArgument);
}

}  // namespace
