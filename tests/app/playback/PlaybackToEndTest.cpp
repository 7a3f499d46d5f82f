#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/playback/LoopRender.h"
#include "app/playback/PlaybackToEnd.h"
#include "app/resources/FailureAlert.h"
#include "engine/16BitWaveSample.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "foundation/Mishap.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/FloatWaveFile.h"
#include "tests/support/PlayedRecording.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedSoundPortKit.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

// Counts the polls and asks for Stop from the `stopAt`-th on.
class CPollingProgress final : public IProgressReporter {
public:
    explicit CPollingProgress(int stopAt = -1) : fStopAt(stopAt) {}
    void Progress(int32_t permille) override {
        ++fPolls;
        fLast = permille;
        if (fOnPoll) fOnPoll(fPolls);
    }
    bool IsStopRequested() const override { return fStopAt >= 0 && fPolls >= fStopAt; }
    int fPolls = 0;
    int32_t fLast = -1;
    std::function<void(int)> fOnPoll;

private:
    int fStopAt;
};

// A manager and a wave player of the test's own; OpenOutput opens a Null Output that records
// what it plays and calls back without waiting, so that the playback takes less than its real
// time.
class PlaybackToEnd : public ::testing::Test {
protected:
    PlaybackToEnd() : fPlayer(fManager) { fManager.GetRenderer().SetSource(&fPlayer); }
    ~PlaybackToEnd() override { fManager.CloseOutput(); }

    void OpenOutput() {
        NSSoundPortKit2::SNullOutputOptions options;
        options.fFreeRunning = true;
        options.fRecordPath = RecordingPath();
        fManager.ChooseNullOutput(options, NSQuilletTest::DriverSettings(44100, 512));
    }

    std::string RecordingPath() const { return fFolder.PathOf("played.wav"); }
    // The recording, complete once the output is closed.
    SFloatWave Recorded() {
        fManager.CloseOutput();
        return ReadFloatWave(RecordingPath());
    }
    SDocumentSettings Output() {
        SDocumentSettings settings;
        settings.fAudioCardManager = &fManager;
        settings.fWavePlayer = &fPlayer;
        return settings;
    }

    CScopedEnvironmentVariable fNoForcedDevice{"QUILLET_AUDIO_DEVICE", std::nullopt};
    CTemporaryFolder fFolder;
    CAudioCardManager fManager;
    CWavePlayer fPlayer;
};

TEST_F(PlaybackToEnd, ALoopPlaysFrameForFrameWhatItsRenderWrites) {
    auto document = NSQuilletTest::MakeDemoLoopDocument(2, Output());
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fPitch = -300;
    document->PerformParametersChange(parameters, "Change Pitch");
    SEffectParameters effects = document->GetEffectParameters();
    // Loud enough to hear, not so loud that it clips: the render does not clamp to ±1 before
    // it rounds, the output does.
    effects.fProcessingGain = 300;
    effects.fTransientShaper.fOn = 1;
    effects.fEqualizer.fOn = 1;
    effects.fEqualizer.fLowGain = 6000;
    effects.fEqualizer.fHighGain = -9000;
    document->PerformEffectParametersChange(effects, "Select Equalizer Preset");
    ASSERT_EQ(ChoosePlaybackKind(*document, {}), EPlaybackKind::kLoop);

    CPollingProgress progress;
    SPlaybackRun run;
    run.fRepeat = 2;
    OpenOutput();
    NSQuillet::PlayToEnd(*document, fManager, fPlayer, run, &progress);
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_FALSE(fPlayer.IsPlaying());
    EXPECT_GT(progress.fPolls, 0);

    SLoopRender render;
    render.fRepeat = 2;
    render.fOutputRate = 44100;
    render.fBitDepth = 16;
    const std::unique_ptr<CABCWaveSample> rendered = RenderDocumentLoop(*document, render);
    // 176400 frames at 120 BPM, 8 beats, make 151200 at 140 BPM; twice.
    ASSERT_EQ(rendered->GetFrameCount(), 302400);
    const int64_t start = ExpectRecordingHolds(Recorded(), InterleavedValues(*rendered), 2);
    // The renderer hands the player whole pieces of 256 frames from the device's first
    // callback on: a playback starts on a piece.
    EXPECT_EQ(start % 256, 0);
}

