// The detail view's drawing and a slice drag through the widgets, on Qt's offscreen platform:
// a full repaint of a 1600-pixel view of a ten-minute stereo file at each zoom, and one mouse
// move of a slice drag (document move, notification, repaint) among 1000 slices.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/document/QuilletDocument.h"
#include "engine/SliceSequence.h"
#include "tests/support/SoundFileTestSupport.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformDisplayGroupView.h"

namespace {

using namespace NSQuillet;

constexpr int32_t kTenMinutes = 10 * 60 * 44100;
constexpr int kDetailWidth = 1600;

std::unique_ptr<CQuilletDocument> MakeDocument(int32_t frames, int32_t sliceCount, ESliceKind kind) {
    auto sample = NSQuilletTest::MakeSample(16, 2, frames);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t i = 0; i < sliceCount; ++i)
        slices->InsertSlice(CSlice(int32_t(int64_t(frames) * i / sliceCount), 16384, kind));
    // Every slice shown, whatever its level.
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    return std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
}

struct SViewFixture {
    SViewFixture(int32_t frames, int32_t slices, ESliceKind kind = ESliceKind::kNormal)
        : fDocument(MakeDocument(frames, slices, kind)), fView(*fDocument) {
        fView.resize(kDetailWidth + 120, 400);
        fView.show();
        QApplication::processEvents();
        const int extra = fView.width() - fView.GetDetailView().width();
        fView.resize(kDetailWidth + extra, 400);
        QApplication::processEvents();
        fImage = QImage(fView.GetDetailView().size(), QImage::Format_ARGB32_Premultiplied);
    }
    void Paint() { fView.GetDetailView().render(&fImage); }
    // What the editor paints after an event: the pending repaints, into the window's store.
    void PaintPending() { QApplication::processEvents(); }

    std::unique_ptr<CQuilletDocument> fDocument;
    CWaveformDisplayGroupView fView;
    QImage fImage;
};

// Argument: frames per pixel as a power of two, −4 (16 pixels per frame) up to the whole file
// (20). Full-scale noise fills every column top to bottom: the worst case; 100 slices.
void BM_FullRepaintOfTenMinutesStereo(benchmark::State& state) {
    static SViewFixture fixture(kTenMinutes, 100);
    CWaveformDetailViewLogic& logic = fixture.fView.GetDetailView().GetLogic();
    const double framesPerPixel = state.range(0) >= 20 ? double(kTenMinutes) / kDetailWidth
                                                        : std::ldexp(1.0, int(state.range(0)));
    const auto width = int32_t(std::min<double>(kTenMinutes, framesPerPixel * (kDetailWidth - 20)));
    const int32_t start = (kTenMinutes - width) / 3;
    // The range moves by a frame each time, so nothing drawn before is reused.
    int32_t shift = 0;
    for (auto _ : state) {
        shift = 1 - shift;
        logic.SetVisibleRange({start + shift, start + shift + std::max(1, width)});
        fixture.Paint();
    }
}
BENCHMARK(BM_FullRepaintOfTenMinutesStereo)->Arg(-4)->Arg(0)->Arg(4)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

// Each move is painted as the editor paints it: the changed span only.
// Argument 0: a minute of audio, a tenth of it in view (about 100 markers drawn); 1: ten
// minutes, all in view (all 1000 markers and lines drawn); 2: the same with every slice locked,
// the worst case (locked slices draw dashed lines).
void BM_SliceDragMoveAmongAThousandSlices(benchmark::State& state) {
    static SViewFixture minute(60 * 44100, 1000);
    static SViewFixture tenMinutes(kTenMinutes, 1000);
    static SViewFixture tenMinutesLocked(kTenMinutes, 1000, ESliceKind::kLocked);
    SViewFixture& fixture = state.range(0) == 0 ? minute : state.range(0) == 1 ? tenMinutes : tenMinutesLocked;
    CWaveformDetailView& detail = fixture.fView.GetDetailView();
    CWaveformDetailViewLogic& logic = detail.GetLogic();
    const int32_t frames = fixture.fDocument->GetWaveSample().GetFrameCount();
    logic.SetVisibleRange({0, state.range(0) == 0 ? frames / 10 : frames});
    const SViewRect marker = logic.GetSliceMarkerRect(20);
    const QPointF press(logic.GetGeometry().FrameToX(logic.GetSlices()[20].fPosition), marker.fTop + marker.fHeight / 2);
    auto send = [&](QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, detail.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::AltModifier);
        QApplication::sendEvent(&detail, &event);
    };
    send(QEvent::MouseButtonPress, press);
    int step = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, press + QPointF((step++ % 2) ? 0.0 : 3.0, 0.0));
        fixture.PaintPending();
    }
    send(QEvent::MouseButtonRelease, press);
}
BENCHMARK(BM_SliceDragMoveAmongAThousandSlices)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
