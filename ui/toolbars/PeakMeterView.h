#pragma once

#include <QWidget>

#include "engine/LevelMeter.h"
#include "ui/logic/toolbars/LevelMeters.h"
#include "ui/toolbars/MeterIdleTicks.h"
#include "ui/waveform/ViewPictures.h"

class QPainter;

namespace NSQuillet {

class CQuilletDocument;

// The output peak meter of the waveform group: on each idle tick it takes the levels and the
// clip flag the audio output published for `document` (no lock shared with the audio thread)
// and draws the held levels from the skin's meter pictures. The clip light holds until
// clicked. User-interface thread.
class CPeakMeterView final : public QWidget {
    Q_OBJECT

public:
    // `document` outlives the view.
    CPeakMeterView(CQuilletDocument& document, QWidget* parent = nullptr);

    // Each bar's lamps, 40 from the bottom (13411 lit, 13412 dark), 1x pixels.
    static constexpr int kLampCount = 40;
    static constexpr int kLampPitch = 3;
    static constexpr int kBarWidth = 6;
    static constexpr int kIdleIntervalMs = CMeterIdleTicks::kIntervalMs;

    const CPeakMeterModel& GetModel() const { return fModel; }
    // One tick with `reading` after `elapsedMilliseconds`; the idle timer calls it with what
    // the document publishes, tests with their own readings. A mono sample shows its one
    // signal on both bars.
    void Tick(const CLevelMeter::SReading& reading, double elapsedMilliseconds);
    // Lit from the first clipped reading until a click.
    bool IsClipLit() const { return fClipLit; }
    // What is drawn: the lit lamps of channel 0 (left) or 1 (right).
    int32_t GetLitLamps(int32_t channel) const { return fLit[channel & 1]; }
    bool IsIdleTimerRunning() const { return fIdleTicks.IsRunning(); }
    // The idle ticks run while the view is shown unless turned off (tests that feed their own
    // readings turn them off).
    void SetIdleTicking(bool on) { fIdleTicks.SetOn(on); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Repaints only when what is drawn changes: the timer runs all the time.
    void UpdateDrawnState();
    void DrawBar(QPainter& painter, int left, int top, int height, int32_t lit);

    CQuilletDocument& fDocument;
    CPeakMeterModel fModel;
    CViewPictures fPictures;
    CMeterIdleTicks fIdleTicks;
    bool fClipLit = false;
    bool fClipDrawn = false;
    int32_t fLit[2] = {0, 0};
};

}  // namespace NSQuillet
