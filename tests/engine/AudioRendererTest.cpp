#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/AudioRenderer.h"
#include "foundation/Mishap.h"

using namespace NSQuillet;

namespace {

// Piece p, frame i: left p × 1000 + i, right −(p × 1000 + i).
class CCountingSource final : public IAudioSource {
public:
    void Render(float* left, float* right, int32_t count) override {
        fCounts.push_back(count);
        for (int32_t i = 0; i < count; ++i) {
            left[i] = float(fPieces * 1000 + i);
            right[i] = -left[i];
        }
        ++fPieces;
        while (fBlock.load()) std::this_thread::yield();
    }
    void StopPlayback() override { ++fStops; }

    std::atomic<int32_t> fPieces{0};
    std::vector<int32_t> fCounts;
    int32_t fStops = 0;
    std::atomic<bool> fBlock{false};
};

struct SDevice {
    std::vector<std::vector<float>> fBuffers;
    std::vector<float*> fPointers;

    // `active[c]` false: channel c reaches the renderer as null.
    SDevice(int32_t frames, std::vector<bool> active) {
        for (bool on : active) {
            fBuffers.emplace_back(size_t(frames), 12345.0f);
            fPointers.push_back(on ? fBuffers.back().data() : nullptr);
        }
    }
    void Call(CAudioRenderer& renderer, int32_t frames) {
        renderer.Render(frames, fPointers.data(), int32_t(fPointers.size()));
    }
};

}  // namespace

TEST(AudioRenderer, SplitsA256FramePieceAcrossSmallerCallbacks) {
    CCountingSource source;
    CAudioRenderer renderer(nullptr);
    renderer.SetSource(&source);
    renderer.SetEnabled(true);
    SDevice device(100, {true, true});
    device.Call(renderer, 100);
    for (int32_t i = 0; i < 100; ++i) ASSERT_EQ(device.fBuffers[0][size_t(i)], float(i));
    device.Call(renderer, 100);
    for (int32_t i = 0; i < 100; ++i) ASSERT_EQ(device.fBuffers[0][size_t(i)], float(100 + i)) << i;
    // Frames 200..255 of piece 0, then 0..43 of piece 1.
    device.Call(renderer, 100);
    EXPECT_EQ(device.fBuffers[0][55], 255.0f);
    EXPECT_EQ(device.fBuffers[0][56], 1000.0f);
    EXPECT_EQ(device.fBuffers[1][99], -1043.0f);
    EXPECT_EQ(source.fCounts, (std::vector<int32_t>{256, 256}));
    // A callback larger than a piece takes several.
    SDevice large(600, {true, true});
    large.Call(renderer, 600);
    EXPECT_EQ(large.fBuffers[0][0], 1044.0f);
    EXPECT_EQ(large.fBuffers[0][211], 1255.0f);
    EXPECT_EQ(large.fBuffers[0][212], 2000.0f);
    EXPECT_EQ(large.fBuffers[0][599], 3131.0f);
    EXPECT_EQ(source.fCounts, (std::vector<int32_t>{256, 256, 256, 256}));
}

TEST(AudioRenderer, PutsLeftOnEvenAndRightOnOddChannelsAndSkipsNullBuffers) {
    struct SCase {
        std::vector<bool> fActive;
        std::vector<int> fExpected;  // +1 left, −1 right, 0 untouched
    };
    const SCase cases[] = {
        {{true}, {+1}},
        {{true, true}, {+1, -1}},
        {{true, true, true, true}, {+1, -1, +1, -1}},
        {{false, true, true}, {0, -1, +1}},
        {{true, false, false, true}, {+1, 0, 0, -1}},
    };
    for (const SCase& c : cases) {
        CCountingSource source;
        CAudioRenderer renderer(nullptr);
        renderer.SetSource(&source);
        renderer.SetEnabled(true);
        SDevice device(8, c.fActive);
        device.Call(renderer, 8);
        for (size_t channel = 0; channel < c.fActive.size(); ++channel) {
            const float expected = c.fExpected[channel] == 0 ? 12345.0f : float(c.fExpected[channel] * 7);
            EXPECT_EQ(device.fBuffers[channel][7], expected) << c.fActive.size() << " channels, channel " << channel;
        }
    }
}

TEST(AudioRenderer, IsSilentWhileDisabledOrPausedAndPausesNest) {
    CCountingSource source;
    CAudioRenderer renderer(nullptr);
    renderer.SetSource(&source);
    SDevice device(64, {true, true});
    device.Call(renderer, 64);
    EXPECT_EQ(device.fBuffers[0][63], 0.0f);
    EXPECT_EQ(source.fPieces, 0) << "a disabled renderer never asks the source";
    renderer.SetEnabled(true);

    renderer.Pause();
    renderer.Pause();
    EXPECT_EQ(source.fStops, 1) << "only the first pause stops the playback";
    EXPECT_EQ(renderer.GetPauseCount(), 2);
    std::thread([&] { device.Call(renderer, 64); }).join();
    EXPECT_EQ(device.fBuffers[1][0], 0.0f);
    EXPECT_EQ(source.fPieces, 0);
    renderer.Resume();
    std::thread([&] { device.Call(renderer, 64); }).join();
    EXPECT_EQ(source.fPieces, 0) << "still paused once";
    renderer.Resume();
    std::thread([&] { device.Call(renderer, 64); }).join();
    EXPECT_EQ(source.fPieces, 1);
    EXPECT_EQ(device.fBuffers[0][63], 63.0f);
    EXPECT_EQ(renderer.GetSilencedCallbackCount(), 3u);
}

TEST(AudioRenderer, PauseThatCannotHaveTheMutexIn2000MillisecondsFailsWithNoMutex) {
    CCountingSource source;
    CAudioRenderer renderer(nullptr);
    renderer.SetSource(&source);
    renderer.SetEnabled(true);
    source.fBlock = true;
    SDevice device(64, {true, true});
    std::thread audio([&] { device.Call(renderer, 64); });
    while (source.fPieces == 0) std::this_thread::yield();
    const auto started = std::chrono::steady_clock::now();
    try {
        renderer.Pause();
        ADD_FAILURE() << "paused while the audio thread holds the mutex";
    } catch (const NSMishap::XStdRuntimeError& failure) {
        EXPECT_STREQ(failure.what(), "no mutex");
    }
    const auto waited = std::chrono::steady_clock::now() - started;
    source.fBlock = false;
    audio.join();
    EXPECT_GE(waited, std::chrono::milliseconds(1900));
    EXPECT_LT(waited, std::chrono::milliseconds(4000));
    EXPECT_EQ(renderer.GetPauseCount(), 0);
    renderer.Pause();
    EXPECT_EQ(renderer.GetPauseCount(), 1);
    renderer.Resume();
}
