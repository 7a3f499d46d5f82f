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

std::unique_ptr<CQuilletDocument> MakeDocument(int32_t frames, int32_t sliceCount) {
    auto sample = NSQuilletTest::MakeSample(16, 2, frames);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t i = 0; i < sliceCount; ++i)
        slices->InsertSlice(CSlice(int32_t(int64_t(frames) * i / sliceCount), 16384, ESliceKind::kLocked));
    return std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
}

struct SViewFixture {
    explicit SViewFixture(int32_t frames, int32_t slices) : fDocument(MakeDocument(frames, slices)), fView(*fDocument) {
        fView.resize(kDetailWidth + 120, 400);
        fView.show();
        QApplication::processEvents();
        const int extra = fView.width() - fView.GetDetailView().width();
        fView.resize(kDetailWidth + extra, 400);
        QApplication::processEvents();
        fImage = QImage(fView.GetDetailView().size(), QImage::Format_ARGB32_Premultiplied);
    }
    void Paint() { fView.GetDetailView().render(&fImage); }

    std::unique_ptr<CQuilletDocument> fDocument;
    CWaveformDisplayGroupView fView;
    QImage fImage;
};

// Argument: frames per pixel as a power of two, −4 (16 pixels per frame) up to the whole file.
void BM_FullRepaintOfTenMinutesStereo(benchmark::State& state) {
    static SViewFixture fixture(kTenMinutes, 100);
    CWaveformDetailViewLogic& logic = fixture.fView.GetDetailView().GetLogic();
    const double framesPerPixel = state.range(0) >= 20 ? double(kTenMinutes) / kDetailWidth
                                                        : std::ldexp(1.0, int(state.range(0)));
    const auto width = int32_t(std::min<double>(kTenMinutes, framesPerPixel * (kDetailWidth - 20)));
    const int32_t start = (kTenMinutes - width) / 3;
    logic.SetVisibleRange({start, start + std::max(1, width)});
    for (auto _ : state) fixture.Paint();
}
BENCHMARK(BM_FullRepaintOfTenMinutesStereo)->Arg(-4)->Arg(0)->Arg(4)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_SliceDragMoveAmongAThousandSlices(benchmark::State& state) {
    static SViewFixture fixture(60 * 44100, 1000);
    CWaveformDetailView& detail = fixture.fView.GetDetailView();
    CWaveformDetailViewLogic& logic = detail.GetLogic();
    logic.SetVisibleRange({0, 60 * 44100 / 10});
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
        fixture.Paint();
    }
    send(QEvent::MouseButtonRelease, press);
}
BENCHMARK(BM_SliceDragMoveAmongAThousandSlices)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
