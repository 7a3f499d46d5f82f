// The Open dialog's preview pane on Qt's offscreen platform: the time from selecting a file to
// the filled pane, for the demo loop file and a five-minute loop file; the time from selecting
// the demo loop with Auto Play on to its playback; the time from Play to the playback of the
// five-minute loop, whose whole sound is read first. Each reports as "longest_frame_ms" the
// longest the user-interface thread went without turning its event loop meanwhile, and as
// "longest_frame_cpu_ms" the most processor time it spent between two turns (the first is
// also longer when other processes take the cores).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "engine/AudioOutputState.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"
#include "ui/dialogs/QuilletOpenDialog.h"

namespace {

using namespace NSQuillet;
using Clock = std::chrono::steady_clock;

// The processor time of the calling thread.
std::chrono::nanoseconds ThreadTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

class CWorkingOutput final : public IAudioOutputState {
public:
    uint32_t GetOutputRate() const override { return 44100; }
    bool IsOutputRunning() const override { return false; }
    bool IsOutputWorking() const override { return true; }
};

// Two copies of each file, so that every selection is a new one.
struct SFiles {
    SFiles() {
        NSQuilletTest::SaveAs(*NSQuilletTest::MakeDemoLoopDocument(2), fDemo[0]);
        std::filesystem::copy_file(fDemo[0], fDemo[1]);
        // Five minutes of full-range 16-bit stereo, 150 bars of 4/4 at 120 BPM, a slice a beat.
        constexpr int32_t kFrames = 44100 * 300;
        auto sample = NSQuilletTest::MakeSample(16, 2, kFrames);
        auto slices = std::make_unique<CSliceSequence>(sample.get());
        for (int32_t frame = 0; frame < kFrames; frame += 22050) slices->InsertSlice(CSlice(frame, 30000, ESliceKind::kLocked));
        CQuilletDocument document(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
        SDocumentParameters parameters = document.GetDocumentParameters();
        parameters.fLoop.SetBars(150);
        document.PerformParametersChange(parameters, "Change Loop Length");
        NSQuilletTest::SaveAs(document, fLong[0]);
        std::filesystem::copy_file(fLong[0], fLong[1]);
    }

    NSQuilletTest::CTemporaryFolder fFolder;
    std::string fDemo[2] = {fFolder.PathOf("demo.lx2"), fFolder.PathOf("demo copy.lx2")};
    std::string fLong[2] = {fFolder.PathOf("five minutes.lx2"), fFolder.PathOf("five minutes copy.lx2")};
};

SFiles& Files() {
    static SFiles files;
    return files;
}

QString Q(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The dialog over the files' folder, and the longest gap between two turns of the event loop
// while WaitFor waits.
struct SDialogFixture {
    explicit SDialogFixture(bool autoPlay) : fDialog(Q(Files().fFolder.Path()), &fPlayer) {
        fDialog.show();
        QApplication::processEvents();
        QCheckBox& box = *Pane().GetAutoPlayCheckBox();
        if (box.isChecked() != autoPlay) box.click();
        QObject::connect(&fTurn, &QTimer::timeout, [this] {
            const Clock::time_point now = Clock::now();
            const std::chrono::nanoseconds busy = ThreadTime();
            fLongestGap = std::max(fLongestGap, now - fLastTurn);
            fLongestBusy = std::max(fLongestBusy, busy - fLastBusy);
            fLastTurn = now;
            fLastBusy = busy;
        });
        fTurn.setInterval(0);
    }
    ~SDialogFixture() { fPlayer.Stop(); }

    CQuilletOpenPreviewPane& Pane() { return *fDialog.GetPreviewPane(); }

    // Turns the event loop until `done`; the seconds since `start`. What ran since `start`
    // counts as the first frame.
    double WaitFor(Clock::time_point start, std::chrono::nanoseconds startBusy, const std::function<bool()>& done) {
        fLastTurn = start;
        fLastBusy = startBusy;
        fTurn.start();
        while (!done()) QApplication::processEvents(QEventLoop::AllEvents);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        fTurn.stop();
        return seconds;
    }
    void Report(benchmark::State& state) const {
        state.counters["longest_frame_ms"] = std::chrono::duration<double, std::milli>(fLongestGap).count();
        state.counters["longest_frame_cpu_ms"] = std::chrono::duration<double, std::milli>(fLongestBusy).count();
    }

    CWorkingOutput fOutput;
    CWavePlayer fPlayer{fOutput};
    CQuilletOpenDialog fDialog;
    QTimer fTurn;
    Clock::time_point fLastTurn;
    Clock::duration fLongestGap{};
    std::chrono::nanoseconds fLastBusy{};
    std::chrono::nanoseconds fLongestBusy{};
};

// Argument 0: the demo loop file; 1: the five-minute loop file.
void BM_SelectionToFilledPane(benchmark::State& state) {
    const std::string* paths = state.range(0) == 0 ? Files().fDemo : Files().fLong;
    SDialogFixture fixture(false);
    bool shown = false;
    QObject::connect(&fixture.Pane(), &CQuilletOpenPreviewPane::informationShown, [&] { shown = true; });
    int which = 0;
    for (auto _ : state) {
        shown = false;
        const Clock::time_point start = Clock::now();
        const std::chrono::nanoseconds busy = ThreadTime();
        fixture.Pane().ShowFile(Q(paths[which]));
        state.SetIterationTime(fixture.WaitFor(start, busy, [&] { return shown; }));
        which = 1 - which;
    }
    fixture.Report(state);
}
BENCHMARK(BM_SelectionToFilledPane)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SelectionToAutoPlayOfTheDemoLoop(benchmark::State& state) {
    SDialogFixture fixture(true);
    bool started = false;
    QObject::connect(&fixture.Pane(), &CQuilletOpenPreviewPane::previewStarted, [&] { started = true; });
    int which = 0;
    for (auto _ : state) {
        started = false;
        const Clock::time_point start = Clock::now();
        const std::chrono::nanoseconds busy = ThreadTime();
        fixture.Pane().ShowFile(Q(Files().fDemo[which]));
        state.SetIterationTime(fixture.WaitFor(start, busy, [&] { return started; }));
        which = 1 - which;
    }
    fixture.Report(state);
}
BENCHMARK(BM_SelectionToAutoPlayOfTheDemoLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole five minutes are read by the worker after Play; the dialog keeps turning.
void BM_PlayToPlaybackOfTheFiveMinuteLoop(benchmark::State& state) {
    SDialogFixture fixture(false);
    CQuilletOpenPreviewPane& pane = fixture.Pane();
    bool started = false;
    QObject::connect(&pane, &CQuilletOpenPreviewPane::previewStarted, [&] { started = true; });
    int which = 0;
    for (auto _ : state) {
        // The selection lets the last preview go (its whole sound) on this thread.
        const Clock::time_point selected = Clock::now();
        const std::chrono::nanoseconds selectedBusy = ThreadTime();
        pane.ShowFile(Q(Files().fLong[which]));
        fixture.WaitFor(selected, selectedBusy, [&] { return pane.GetPlayButton()->isEnabled(); });
        started = false;
        const Clock::time_point start = Clock::now();
        const std::chrono::nanoseconds busy = ThreadTime();
        pane.GetPlayButton()->click();
        state.SetIterationTime(fixture.WaitFor(start, busy, [&] { return started; }));
        which = 1 - which;
    }
    fixture.Report(state);
}
BENCHMARK(BM_PlayToPlaybackOfTheFiveMinuteLoop)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace
