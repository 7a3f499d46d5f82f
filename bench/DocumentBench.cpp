#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace {

using namespace NSQuillet;

// Ten minutes of stereo audio at 44.1 kHz, cut into 1000 shown slices, preview on.
constexpr int32_t kFrames = 26460000;
constexpr int32_t kSlices = 1000;

std::unique_ptr<C16BitWaveSample> MakeSample(int16_t offset) {
    auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, true);
    for (int32_t frame = 0; frame < kFrames; ++frame) {
        const int16_t value = int16_t(offset + (frame * 37) % 20000 - 10000);
        sample->Set16(frame, value, 1);
        sample->Set16(frame, int16_t(-value), 2);
    }
    return sample;
}

std::unique_ptr<CQuilletDocument> MakeDocument() {
    auto sample = MakeSample(0);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t i = 0; i < kSlices; ++i)
        slices->InsertSlice(CSlice(int32_t(int64_t(kFrames) * i / kSlices), 20000, ESliceKind::kNormal));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    SDocumentSettings settings;
    settings.fDefaultBarsToOne = true;
    return std::make_unique<CQuilletDocument>(std::move(sample), false, settings, 0, std::move(slices));
}

CQuilletDocument& GetDocument() {
    static std::unique_ptr<CQuilletDocument> document = MakeDocument();
    return *document;
}

// Each iteration commits a new step, as a knob turned and released does.
void BM_CommitParameterChange(benchmark::State& state) {
    CQuilletDocument& document = GetDocument();
    int16_t pitch = 0;
    for (auto _ : state) {
        SDocumentParameters parameters = document.GetDocumentParameters();
        parameters.fPitch = int16_t(++pitch % 1200);
        document.PerformParametersChange(parameters, UndoText(NSStringIds::kUndo_ChangePitch));
        document.CloseUndoStep();
    }
}
BENCHMARK(BM_CommitParameterChange)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoParameterChange(benchmark::State& state) {
    CQuilletDocument& document = GetDocument();
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fPitch = 321;
    document.PerformParametersChange(parameters, UndoText(NSStringIds::kUndo_ChangePitch));
    for (auto _ : state) {
        document.Undo();
        document.Redo();
    }
    state.SetLabel("one undo and one redo");
}
BENCHMARK(BM_UndoRedoParameterChange)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoWaveSampleChange(benchmark::State& state) {
    CQuilletDocument& document = GetDocument();
    document.PerformWaveSampleChange(MakeSample(1000), "Normalize");
    for (auto _ : state) {
        document.Undo();
        document.Redo();
    }
    state.SetLabel("one undo and one redo, one copy of 10 min stereo each");
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * int64_t(kFrames) * 2 * 2);
}
BENCHMARK(BM_UndoRedoWaveSampleChange)->Unit(benchmark::kMillisecond);

}  // namespace
