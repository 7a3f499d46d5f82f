#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"

using namespace NSQuillet;

namespace {

class CFakeOutput final : public IAudioOutputState {
public:
    uint32_t GetOutputRate() const override { return fRate; }
    bool IsOutputRunning() const override { return fRunning; }
    bool IsOutputWorking() const override { return fWorking; }

    uint32_t fRate = 44100;
    bool fRunning = false;
    bool fWorking = true;
};

class CRecordingListener final : public IWavePlayerListener {
public:
    explicit CRecordingListener(std::string* log, const char* name) : fLog(log), fName(name) {}
    void WavePlayerStarted() override { *fLog += std::string(fName) + " started;"; }
    void WavePlayerStopped() override { *fLog += std::string(fName) + " stopped;"; }

private:
    std::string* fLog;
    const char* fName;
};

std::unique_ptr<C16BitWaveSample> MakeSample(uint32_t rate, const std::vector<int16_t>& left,
                                             const std::vector<int16_t>& right = {}) {
    auto sample = std::make_unique<C16BitWaveSample>(rate, int32_t(left.size()), !right.empty());
    sample->Set16s(0, int32_t(left.size()), left.data(), 1);
    if (!right.empty()) sample->Set16s(0, int32_t(right.size()), right.data(), 2);
    return sample;
}

constexpr float kScale = 3.0518509447574615e-5f;

std::vector<float> Values(const std::vector<int32_t>& sixteenBit) {
    std::vector<float> values;
    for (int32_t v : sixteenBit) values.push_back(std::max(-1.0f, float(v) * kScale));
    return values;
}

// A square wave at 30000 of 32767, previewed as one bar at `gain` thousandths.
struct SLoudSequencer {
    std::unique_ptr<C16BitWaveSample> fSample;
    CSliceSequence fSlices;
    CQuilletSequencer fSequencer;

    explicit SLoudSequencer(int16_t gain)
        : fSample(MakeSquare()), fSlices(fSample.get()), fSequencer(fSample.get(), &fSlices, 44100) {
        fSequencer.SetBars(1);
        fSequencer.SetPreviewOn(true);
        fSequencer.SetGain(gain);
    }
    static std::unique_ptr<C16BitWaveSample> MakeSquare() {
        std::vector<int16_t> values(44100);
        for (size_t i = 0; i < values.size(); ++i) values[i] = (i / 50) % 2 ? 30000 : -30000;
        return MakeSample(44100, values, values);
    }
};

}  // namespace

TEST(WavePlayer, PlaysA22050HzSampleOnA44100HzDeviceHalfwayBetweenFrames) {
    CFakeOutput output;
    CWavePlayer player(output);
    auto sample = MakeSample(22050, {1000, 3000, -2000, 7});
    ASSERT_TRUE(player.PlaySample(sample.get(), nullptr));
    // (22050 × 32768) / 44100 = 16384: no whole frame, half a frame of fraction.
    EXPECT_EQ(player.GetStep().fFrame, 0u);
    EXPECT_EQ(player.GetStep().fFraction, 16384u);
    std::vector<float> left(12, 9.0f), right(12, 9.0f);
    player.Render(left.data(), right.data(), 12);
    // s0 + ((s1 − s0) × 16384) / 32768, truncated toward zero; the frame after the last is 0:
    // 3000 + (−5000 × 16384) / 32768 = 500; −2000 + (2007 × 16384) / 32768 = −2000 + 1003;
    // 7 + (−7 × 16384) / 32768 = 7 − 3.
    std::vector<float> expected = Values({1000, 2000, 3000, 500, -2000, -997, 7, 4, 0, 0, 0, 0});
    EXPECT_EQ(left, expected);
    EXPECT_EQ(right, expected) << "a mono sample serves both outputs";
    EXPECT_EQ(player.GetMode(), CWavePlayer::kFinished);
}

TEST(WavePlayer, StepsByTheRateRatioIn15BitFractions) {
    struct SCase {
        uint32_t fSampleRate;
        uint32_t fOutputRate;
        uint32_t fFrame;
        uint32_t fFraction;
    };
    const SCase cases[] = {
        {44100, 44100, 1, 0},
        {22050, 44100, 0, 16384},
        // (48000 × 32768) / 44100 = 35665.8…, truncated: 35665 = 32768 + 2897.
        {48000, 44100, 1, 2897},
        // 192000 × 32768 = 6291456000 exceeds 32 bits: (…) / 48000 = 131072 = 4 frames exactly.
        {192000, 48000, 4, 0},
        // Rates are clamped to 11025..1000000 first: 1000000 × 32768 / 11025 = 2972154.1… = 90 × 32768 + 23034.
        {2000000, 8000, 90, 23034},
    };
    for (const SCase& c : cases) {
        CFakeOutput output;
        output.fRate = c.fOutputRate;
        CWavePlayer player(output);
        auto sample = MakeSample(c.fSampleRate, {1, 2, 3});
        ASSERT_TRUE(player.PlaySample(sample.get(), nullptr));
        EXPECT_EQ(player.GetStep().fFrame, c.fFrame) << c.fSampleRate << " on " << c.fOutputRate;
        EXPECT_EQ(player.GetStep().fFraction, c.fFraction) << c.fSampleRate << " on " << c.fOutputRate;
    }
}