TEST_F(PlaybackToEnd, ASoundWithoutALoopLengthPlaysStraightInterpolatedHalfway) {
    // 22050 Hz on a 44100 Hz device: a step of 16384/32768, every second output frame halfway
    // between two of the sound's, s0 + ((s1 − s0) × 16384) / 32768 with the division truncated
    // toward zero, and 0 after the last frame.
    auto sample = std::make_unique<C16BitWaveSample>(22050, 4, false);
    const int16_t values[] = {1000, 3000, -2000, 7};
    sample->Set16s(0, 4, values, 1);
    CQuilletDocument document(std::move(sample), false, Output());
    ASSERT_EQ(ChoosePlaybackKind(document, {}), EPlaybackKind::kStraight);
    SPlaybackRun run;
    run.fRepeat = 2;
    OpenOutput();
    NSQuillet::PlayToEnd(document, fManager, fPlayer, run, nullptr);
    EXPECT_FALSE(fPlayer.IsPlaying());

    const std::vector<int32_t> once = {
        1000, 1000,    // frame 0
        2000, 2000,    // 1000 + (2000 × 16384) / 32768 = 1000 + 1000
        3000, 3000,    // frame 1
        500, 500,      // 3000 + (−5000 × 16384) / 32768 = 3000 − 2500
        -2000, -2000,  // frame 2
        -997, -997,    // −2000 + (2007 × 16384) / 32768 = −2000 + 1003 (1003.5 truncated)
        7, 7,          // frame 3
        4, 4,          // 7 + (−7 × 16384) / 32768 = 7 − 3 (−3.5 truncated toward zero)
    };
    const SFloatWave recorded = Recorded();
    EXPECT_EQ(recorded.fRate, 44100u);
    // Played twice, the second play once the first has ended, silence around both; each value
    // played is the 16-bit value × 1/32767.
    const std::vector<float>& samples = recorded.fSamples;
    size_t from = 0;
    for (int play = 0; play < 2; ++play) {
        SCOPED_TRACE(play);
        const size_t start = FirstSound(samples, from);
        ASSERT_GE(samples.size(), start + once.size());
        EXPECT_EQ(start % 512, 0u) << "on a piece of 256 stereo frames";
        for (size_t i = 0; i < once.size(); ++i) {
            EXPECT_EQ(samples[start + i], float(once[i]) * 3.0518509447574615e-5f) << i;
            EXPECT_EQ(RenderedValueOf(samples[start + i]), once[i]) << i;
        }
        from = start + once.size();
    }
    EXPECT_EQ(FirstSound(samples, from), samples.size()) << "nothing after the second play";
}

TEST_F(PlaybackToEnd, ASlicePlaysAloneAsOftenAsAsked) {
    auto document = NSQuilletTest::MakeDemoLoopDocument(2, Output());
    SEffectParameters effects = document->GetEffectParameters();
    effects.fEqualizer.fOn = 0;
    document->PerformEffectParametersChange(effects, "Toggle Equalizer On/Off");
    SPlaybackRun run;
    run.fRepeat = 2;
    run.fSlice = 2;
    ASSERT_EQ(ChoosePlaybackKind(*document, run), EPlaybackKind::kSlice);
    CPollingProgress progress;
    OpenOutput();
    NSQuillet::PlayToEnd(*document, fManager, fPlayer, run, &progress);
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_EQ(progress.fLast, 500) << "the second of two plays";
    EXPECT_EQ(document->GetPlayPosition(), document->GetSliceSequence().GetSlices()[2].GetPosition());

    // The slice as a copy of the sequencer plays it from its start until it falls silent.
    CQuilletSequencer copy(document->GetSequencer());
    copy.ResetPlayback();
    copy.PlaySliceAt(document->GetSliceSequence().GetSlices()[2].GetPosition());
    std::vector<float> slice;
    std::vector<float> left(256), right(256);
    do {
        copy.Render(left.data(), right.data(), 256);
        for (size_t i = 0; i < 256; ++i) {
            slice.push_back(left[i]);
            slice.push_back(right[i]);
        }
    } while (copy.IsPlaying());

    // Twice that sound, silence around and between.
    const std::vector<float> samples = Recorded().fSamples;
    size_t from = 0;
    for (int play = 0; play < 2; ++play) {
        SCOPED_TRACE(play);
        const size_t start = FirstSound(samples, from) - FirstSound(slice);
        ASSERT_GE(samples.size(), start + slice.size());
        EXPECT_EQ(std::vector<float>(samples.begin() + std::ptrdiff_t(start),
                                     samples.begin() + std::ptrdiff_t(start + slice.size())),
                  slice);
        from = start + slice.size();
    }
    EXPECT_EQ(FirstSound(samples, from), samples.size());
}

