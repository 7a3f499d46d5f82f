#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace {

using namespace NSQuillet;

constexpr double kPi = 3.14159265358979323846;

// Drum-like stereo material: a noise burst with a decaying 60 Hz body every eighth note at
// 120 BPM, so the detector meets an onset every 11025 frames and decays in between.
std::unique_ptr<C16BitWaveSample> MakeDrums(int32_t frames) {
    auto sample = std::make_unique<C16BitWaveSample>(44100, frames, true);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<int16_t> left(static_cast<size_t>(frames));
    std::vector<int16_t> right(left.size());
    for (int32_t frame = 0; frame < frames; ++frame) {
        const int32_t inHit = frame % 11025;
        const double envelope = std::exp(-double(inHit) / 1500.0);
        const double body = std::sin(2.0 * kPi * 60.0 * inHit / 44100.0);
        const double value = envelope * (0.5 * body + 0.4 * noise(random));
        left[size_t(frame)] = int16_t(20000.0 * value);
        right[size_t(frame)] = int16_t(18000.0 * value);
    }
    sample->Set16s(0, frames, left.data(), 1);
    sample->Set16s(0, frames, right.data(), 2);
    sample->BuildPreview();
    return sample;
}

void Analyze(benchmark::State& state) {
    // Five minutes at 44.1 kHz.
    static const auto sample = MakeDrums(5 * 60 * 44100);
    for (auto _ : state) {
        CSliceSequence sequence(sample.get());
        sequence.Analyze(nullptr);
        benchmark::DoNotOptimize(sequence.GetSliceCount());
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(sample->GetFrameCount()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(Analyze)->Unit(benchmark::kMillisecond);

void UpdateSliceLengthsWithGate(benchmark::State& state) {
    // 1000 active slices, 1323 frames apart (30 seconds of audio).
    static const auto sample = MakeDrums(1000 * 1323);
    CSliceSequence sequence(sample.get());
    for (int32_t i = 0; i < 1000; ++i) sequence.InsertSlice(CSlice(i * 1323, 20000, ESliceKind::kNormal));
    sequence.SetSensitivity(99);
    int32_t gate = 1;
    for (auto _ : state) {
        // Each call recomputes every length, as a fader move does.
        sequence.SetGateSensitivity(gate);
        gate = gate % 999 + 1;
        benchmark::DoNotOptimize(sequence.GetSlices().data());
    }
}
BENCHMARK(UpdateSliceLengthsWithGate)->Unit(benchmark::kMicrosecond);

}  // namespace
