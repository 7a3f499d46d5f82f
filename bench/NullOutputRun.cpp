// Plays the demo loop's preview through the Null Output in real time at 64-frame buffers
// while another thread changes the sound's parameters 1000 times a second, then prints the
// callbacks that missed their deadline and the pieces played as silence because a lock was
// busy. Usage: quillet_null_output_bench [seconds, default 60]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "engine/AudioCardManager.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSTools::SDemoLoop;

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    auto sample = SDemoLoop::Render();
    CSliceSequence slices(sample.get());
    slices.Analyze(nullptr);
    slices.SetSensitivity(50);
    CQuilletSequencer sequencer(sample.get(), &slices, 44100);
    sequencer.SetBars(2);
    sequencer.SetPreviewOn(true);
    sequencer.ChangeSampler([](CQuilletSampler& sampler) { sampler.SetShaperOn(true); });
    sequencer.ChangeEqualizer([](CEqualizerEffect& equalizer) { equalizer.SetOn(true); });

    CAudioCardManager manager;
    CWavePlayer player(manager);
    manager.GetRenderer().SetSource(&player);
    NSSoundPortKit2::SDriverSettings settings;
    settings.fRate = 44100;
    settings.fBufferFrames = 64;
    manager.ChooseNullOutput({}, settings);
    sequencer.PlayLoop();
    player.PlaySequencer(&sequencer, nullptr);

    std::atomic<bool> done{false};
    std::atomic<int64_t> changes{0};
    std::thread changer([&] {
        auto next = std::chrono::steady_clock::now();
        for (int64_t i = 0; !done.load(); ++i) {
            switch (i % 4) {
                case 0: sequencer.SetPreviewTempo(int32_t(100000 + i % 100 * 1000)); break;
                case 1: sequencer.SetPitch(int16_t(i % 600 - 300)); break;
                case 2: sequencer.ChangeEqualizer([&](CEqualizerEffect& eq) { eq.SetLowGain(int16_t(i % 6000)); }); break;
                case 3: sequencer.ChangeSampler([&](CQuilletSampler& s) { s.SetShaperThreshold(int16_t(i % 200)); }); break;
            }
            ++changes;
            next += std::chrono::milliseconds(1);
            std::this_thread::sleep_until(next);
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    done = true;
    changer.join();
    const NSSoundPortKit2::SDriverStatistics statistics = manager.GetStatistics();
    const uint64_t silencedCallbacks = manager.GetRenderer().GetSilencedCallbackCount();
    const uint64_t silencedPieces = player.GetSilencedPieceCount();
    player.Stop();
    manager.CloseOutput();

    const double expected = double(seconds) * 44100.0 / 64.0;
    std::printf("Null Output, %d s at 44100 Hz, 64-frame buffers, %lld parameter changes (%.0f per second)\n", seconds,
                static_cast<long long>(changes.load()), double(changes.load()) / seconds);
    std::printf("callbacks: %llu (%.1f %% of %.0f due)\n", static_cast<unsigned long long>(statistics.fCallbacks),
                100.0 * double(statistics.fCallbacks) / expected, expected);
    std::printf("late callbacks (deadline missed): %llu\n", static_cast<unsigned long long>(statistics.fLateCallbacks));
    std::printf("underruns (callbacks silenced by a busy renderer): %llu\n", static_cast<unsigned long long>(silencedCallbacks));
    std::printf("underruns (pieces silenced by a busy wave player): %llu\n", static_cast<unsigned long long>(silencedPieces));
    return 0;
}
