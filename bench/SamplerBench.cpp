#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/QuilletSampler.h"

namespace {

using namespace NSQuillet;

constexpr int32_t kFrames = 441000;

// Ten seconds of a decaying 110 Hz stereo tone restarted every quarter second, at 48 kHz.
const C16BitWaveSample& GetSamplerSource() {
    static std::unique_ptr<C16BitWaveSample> sample;
    if (sample) return *sample;
    sample = std::make_unique<C16BitWaveSample>(48000, kFrames, true);
    std::vector<float> left(static_cast<size_t>(kFrames));
    std::vector<float> right(static_cast<size_t>(kFrames));
    for (int32_t i = 0; i < kFrames; ++i) {
        const double beat = double(i % 12000) / 12000.0;
        const double tone = std::sin(2.0 * 3.14159265358979323846 * 110.0 * i / 48000.0);
        left[size_t(i)] = float(0.9 * std::exp(-4.0 * beat) * tone);
        right[size_t(i)] = float(0.8 * std::exp(-3.0 * beat) * tone);
    }
    sample->SetFloats(0, kFrames, left.data(), 1);
    sample->SetFloats(0, kFrames, right.data(), 2);
    return *sample;
}

void Configure(CQuilletSampler& sampler) {
    sampler.SetPitch(300);
    sampler.SetAttack(21);
    sampler.SetDecay(700);
    sampler.SetStretch(400);
    sampler.SetShaperOn(true);
}

// Slices of 12000 frames whose stretch begins within the first block.
SPlayListEntry Slice(int32_t index) {
    const int32_t start = (index * 12000) % (kFrames - 12000);
    return {start, start + 12000, start + 8, start + 40, 0.6f};
}

// Every block starts eight voices, so all eight render it: seven dying away, one new, each
// stretching, enveloped and shaped, at a fractional step (300 cents, 48 kHz to 44.1 kHz).
void RenderBlockEightVoices(benchmark::State& state) {
    CQuilletSampler sampler(&GetSamplerSource(), 44100);
    Configure(sampler);
    float left[64], right[64];
    int32_t next = 0;
    for (auto _ : state) {
        for (int32_t v = 0; v < CQuilletSampler::kVoiceCount; ++v) sampler.StartSliceVoice(Slice(next++));
        sampler.RenderBlock(left, right);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
    }
    state.SetItemsProcessed(state.iterations() * 64);
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * 64, benchmark::Counter::kIsRate);
}
BENCHMARK(RenderBlockEightVoices);

// One voice stretching back and forth for the length of a long gap.
void RenderBlockOneStretchingVoice(benchmark::State& state) {
    CQuilletSampler sampler(&GetSamplerSource(), 44100);
    Configure(sampler);
    sampler.SetDecay(1023);
    sampler.SetStretch(32767);
    float left[64], right[64];
    int32_t next = 0;
    int32_t blocks = 0;
    for (auto _ : state) {
        if (blocks++ % 2000 == 0) sampler.StartSliceVoice(Slice(next++));
        sampler.RenderBlock(left, right);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
    }
    state.SetItemsProcessed(state.iterations() * 64);
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * 64, benchmark::Counter::kIsRate);
}
BENCHMARK(RenderBlockOneStretchingVoice);

}  // namespace
