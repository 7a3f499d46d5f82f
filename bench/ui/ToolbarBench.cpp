// The toolbars' refresh, on Qt's offscreen platform: all five toolbars read the document and
// set their controls, with nothing changed and after changes that touch one knob or eight;
// beside them the same document change with no toolbar listening.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "tests/support/DemoLoopDocument.h"
#include "ui/logic/toolbars/EffectPresets.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/toolbars/ToolbarHost.h"

namespace {

using namespace NSQuillet;

class CBenchHost final : public IToolbarHost {
public:
    void RunToolbarCommand(const std::function<void()>& work) override { work(); }
    void DoWindowAction(EWindowAction) override {}
    ILoopLengthRequest& GetLoopLengthRequest() override { throw std::logic_error("no length request"); }
    void ReturnFocusToWindow() override {}
};

// The demo loop previewed with every effect on, so that every knob is enabled.
std::unique_ptr<CQuilletDocument> MakeDocument() {
    std::unique_ptr<CQuilletDocument> document = NSQuilletTest::MakeDemoLoopDocument(2);
    SEffectParameters effects = document->GetEffectParameters();
    effects.fTransientShaper.fOn = true;
    effects.fEqualizer.fOn = true;
    document->PerformEffectParametersChange(effects, "Toggle Equalizer On/Off");
    document->CloseUndoStep();
    return document;
}

struct SStripFixture {
    SStripFixture() : fDocument(MakeDocument()), fStrip(*fDocument, fHost) {
        fStrip.resize(1200, 200);
        fStrip.show();
        QApplication::processEvents();
    }

    std::unique_ptr<CQuilletDocument> fDocument;
    CBenchHost fHost;
    CToolbar fStrip;
};

// The pitch goes back and forth, a closed step each time: the history keeps its ten steps.
void ChangePitch(CQuilletDocument& document, int step) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fPitch = int16_t(step % 2 == 0 ? 100 : 200);
    document.PerformParametersChange(parameters, "Change Pitch");
    document.CloseUndoStep();
}

void BM_RefreshAllToolbarsUnchanged(benchmark::State& state) {
    static SStripFixture fixture;
    for (auto _ : state) fixture.fStrip.RefreshAll();
}
BENCHMARK(BM_RefreshAllToolbarsUnchanged)->Unit(benchmark::kMicrosecond);

// The document's change and its notification, which refreshes all five toolbars.
void BM_PitchChangeWithToolbars(benchmark::State& state) {
    static SStripFixture fixture;
    int step = 0;
    for (auto _ : state) ChangePitch(*fixture.fDocument, step++);
}
BENCHMARK(BM_PitchChangeWithToolbars)->Unit(benchmark::kMicrosecond);

void BM_PitchChangeWithoutToolbars(benchmark::State& state) {
    static std::unique_ptr<CQuilletDocument> document = MakeDocument();
    int step = 0;
    for (auto _ : state) ChangePitch(*document, step++);
}
BENCHMARK(BM_PitchChangeWithoutToolbars)->Unit(benchmark::kMicrosecond);

// Every equalizer knob and its value text changes at each step.
void BM_EqualizerPresetWithToolbars(benchmark::State& state) {
    static SStripFixture fixture;
    const std::vector<SEffectPreset> presets = LoadEffectPresets(EPresetEffect::kEqualizer);
    int step = 0;
    for (auto _ : state) {
        SEffectParameters effects = fixture.fDocument->GetEffectParameters();
        effects.fEqualizer = ApplyPreset(presets[size_t(1 + step++ % 2)], effects.fEqualizer);
        fixture.fDocument->PerformEffectParametersChange(effects, "Select Equalizer Preset");
        fixture.fDocument->CloseUndoStep();
    }
}
BENCHMARK(BM_EqualizerPresetWithToolbars)->Unit(benchmark::kMicrosecond);

}  // namespace
