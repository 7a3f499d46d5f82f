#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "engine/LevelMeter.h"
#include "ui/logic/toolbars/LevelMeters.h"
#include "ui/waveform/ViewPictures.h"

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

    const CPeakMeterModel& GetModel() const { return fModel; }
    // One tick with `reading` after `elapsedMilliseconds`; the idle timer calls it with what
    // the document publishes, tests with their own readings.
    void Tick(const CLevelMeter::SReading& reading, double elapsedMilliseconds);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnIdle();

    CQuilletDocument& fDocument;
    CPeakMeterModel fModel;
    CViewPictures fPictures;
    QTimer fIdleTimer;
    QElapsedTimer fSinceLastTick;
};

}  // namespace NSQuillet
