#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "tests/engine/AllocationFaults.h"
#include "tests/support/DemoLoopPreview.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSTools::SDemoLoop;

namespace {

bool AllFinite(const std::vector<float>& values, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (!std::isfinite(values[size_t(i)])) return false;
    }
    return true;
}

}  // namespace

TEST(RealTimeRender, RenderingWhilePlayingNeverAllocates) {
    NSQuilletTest::SDemoLoopPreview preview(48000);
    CQuilletSequencer& sequencer = *preview.fSequencer;
    std::vector<float> left(1024), right(1024);
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> size(1, 1024);

    sequencer.PlayLoop();
    int64_t rendered = 0;
    double energy = 0.0;
    for (int round = 0; round < 4; ++round) {
        // Requests and settings come from the user-interface thread between audio callbacks;
        // only the audio thread's calls are counted.
        if (round == 1) sequencer.SetPreviewTempo(90000);
        if (round == 2) sequencer.PlaySliceAt(SDemoLoop::kFramesPerBeat * 3);
        if (round == 3) sequencer.PlayLoop();
        const size_t before = NSQuilletTest::GetThreadAllocationCount();
        for (int call = 0; call < 1500; ++call) {
            const int32_t count = size(random);
            sequencer.Render(left.data(), right.data(), count);
            ASSERT_TRUE(AllFinite(left, count) && AllFinite(right, count));
            for (int32_t i = 0; i < count; ++i) energy += double(left[size_t(i)]) * left[size_t(i)];
            rendered += count;
        }
        EXPECT_EQ(NSQuilletTest::GetThreadAllocationCount(), before) << "round " << round;
    }
    EXPECT_GT(rendered, 2 * 48000);
    // It really played: the loop is loud, not silence.
    EXPECT_GT(energy / double(rendered), 1e-4);
}

TEST(RealTimeRender, AudioThreadRunsAgainstUserInterfaceChanges) {
    NSQuilletTest::SDemoLoopPreview preview(48000);
    CQuilletSequencer& sequencer = *preview.fSequencer;
    std::atomic<bool> done{false};
    std::atomic<bool> finite{true};
    std::atomic<int64_t> rendered{0};
    std::thread audio([&] {
        std::vector<float> left(512), right(512);
        std::mt19937 random(5);
        std::uniform_int_distribution<int32_t> size(1, 512);
        while (!done) {
            const int32_t count = size(random);
            sequencer.Render(left.data(), right.data(), count);
            if (!AllFinite(left, count) || !AllFinite(right, count)) finite = false;
            rendered += count;
        }
    });

    // Each slice edit builds a new sequence and hands it over, as the document's changes do.
    std::vector<std::unique_ptr<CSliceSequence>> kept;
    std::mt19937 random(3);
    for (int step = 0; step < 300; ++step) {
        switch (step % 8) {
            case 0: sequencer.PlayLoop(); break;
            case 1: sequencer.SetPreviewTempo(60000 + int32_t(random() % 300000)); break;
            case 2: sequencer.SetPitch(int16_t(int32_t(random() % 2400) - 1200)); break;
            case 3: {
                auto slices = std::make_unique<CSliceSequence>(preview.fSlices);
                slices->SetSensitivity(int32_t(random() % 100));
                sequencer.SetSliceSequence(slices.get());
                kept.push_back(std::move(slices));
                break;
            }
            case 4: sequencer.PlaySliceAt(int32_t(random() % SDemoLoop::kFrameCount)); break;
            case 5: sequencer.SetBars(1 + int32_t(random() % 3)); break;
            case 6: sequencer.ChangeEqualizer([&](CEqualizerEffect& eq) { eq.SetOn(random() % 2 == 0); }); break;
            case 7:
                if (step % 40 == 7) sequencer.Stop();
                break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    sequencer.Stop();
    done = true;
    audio.join();
    sequencer.SetSliceSequence(&preview.fSlices);
    EXPECT_TRUE(finite);
    EXPECT_GT(rendered.load(), 0);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
}