TEST(WavePlayer, PlaysStereoStraightAndClampsTheLowestValue) {
    CFakeOutput output;
    CWavePlayer player(output);
    auto sample = MakeSample(44100, {-32768, 32767, 5}, {100, -100, -32768});
    ASSERT_TRUE(player.PlaySample(sample.get(), nullptr));
    std::vector<float> left(4), right(4);
    player.Render(left.data(), right.data(), 4);
    // −32768 / 32767 lies below −1.0 and is clamped.
    EXPECT_EQ(left, (std::vector<float>{-1.0f, 1.0f, 5 * kScale, 0.0f}));
    EXPECT_EQ(right, (std::vector<float>{100 * kScale, -100 * kScale, -1.0f, 0.0f}));
}

TEST(WavePlayer, ClampsASequencerBeyondFullScaleAndReportsItToTheLevelMeter) {
    CFakeOutput output;
    CWavePlayer player(output);
    SLoudSequencer loud(4000);
    loud.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, nullptr));
    std::vector<float> left(256), right(256);
    float largest = 0.0f;
    for (int piece = 0; piece < 20; ++piece) {
        player.Render(left.data(), right.data(), 256);
        for (int32_t i = 0; i < 256; ++i) {
            ASSERT_LE(std::fabs(left[size_t(i)]), 1.0f);
            largest = std::max(largest, std::fabs(left[size_t(i)]));
        }
    }
    EXPECT_EQ(largest, 1.0f);
    const CLevelMeter::SReading reading = loud.fSequencer.GetLevelMeter().Take();
    EXPECT_TRUE(reading.fClipped);
    EXPECT_EQ(reading.fLeftPeak, 1.0f);
    EXPECT_EQ(reading.fRightPeak, 1.0f);

    // At a tenth of the gain nothing clips, and the peak is the largest value played.
    SLoudSequencer quiet(100);
    quiet.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&quiet.fSequencer, nullptr));
    largest = 0.0f;
    for (int piece = 0; piece < 20; ++piece) {
        player.Render(left.data(), right.data(), 256);
        for (float value : left) largest = std::max(largest, std::fabs(value));
    }
    const CLevelMeter::SReading quietReading = quiet.fSequencer.GetLevelMeter().Take();
    EXPECT_FALSE(quietReading.fClipped);
    EXPECT_EQ(quietReading.fLeftPeak, largest);
    EXPECT_GT(largest, 0.05f);
    EXPECT_LT(largest, 1.0f);
    player.Stop();
}

TEST(WavePlayer, TellsListenersAndOnlyExchangesThemForTheSequencerAlreadyPlaying) {
    CFakeOutput output;
    CWavePlayer player(output);
    std::string log;
    CRecordingListener first(&log, "first"), second(&log, "second");
    SLoudSequencer loud(1000);
    loud.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, &first));
    std::vector<float> left(256), right(256);
    player.Render(left.data(), right.data(), 256);
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, &second));
    EXPECT_EQ(log, "first started;first stopped;second started;");
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kPlayingLoop) << "the sequencer plays on";
    EXPECT_EQ(player.GetMode(), CWavePlayer::kPlayingSequencer);

    // The output does not run: Stop cannot wait for the audio thread and resets at once.
    const auto started = std::chrono::steady_clock::now();
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_EQ(log, "first started;first stopped;second started;second stopped;");
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetMode(), CWavePlayer::kStopped);
}

TEST(WavePlayer, IdleStopsAFinishedSampleAndASequencerThatWentQuiet) {
    CFakeOutput output;
    CWavePlayer player(output);
    std::string log;
    CRecordingListener listener(&log, "l");
    auto sample = MakeSample(44100, {1, 2, 3});
    ASSERT_TRUE(player.PlaySample(sample.get(), &listener));
    player.Idle();
    EXPECT_TRUE(player.IsPlaying()) << "not finished yet";
    std::vector<float> left(256), right(256);
    player.Render(left.data(), right.data(), 256);
    player.Idle();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(log, "l started;l stopped;");

    // One slice played to its end: the transport returns to stopped, so does the player.
    SLoudSequencer loud(1000);
    loud.fSequencer.PlaySliceAt(0);
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, &listener));
    for (int piece = 0; piece < 400 && loud.fSequencer.IsPlaying(); ++piece) player.Render(left.data(), right.data(), 256);
    ASSERT_FALSE(loud.fSequencer.IsPlaying());
    player.Idle();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(log, "l started;l stopped;l started;l stopped;");
}

