#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/AudioRenderer.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tools/DemoLoop.h"

namespace {

using namespace NSQuillet;
using NSTools::SDemoLoop;

class CRunningOutput final : public IAudioOutputState {
public:
    uint32_t GetOutputRate() const override { return 44100; }
    bool IsOutputRunning() const override { return true; }
    bool IsOutputWorking() const override { return true; }
};

// The whole output path as a 44.1 kHz device with 256-frame buffers drives it: the renderer's
// pieces, the wave player's clamping and meter, the sequencer's scheduling, the sampler's
// voices with envelope, stretch, pitch and shaper, and the equalizer. The demo loop plays at
// 300 BPM, so slices start often.
void RenderOutputPath(benchmark::State& state) {
    auto sample = SDemoLoop::Render();
    CSliceSequence slices(sample.get());
    slices.Analyze(nullptr);
    slices.SetSensitivity(80);
    CQuilletSequencer sequencer(sample.get(), &slices, 44100);
    sequencer.SetBars(2);
    sequencer.SetPreviewOn(true);
    sequencer.SetPreviewTempo(300000);
    sequencer.SetPitch(700);
    sequencer.ChangeSampler([](CQuilletSampler& sampler) {
        sampler.SetEnvelopeOn(true);
        sampler.SetDecay(800);
        sampler.SetStretch(150);
        sampler.SetShaperOn(true);
    });
    sequencer.ChangeEqualizer([](CEqualizerEffect& equalizer) {
        equalizer.SetOn(true);
        equalizer.SetLowGain(6000);
        equalizer.SetHighGain(-6000);
        equalizer.SetLowCut(60);
        equalizer.SetHighCut(12000);
    });
    CRunningOutput output;
    CWavePlayer player(output);
    CAudioRenderer renderer(nullptr);
    renderer.SetSource(&player);
    renderer.SetEnabled(true);
    sequencer.PlayLoop();
    player.PlaySequencer(&sequencer, nullptr);

    constexpr int32_t kBuffer = 256;
    std::vector<float> left(kBuffer), right(kBuffer);
    float* channels[2] = {left.data(), right.data()};
    int64_t sounding = 0;
    int64_t blocks = 0;
    for (auto _ : state) {
        renderer.Render(kBuffer, channels, 2);
        benchmark::DoNotOptimize(left.data());
        for (int32_t voice = 0; voice < CQuilletSampler::kVoiceCount; ++voice)
            sounding += sequencer.GetSampler().GetVoiceState(voice).fStage != CQuilletSampler::kIdle ? 1 : 0;
        ++blocks;
    }
    const double frames = double(state.iterations()) * kBuffer;
    state.counters["times_real_time"] = benchmark::Counter(frames / 44100.0, benchmark::Counter::kIsRate);
    // The share of one core the output takes at 44.1 kHz (0.01 is 1 %).
    state.counters["core_share"] =
        benchmark::Counter(frames / 44100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["voices_sounding"] = double(sounding) / double(blocks);
    player.Stop();
}
BENCHMARK(RenderOutputPath);

}  // namespace
