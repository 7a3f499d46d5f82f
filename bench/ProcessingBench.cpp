#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/AddSlicesAtSixteenthsCommand.h"
#include "app/processing/ConvertToMonoCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/processing/NormalizeCommand.h"
#include "app/processing/ReAnalyzeCommand.h"
#include "app/processing/RemoveDCCommand.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace {

using namespace NSQuillet;

// Ten minutes of stereo 16-bit audio at 44.1 kHz below full scale, 1000 shown slices, a loop
// of the middle half and one bar of 4/4.
constexpr int32_t kFrames = 26460000;
constexpr int32_t kSlices = 1000;

std::unique_ptr<CQuilletDocument> MakeDocument() {
    auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
    for (int32_t frame = 0; frame < kFrames; ++frame) {
        const int16_t value = int16_t((frame * 37) % 20000 - 10000 + 300);
        sample->Set16(frame, value, 1);
        sample->Set16(frame, int16_t(-value / 2), 2);
    }
    sample->BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t i = 0; i < kSlices; ++i)
        slices->InsertSlice(CSlice(int32_t(int64_t(kFrames) * i / kSlices), 20000, ESliceKind::kNormal));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    auto document = std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
    SDocumentParameters p = document->GetDocumentParameters();
    p.fLoop.SetBars(1);
    p.fLeftLocator = kFrames / 4;
    p.fRightLocator = kFrames - kFrames / 4;
    document->PerformParametersChange(p, "Set Loop");
    document->CloseUndoStep();
    return document;
}

CQuilletDocument& GetDocument() {
    static std::unique_ptr<CQuilletDocument> document = MakeDocument();
    return *document;
}

// Runs the command once per iteration and undoes it outside the timing; frames per second
// of the source sample.
void RunCommand(benchmark::State& state, const std::function<void(CQuilletDocument&, CQuilletLengthyOperation&)>& run) {
    CQuilletDocument& document = GetDocument();
    for (auto _ : state) {
        const uint32_t position = document.GetUndoHistory().GetPosition();
        CQuilletLengthyOperation operation("Process", true, nullptr);
        run(document, operation);
        state.PauseTiming();
        if (document.GetUndoHistory().GetPosition() != position) document.Undo();
        state.ResumeTiming();
    }
    state.counters["frames/s"] = benchmark::Counter(double(kFrames) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_NormalizeWholeFile(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { Normalize(d, o, ENormalizeScope::kWholeFile); });
}
BENCHMARK(BM_NormalizeWholeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NormalizeEachSlice(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { Normalize(d, o, ENormalizeScope::kEachSlice); });
}
BENCHMARK(BM_NormalizeEachSlice)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertToMonoLeft(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ConvertToMono(d, o, EMonoChoice::kLeft); });
}
BENCHMARK(BM_ConvertToMonoLeft)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertToMonoMix(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ConvertToMono(d, o, EMonoChoice::kMix); });
}
BENCHMARK(BM_ConvertToMonoMix)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CropLoop(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { CropLoop(d, o); });
}
BENCHMARK(BM_CropLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RemoveDC(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { RemoveDC(d, o); });
}
BENCHMARK(BM_RemoveDC)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same filter over a copy of the document's audio, where it lies: no new sample, no undo.
void BM_RemoveDCInPlace(benchmark::State& state) {
    C16BitWaveSample sample(static_cast<const C16BitWaveSample&>(GetDocument().GetWaveSample()));
    for (auto _ : state) {
        CQuilletLengthyOperation operation("Process", true, nullptr);
        RemoveDCInPlace(sample, operation);
    }
    state.counters["frames/s"] = benchmark::Counter(double(kFrames) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RemoveDCInPlace)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReAnalyze(benchmark::State& state) {
    RunCommand(state, [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ReAnalyze(d, o); });
}
BENCHMARK(BM_ReAnalyze)->Unit(benchmark::kMillisecond)->Iterations(3);

// One bar of sixteenths over the loop; the frames are not read, so the figure is per call.
void BM_AddSlicesAtSixteenths(benchmark::State& state) {
    CQuilletDocument& document = GetDocument();
    for (auto _ : state) {
        const uint32_t position = document.GetUndoHistory().GetPosition();
        AddSlicesAtSixteenths(document);
        state.PauseTiming();
        if (document.GetUndoHistory().GetPosition() != position) document.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddSlicesAtSixteenths)->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace
