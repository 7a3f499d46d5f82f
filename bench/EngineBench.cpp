#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"

namespace {

using namespace NSQuillet;

// Ten minutes of stereo audio at 44.1 kHz.
constexpr int32_t kFrames = 26460000;
constexpr int32_t kSearchStarts = 512;
constexpr double kPi = 3.14159265358979323846;

enum ESignal { kDrumLoop, kLoudConstant };

// kDrumLoop: a 110 Hz tone under a decaying envelope restarted every quarter note at 120 BPM,
// crossing zero every few hundred frames. kLoudConstant: never quiet and never crossing zero,
// so every search walks the full 25000 frames each way.
template <class TSample>
TSample& GetSample(ESignal signal) {
    static std::unique_ptr<TSample> samples[2];
    auto& sample = samples[signal];
    if (sample) return *sample;
    sample = std::make_unique<TSample>(44100, kFrames, true);
    std::vector<float> left(1 << 16);
    std::vector<float> right(left.size());
    for (int32_t first = 0; first < kFrames; first += int32_t(left.size())) {
        const int32_t count = std::min<int32_t>(int32_t(left.size()), kFrames - first);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t frame = first + i;
            if (signal == kLoudConstant) {
                left[size_t(i)] = 0.6f;
                right[size_t(i)] = -0.6f;
            } else {
                const double beat = double(frame % 22050) / 22050.0;
                const double tone = std::sin(2.0 * kPi * 110.0 * frame / 44100.0);
                left[size_t(i)] = float(0.9 * std::exp(-4.0 * beat) * tone);
                right[size_t(i)] = float(0.8 * std::exp(-3.0 * beat) * tone);
            }
        }
        sample->SetFloats(first, count, left.data(), 1);
        sample->SetFloats(first, count, right.data(), 2);
    }
    return *sample;
}

template <class TSample>
void BuildPreview(benchmark::State& state) {
    TSample& sample = GetSample<TSample>(kDrumLoop);
    for (auto _ : state) {
        sample.BuildPreview();
        benchmark::DoNotOptimize(sample.GetPreview());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kFrames));
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

template <class TSample>
void FindZeroCrossing(benchmark::State& state, ESignal signal) {
    const TSample& sample = GetSample<TSample>(signal);
    int64_t walked = 0;
    int64_t searches = 0;
    for (auto _ : state) {
        for (int32_t k = 0; k < kSearchStarts; ++k) {
            const int32_t start = int32_t(int64_t(kFrames - 60000) * k / kSearchStarts) + 30000 + 97 * k;
            const int32_t found = sample.FindZeroCrossing(start);
            benchmark::DoNotOptimize(found);
            // Both cursors stepped about as far as the frame found lies from the start.
            walked += 2 * int64_t(std::abs(found - start)) + 1;
        }
        searches += kSearchStarts;
    }
    state.SetItemsProcessed(walked);
    state.counters["frames/s"] = benchmark::Counter(double(walked), benchmark::Counter::kIsRate);
    state.counters["searches/s"] = benchmark::Counter(double(searches), benchmark::Counter::kIsRate);
}

void BuildPreview16(benchmark::State& state) { BuildPreview<C16BitWaveSample>(state); }
void BuildPreview24(benchmark::State& state) { BuildPreview<C24BitWaveSample>(state); }
void FindZeroCrossingWorst16(benchmark::State& state) { FindZeroCrossing<C16BitWaveSample>(state, kLoudConstant); }
void FindZeroCrossingWorst24(benchmark::State& state) { FindZeroCrossing<C24BitWaveSample>(state, kLoudConstant); }
void FindZeroCrossingTypical16(benchmark::State& state) { FindZeroCrossing<C16BitWaveSample>(state, kDrumLoop); }
void FindZeroCrossingTypical24(benchmark::State& state) { FindZeroCrossing<C24BitWaveSample>(state, kDrumLoop); }

BENCHMARK(BuildPreview16)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildPreview24)->Unit(benchmark::kMillisecond);
BENCHMARK(FindZeroCrossingWorst16)->Unit(benchmark::kMillisecond);
BENCHMARK(FindZeroCrossingWorst24)->Unit(benchmark::kMillisecond);
BENCHMARK(FindZeroCrossingTypical16)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindZeroCrossingTypical24)->Unit(benchmark::kMicrosecond);

}  // namespace