TEST(WavePlayer, PlaysNothingWhileTheOutputHasFailed) {
    CFakeOutput output;
    output.fWorking = false;
    CWavePlayer player(output);
    auto sample = MakeSample(44100, {1, 2, 3});
    SLoudSequencer loud(1000);
    EXPECT_FALSE(player.PlaySample(sample.get(), nullptr));
    EXPECT_FALSE(player.PlaySequencer(&loud.fSequencer, nullptr));
    EXPECT_FALSE(player.IsPlaying());
    std::vector<float> left(256, 1.0f), right(256, 1.0f);
    player.Render(left.data(), right.data(), 256);
    EXPECT_EQ(left, std::vector<float>(256, 0.0f));
}

TEST(WavePlayer, ALimitedSequencerPlaysExactlyItsFramesThenSilenceAndEndsAtOnce) {
    // 1000 frames over 256-frame pieces: three whole pieces, 232 frames of the fourth.
    SLoudSequencer reference(300);
    reference.fSequencer.PlayLoop();
    std::vector<float> expectedLeft(1000), expectedRight(1000);
    reference.fSequencer.Render(expectedLeft.data(), expectedRight.data(), 1000);

    CFakeOutput output;
    output.fRunning = true;  // a stop would wait for an audio thread, which this test does not run
    CWavePlayer player(output);
    std::string log;
    CRecordingListener listener(&log, "l");
    SLoudSequencer loud(300);
    loud.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, &listener, 1000));
    std::vector<float> left(5 * 256), right(5 * 256);
    for (int piece = 0; piece < 5; ++piece) {
        EXPECT_EQ(player.GetMode(), piece < 4 ? CWavePlayer::kPlayingSequencer : CWavePlayer::kFinished) << piece;
        player.Render(left.data() + piece * 256, right.data() + piece * 256, 256);
    }
    EXPECT_EQ(std::vector<float>(left.begin(), left.begin() + 1000), expectedLeft);
    EXPECT_EQ(std::vector<float>(right.begin(), right.begin() + 1000), expectedRight);
    EXPECT_EQ(std::vector<float>(left.begin() + 1000, left.end()), std::vector<float>(280, 0.0f));
    EXPECT_EQ(player.GetPlayedFrames(), 1000);
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kPlayingLoop) << "cut, not stopped";

    const auto started = std::chrono::steady_clock::now();
    player.Idle();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000)) << "no wait for the audio thread";
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_EQ(log, "l started;l stopped;");

    // Played again, the sequencer starts afresh: no frames left over from the cut piece.
    loud.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, nullptr, 1000));
    player.Render(left.data(), right.data(), 256);
    EXPECT_EQ(std::vector<float>(left.begin(), left.begin() + 256),
              std::vector<float>(expectedLeft.begin(), expectedLeft.begin() + 256));
    player.Stop();
}

TEST(WavePlayer, ALimitedPlaybackStoppedEarlyEndsAtOnce) {
    CFakeOutput output;
    output.fRunning = true;
    CWavePlayer player(output);
    SLoudSequencer loud(300);
    loud.fSequencer.PlayLoop();
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, nullptr, 100000));
    std::vector<float> left(256), right(256);
    player.Render(left.data(), right.data(), 256);
    const auto started = std::chrono::steady_clock::now();
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(player.IsPlaying());
}

TEST(WavePlayer, PollingNeverTakesTheLocksTheAudioThreadTries) {
    // Another thread holds the sequencer's state lock (a user-interface change in progress):
    // the player's and the sequencer's state are still read, and a piece still renders.
    CFakeOutput output;
    CWavePlayer player(output);
    SLoudSequencer loud(300);
    loud.fSequencer.PlaySliceAt(0);
    ASSERT_TRUE(player.PlaySequencer(&loud.fSequencer, nullptr));
    std::vector<float> left(256), right(256);
    player.Render(left.data(), right.data(), 256);
    std::atomic<bool> holding{false}, release{false};
    std::thread holder([&] {
        loud.fSequencer.ChangeSampler([&](CQuilletSampler&) {
            holding = true;
            // Let go after 2 s in any case, so that a poll that waits shows as slow, not as a hang.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            while (!release && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
        });
    });
    while (!holding) std::this_thread::yield();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(loud.fSequencer.IsPlaying());
    EXPECT_EQ(loud.fSequencer.GetTransport(), CQuilletSequencer::kPlayingSlice);
    bool sounding = false;
    EXPECT_EQ(loud.fSequencer.GetShownPosition(&sounding), 0);
    EXPECT_TRUE(sounding);
    player.Idle();
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetMode(), CWavePlayer::kPlayingSequencer);
    EXPECT_EQ(player.GetPlayedFrames(), 256);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
    release = true;
    holder.join();
    player.Stop();
}
