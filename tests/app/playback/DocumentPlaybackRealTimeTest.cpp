#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tests/engine/AllocationFaults.h"
#include "tests/engine/WatchingSource.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tools/DemoLoop.h"

namespace {

using namespace NSQuillet;
using NSTools::SDemoLoop;

// The demo loop as a document previews it through an audio output of the test's own, with
// every effect on.
class DocumentPlaybackRealTime : public ::testing::Test {
protected:
    DocumentPlaybackRealTime() : fPlayer(fManager) {}
    ~DocumentPlaybackRealTime() override {
        fDocument.reset();
        fManager.CloseOutput();
    }

    void MakeDocument() {
        std::unique_ptr<CABCWaveSample> sample = SDemoLoop::Render();
        auto slices = std::make_unique<CSliceSequence>(sample.get());
        slices->Analyze(nullptr);
        slices->SetSensitivity(50);
        SDocumentSettings settings;
        settings.fAudioCardManager = &fManager;
        settings.fWavePlayer = &fPlayer;
        fDocument = std::make_unique<CQuilletDocument>(std::move(sample), false, settings, 0, std::move(slices));
        SDocumentParameters parameters = fDocument->GetDocumentParameters();
        parameters.fLoop.SetBars(2);
        parameters.fLoop.SetPreviewOn(true);
        parameters.fPitch = -200;
        parameters.fEnvelope.fDecay = 700;
        parameters.fEnvelope.fStretch = 90;
        fDocument->PerformParametersChange(parameters, "Change Loop Length");
        SEffectParameters effects = fDocument->GetEffectParameters();
        effects.fTransientShaper.fOn = 1;
        effects.fEqualizer.fOn = 1;
        effects.fEqualizer.fLowGain = 6000;
        effects.fEqualizer.fHighGain = -9000;
        effects.fEqualizer.fLowCut = 60;
        effects.fEqualizer.fHighCut = 12000;
        fDocument->PerformEffectParametersChange(effects, "Select Equalizer Preset");
    }
    void WaitForCallbacks(uint64_t count) const {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (fManager.GetStatistics().fCallbacks < count && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    NSQuilletTest::CScopedEnvironmentVariable fNoForcedDevice{"QUILLET_AUDIO_DEVICE", std::nullopt};
    CAudioCardManager fManager;
    CWavePlayer fPlayer;
    std::unique_ptr<CQuilletDocument> fDocument;
};

TEST_F(DocumentPlaybackRealTime, TheCallbackNeverAllocatesOverTenThousandCallbacksOfRandomSizes) {
    NSQuilletTest::CWatchingSource source(fPlayer);
    fManager.GetRenderer().SetSource(&source);
    fManager.ChooseNullOutput(NSQuilletTest::FreeRunning(29), NSQuilletTest::DriverSettings(44100, 1024));
    MakeDocument();
    fDocument->PlayLoop();
    const uint64_t first = fManager.GetStatistics().fCallbacks;
    // The document's other playbacks on the way, each between callbacks of the device.
    for (int step = 1; step <= 4; ++step) {
        WaitForCallbacks(first + uint64_t(step) * 2000);
        switch (step) {
            case 1: fDocument->PlayCurrentSliceAndMoveToNext(); break;
            case 2: fDocument->PlayPreviousSlice(); break;
            case 3: fDocument->PlaySliceAt(60000); break;
            case 4: fDocument->PlayLoop(); break;
        }
    }
    WaitForCallbacks(first + 10000);
    const size_t allocations = NSQuilletTest::GetWatchedThreadAllocationCount();
    const CLevelMeter::SReading level = fDocument->TakeOutputLevel();
    const NSSoundPortKit2::SDriverStatistics statistics = fManager.GetStatistics();
    fDocument->StopOrRewind();
    fManager.CloseOutput();
    fManager.GetRenderer().SetSource(nullptr);
    EXPECT_GE(statistics.fCallbacks, first + 10000);
    EXPECT_LT(statistics.fFrames, statistics.fCallbacks * 1024) << "callbacks of random sizes";
    EXPECT_EQ(allocations, 0u);
    EXPECT_GT(level.fLeftPeak, 0.05f) << "the loop really played";
}

// Under ThreadSanitizer this is the race test of the document's playback: the device's thread
// renders while the user-interface thread plays, stops, locates, changes settings, the rate and
// the device.
TEST_F(DocumentPlaybackRealTime, TheCallbackRunsAgainstPlaybackLocatingSettingsARateChangeAndADeviceSwitch) {
    fManager.GetRenderer().SetSource(&fPlayer);
    fManager.ChooseNullOutput(NSQuilletTest::FreeRunning(3), NSQuilletTest::DriverSettings(44100, 300));
    MakeDocument();
    std::mt19937 random(11);
    bool finite = true;
    float largest = 0.0f;
    for (int step = 0; step < 300; ++step) {
        CQuilletDocument& document = *fDocument;
        switch (step % 10) {
            case 0: document.PlayLoop(); break;
            case 1: {
                SDocumentParameters parameters = document.GetDocumentParameters();
                parameters.fLoop.SetPreviewTempo(60000 + int32_t(random() % 300000));
                document.PerformParametersChange(parameters, "Change Preview Tempo");
                break;
            }
            case 2: {
                SEffectParameters effects = document.GetEffectParameters();
                effects.fEqualizer.fLowGain = int16_t(int32_t(random() % 12000) - 6000);
                effects.fProcessingGain = 500 + int32_t(random() % 1500);
                document.PerformEffectParametersChange(effects, "Change Equalizer Low Gain");
                break;
            }
            case 3: document.PlaySliceAt(int32_t(random() % SDemoLoop::kFrameCount)); break;
            case 4: document.PlayCurrentSliceAndMoveToNext(); break;
            case 5: {
                SDocumentParameters parameters = document.GetDocumentParameters();
                parameters.fLeftLocator = int32_t(random() % 20000);
                document.PerformParametersChange(parameters, "Move Left Locator");
                break;
            }
            case 6:
                if (step % 20 == 6) document.StopOrRewind();
                break;
            case 7:
                document.SetPlayPosition(int32_t(random() % SDemoLoop::kFrameCount));
                document.MoveToNextSlice();
                break;
            case 8: document.PlayPreviousSlice(); break;
            case 9: document.Undo(); break;
        }
        if (step == 100) fManager.SetSampleRate(48000);
        if (step == 150) fManager.ChooseNullOutput(NSQuilletTest::FreeRunning(5), NSQuilletTest::DriverSettings(48000, 128));
        if (step == 200) fManager.SetSampleRate(44100);
        fPlayer.Idle();
        bool sounding = false;
        const int32_t position = document.GetPlayPosition(&sounding);
        finite = finite && position >= 0 && position <= SDemoLoop::kFrameCount && document.GetCurrentSlice() >= -1;
        const CLevelMeter::SReading level = document.TakeOutputLevel();
        float smallest = 0.0f, highest = 0.0f;
        document.TakeShaperGains(smallest, highest);
        finite = finite && std::isfinite(level.fLeftPeak) && std::isfinite(smallest) && std::isfinite(highest);
        largest = std::max(largest, level.fLeftPeak);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    fDocument->StopOrRewind();
    EXPECT_TRUE(finite);
    EXPECT_GT(largest, 0.0f);
    EXPECT_EQ(fDocument->GetSequencer().GetOutputRate(), 44100u);
    EXPECT_EQ(fDocument->GetSequencer().GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(fPlayer.IsPlaying());
    fManager.CloseOutput();
    fManager.GetRenderer().SetSource(nullptr);
}

}  // namespace
