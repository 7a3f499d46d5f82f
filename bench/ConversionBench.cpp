#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ConvertSampleFormatCommand.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace {

using namespace NSQuillet;

// Ten minutes of stereo 16-bit audio at 44.1 kHz: two detuned tones at -6 dB.
constexpr int32_t kFrames = 26460000;

std::unique_ptr<C16BitWaveSample> MakeSample() {
    auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
    const double left = 2.0 * 3.14159265358979323846 * 440.0 / 44100.0;
    const double right = 2.0 * 3.14159265358979323846 * 443.0 / 44100.0;
    for (int32_t frame = 0; frame < kFrames; ++frame) {
        sample->Set16(frame, int16_t(16000.0 * std::sin(left * frame)), 1);
        sample->Set16(frame, int16_t(16000.0 * std::sin(right * frame)), 2);
    }
    return sample;
}

const C16BitWaveSample& GetSample() {
    static const std::unique_ptr<C16BitWaveSample> sample = MakeSample();
    return *sample;
}

void CountFrames(benchmark::State& state) {
    // Source frames (both channels of a frame together) converted per second of one core.
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

// Both passes of the audio, without the document.
void BM_ConvertWaveSample_44100To48000(benchmark::State& state) {
    const C16BitWaveSample& source = GetSample();
    for (auto _ : state) {
        CQuilletLengthyOperation operation("Convert Sample Format", true, nullptr);
        std::unique_ptr<CABCWaveSample> converted = ConvertWaveSampleFormat(source, 48000, 16, operation);
        benchmark::DoNotOptimize(converted.get());
    }
    CountFrames(state);
}
BENCHMARK(BM_ConvertWaveSample_44100To48000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command on a document with 1000 slices: both passes, the slices carried over, the
// preview of the new sample and the saved copy of the old one for undo.
void BM_ConvertSampleFormatCommand_44100To48000(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto sample = std::make_unique<C16BitWaveSample>(GetSample());
        auto slices = std::make_unique<CSliceSequence>(sample.get());
        for (int32_t i = 0; i < 1000; ++i)
            slices->InsertSlice(CSlice(int32_t(int64_t(kFrames) * i / 1000), 20000, ESliceKind::kNormal));
        slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
        auto document =
            std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
        CQuilletLengthyOperation operation("Convert Sample Format", true, nullptr);
        state.ResumeTiming();

        ConvertSampleFormat(*document, operation, 48000, 16);

        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    CountFrames(state);
}
BENCHMARK(BM_ConvertSampleFormatCommand_44100To48000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
