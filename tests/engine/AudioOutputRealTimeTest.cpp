#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <thread>

#include "engine/AudioCardManager.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tests/engine/AllocationFaults.h"
#include "tests/engine/WatchingSource.h"
#include "tests/support/DemoLoopPreview.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSTools::SDemoLoop;

namespace {

// The document's part: a new output rate rebuilds the sequencer's rate.
class CRateFollower final : public IAudioCardManagerListener {
public:
    explicit CRateFollower(CQuilletSequencer& sequencer) : fSequencer(sequencer) {}
    void AudioCardChanged(CAudioCardManager& manager) override { fSequencer.SetOutputRate(manager.GetOutputRate()); }

private:
    CQuilletSequencer& fSequencer;
};

void WaitForCallbacks(const CAudioCardManager& manager, uint64_t count) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (manager.GetStatistics().fCallbacks < count && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

}  // namespace

TEST(AudioOutputRealTime, TheNullOutputThreadNeverAllocatesOverTenThousandCallbacks) {
    NSQuilletTest::CTemporaryFolder folder;
    NSQuilletTest::SDemoLoopPreview preview(44100);
    CAudioCardManager manager;
    CWavePlayer player(manager);
    NSQuilletTest::CWatchingSource source(player);
    manager.GetRenderer().SetSource(&source);
    NSSoundPortKit2::SNullOutputOptions options;
    options.fFreeRunning = true;
    options.fRandomSizeSeed = 29;
    options.fRecordPath = folder.PathOf("played.wav");
    manager.ChooseNullOutput(options, NSQuilletTest::DriverSettings(44100, 1024));
    preview.fSequencer->PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(preview.fSequencer.get(), nullptr));
    const uint64_t first = manager.GetStatistics().fCallbacks;
    WaitForCallbacks(manager, first + 10000);
    const size_t allocations = NSQuilletTest::GetWatchedThreadAllocationCount();
    const CLevelMeter::SReading level = preview.fSequencer->GetLevelMeter().Take();
    const NSSoundPortKit2::SDriverStatistics statistics = manager.GetStatistics();
    player.Stop();
    manager.CloseOutput();
    EXPECT_GE(statistics.fCallbacks, first + 10000);
    EXPECT_LT(statistics.fFrames, statistics.fCallbacks * 1024) << "callbacks of random sizes";
    EXPECT_EQ(allocations, 0u);
    EXPECT_GT(level.fLeftPeak, 0.05f) << "the loop really played";
    EXPECT_EQ(statistics.fRecordingDroppedFrames, 0u);
}

TEST(AudioOutputRealTime, CallbackRunsAgainstPlayStopSettingsARateChangeAndADeviceSwitch) {
    NSQuilletTest::SDemoLoopPreview preview(44100);
    CAudioCardManager manager;
    CWavePlayer player(manager);
    manager.GetRenderer().SetSource(&player);
    CRateFollower follower(*preview.fSequencer);
    manager.AddListener(&follower);
    NSSoundPortKit2::SNullOutputOptions options;
    options.fFreeRunning = true;
    options.fRandomSizeSeed = 3;
    manager.ChooseNullOutput(options, NSQuilletTest::DriverSettings(44100, 300));

    std::mt19937 random(7);
    float largest = 0.0f;
    bool finite = true;
    for (int step = 0; step < 240; ++step) {
        CQuilletSequencer& sequencer = *preview.fSequencer;
        switch (step % 6) {
            case 0:
                sequencer.PlayLoop();
                player.PlaySequencer(&sequencer, nullptr);
                break;
            case 1: sequencer.SetPreviewTempo(60000 + int32_t(random() % 300000)); break;
            case 2: sequencer.SetPitch(int16_t(int32_t(random() % 2400) - 1200)); break;
            case 3: sequencer.ChangeEqualizer([&](CEqualizerEffect& eq) { eq.SetLowGain(int16_t(random() % 12000) - 6000); }); break;
            case 4: sequencer.PlaySliceAt(int32_t(random() % SDemoLoop::kFrameCount)); break;
            case 5:
                if (step % 30 == 5) player.Stop();
                break;
        }
        if (step == 80) manager.SetSampleRate(48000);
        if (step == 120) manager.ChooseNullOutput(options, NSQuilletTest::DriverSettings(48000, 128));
        if (step == 160) manager.ApplicationDeactivated();
        if (step == 170) manager.ApplicationActivated();
        if (step == 200) manager.SetSampleRate(44100);
        const CLevelMeter::SReading level = sequencer.GetLevelMeter().Take();
        finite = finite && std::isfinite(level.fLeftPeak) && std::isfinite(level.fRightPeak);
        largest = std::max(largest, level.fLeftPeak);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    player.Stop();
    manager.CloseOutput();
    manager.RemoveListener(&follower);
    EXPECT_TRUE(finite);
    EXPECT_GT(largest, 0.0f);
    EXPECT_EQ(preview.fSequencer->GetOutputRate(), 44100u);
    EXPECT_EQ(preview.fSequencer->GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(player.IsPlaying());
}
