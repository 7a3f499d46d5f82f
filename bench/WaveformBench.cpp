#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "ui/logic/waveform/WaveformPeakCache.h"

namespace {

using namespace NSQuillet;

// Ten minutes of stereo 16-bit audio at 44.1 kHz.
constexpr int32_t kFrames = 26460000;

const C16BitWaveSample& GetSample() {
    static const std::unique_ptr<C16BitWaveSample> sample = [] {
        auto made = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
        for (int32_t frame = 0; frame < kFrames; ++frame) {
            const int16_t value = int16_t((frame * 37) % 20000 - 10000);
            made->Set16(frame, value, 1);
            made->Set16(frame, int16_t(-value), 2);
        }
        return made;
    }();
    return *sample;
}

// The peer: reading every frame of both channels as float once, the least any cache costs.
void BM_ReadEveryFrameAsFloat(benchmark::State& state) {
    const C16BitWaveSample& sample = GetSample();
    std::vector<float> chunk(16384);
    for (auto _ : state) {
        float sum = 0.0f;
        for (int32_t channel = 1; channel <= 2; ++channel)
            for (int32_t start = 0; start < kFrames; start += 16384) {
                sample.GetFloats(start, 16384, chunk.data(), channel);
                sum += chunk[0];
            }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kFrames));
}
BENCHMARK(BM_ReadEveryFrameAsFloat)->Unit(benchmark::kMillisecond);

// Goal: at least 1 G frames per second, 30 ms for the ten-minute file.
void BM_PeakCacheBuild(benchmark::State& state) {
    const C16BitWaveSample& sample = GetSample();
    for (auto _ : state) {
        CWaveformPeakCache cache(sample);
        benchmark::DoNotOptimize(cache.GetPeak(1, 0, kFrames));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kFrames));
}
BENCHMARK(BM_PeakCacheBuild)->Unit(benchmark::kMillisecond);

// The peaks of 1600 columns at the whole-sample zoom and at one frame per pixel.
void BM_PeakCacheColumns(benchmark::State& state) {
    const C16BitWaveSample& sample = GetSample();
    const CWaveformPeakCache cache(sample);
    const int32_t columns = 1600;
    const double framesPerColumn = state.range(0) == 0 ? double(kFrames) / columns : 1.0;
    for (auto _ : state) {
        float low = 0.0f;
        for (int32_t channel = 1; channel <= 2; ++channel)
            for (int32_t x = 0; x < columns; ++x) {
                const SPeak peak = cache.GetPeak(channel, int32_t(x * framesPerColumn), int32_t((x + 1) * framesPerColumn));
                low += peak.fMin;
            }
        benchmark::DoNotOptimize(low);
    }
}
BENCHMARK(BM_PeakCacheColumns)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
