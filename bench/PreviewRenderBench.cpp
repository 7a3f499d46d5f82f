#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "tools/DemoLoop.h"

namespace {

using namespace NSQuillet;
using NSTools::SDemoLoop;

// The demo loop previewed at 140 BPM with envelope, stretch, shaper and equalizer on, rendered
// in device-sized buffers of 512 frames at 44.1 kHz.
void RenderPreview(benchmark::State& state) {
    auto sample = SDemoLoop::Render();
    CSliceSequence slices(sample.get());
    slices.Analyze(nullptr);
    slices.SetSensitivity(50);
    CQuilletSequencer sequencer(sample.get(), &slices, 44100);
    sequencer.SetBars(2);
    sequencer.SetPreviewOn(true);
    sequencer.SetPreviewTempo(140000);
    sequencer.ChangeSampler([](CQuilletSampler& sampler) {
        sampler.SetEnvelopeOn(true);
        sampler.SetStretch(80);
        sampler.SetShaperOn(true);
    });
    sequencer.ChangeEqualizer([](CEqualizerEffect& equalizer) {
        equalizer.SetOn(true);
        equalizer.SetLowGain(6000);
    });
    sequencer.PlayLoop();
    constexpr int32_t kBuffer = 512;
    std::vector<float> left(kBuffer), right(kBuffer);
    for (auto _ : state) {
        sequencer.Render(left.data(), right.data(), kBuffer);
        benchmark::DoNotOptimize(left.data());
    }
    const double frames = double(state.iterations()) * kBuffer;
    state.counters["frames_per_second"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    // Seconds of audio per second of one core.
    state.counters["times_real_time"] = benchmark::Counter(frames / 44100.0, benchmark::Counter::kIsRate);
}
BENCHMARK(RenderPreview);

}  // namespace
