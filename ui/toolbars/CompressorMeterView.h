#pragma once

#include <QWidget>

#include "ui/logic/toolbars/LevelMeters.h"
#include "ui/toolbars/MeterIdleTicks.h"
#include "ui/waveform/ViewPictures.h"

namespace NSQuillet {

class CQuilletDocument;

// The transient shaper's gain-change meter ("Gain change meter"): on each idle tick it takes
// the shaper's smallest and largest gain factors the audio output published for `document`
// and draws the held factors on the skin's meter picture 13410. User-interface thread.
class CCompressorMeterView final : public QWidget {
    Q_OBJECT

public:
    // `document` outlives the view.
    CCompressorMeterView(CQuilletDocument& document, QWidget* parent = nullptr);

    // Ten lamps either side of the centre line of picture 13410 (reduction to the left, boost
    // to the right), one a dB of change: the first lit at 1 dB, all from 10 dB.
    static constexpr int32_t kLampCount = 10;
    static constexpr int kIdleIntervalMs = CMeterIdleTicks::kIntervalMs;

    const CGainChangeMeterModel& GetModel() const { return fModel; }
    // One tick with the factors after `elapsedMilliseconds`; the idle timer calls it with what
    // the document publishes, tests with their own factors.
    void Tick(double smallest, double largest, double elapsedMilliseconds);
    // What is drawn: the lit lamps of the reduction (smallest factor below 1) and of the boost.
    int32_t GetReductionLamps() const { return fReductionLamps; }
    int32_t GetBoostLamps() const { return fBoostLamps; }
    bool IsIdleTimerRunning() const { return fIdleTicks.IsRunning(); }
    // The idle ticks run while the view is shown unless turned off (tests that feed their own
    // readings turn them off).
    void SetIdleTicking(bool on) { fIdleTicks.SetOn(on); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:

    CQuilletDocument& fDocument;
    CGainChangeMeterModel fModel;
    CViewPictures fPictures;
    CMeterIdleTicks fIdleTicks;
    int32_t fReductionLamps = 0;
    int32_t fBoostLamps = 0;
};

}  // namespace NSQuillet