TEST_F(PlaybackToEnd, StopEndsThePlaybackWithTheAbort) {
    auto document = NSQuilletTest::MakeDemoLoopDocument(2, Output());
    CPollingProgress progress(3);
    SPlaybackRun run;
    run.fRepeat = 1000;
    OpenOutput();
    try {
        NSQuillet::PlayToEnd(*document, fManager, fPlayer, run, &progress);
        FAIL() << "played to the end";
    } catch (const NSMishap::XAbort& stop) {
        EXPECT_STREQ(stop.what(), "user pressed stop");
    }
    EXPECT_EQ(progress.fPolls, 3);
    EXPECT_FALSE(document->IsPlaying());
    EXPECT_FALSE(fPlayer.IsPlaying());
    EXPECT_EQ(document->GetSequencer().GetTransport(), CQuilletSequencer::kStopped);
}

TEST_F(PlaybackToEnd, RefusesWhatItCannotPlay) {
    auto document = NSQuilletTest::MakeDemoLoopDocument(2, Output());
    SPlaybackRun never;
    never.fRepeat = 0;
    EXPECT_THROW(NSQuillet::PlayToEnd(*document, fManager, fPlayer, never, nullptr), NSMishap::XStdInvalidArgument);
    SPlaybackRun beyond;
    beyond.fSlice = document->GetSliceSequence().GetSliceCount();
    EXPECT_THROW(NSQuillet::PlayToEnd(*document, fManager, fPlayer, beyond, nullptr), NSMishap::XStdInvalidArgument);
    // No device is open.
    EXPECT_THROW(NSQuillet::PlayToEnd(*document, fManager, fPlayer, {}, nullptr), NSMishap::XIllegalCallSequence);
    EXPECT_FALSE(fPlayer.IsPlaying());
}

TEST(PlaybackToEndOnACard, ADriverThatStopsWorkingEndsThePlaybackWithItsAlert) {
    // A card whose stream never calls back: only its death ends the playback.
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CWavePlayer player(manager);
    manager.GetRenderer().SetSource(&player);
    manager.ChooseDevice("ALSA", "Server");
    SDocumentSettings settings;
    settings.fAudioCardManager = &manager;
    settings.fWavePlayer = &player;
    auto sample = std::make_unique<C16BitWaveSample>(44100, 44100, false);
    CQuilletDocument document(std::move(sample), false, settings);
    CPollingProgress progress;
    progress.fOnPoll = [&](int polls) { kit.fStreamDied = polls >= 2; };
    try {
        NSQuillet::PlayToEnd(document, manager, player, {}, &progress);
        FAIL() << "played to the end";
    } catch (const std::exception& failure) {
        EXPECT_EQ(GetAudioOutputProblem(failure), EAudioOutputProblem::kDriverStopped);
        const auto alert = ChooseFailureAlert(failure);
        ASSERT_TRUE(alert.has_value());
        EXPECT_EQ(alert->GetAlert().fHeading, "Your audio driver has stopped working.");
    }
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(manager.IsOutputWorking());
}

}  // namespace
