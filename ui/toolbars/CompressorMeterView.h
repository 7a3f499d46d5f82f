#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "ui/logic/toolbars/LevelMeters.h"
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

    const CGainChangeMeterModel& GetModel() const { return fModel; }
    // One tick with the factors after `elapsedMilliseconds`; the idle timer calls it with what
    // the document publishes, tests with their own factors.
    void Tick(double smallest, double largest, double elapsedMilliseconds);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnIdle();

    CQuilletDocument& fDocument;
    CGainChangeMeterModel fModel;
    CViewPictures fPictures;
    QTimer fIdleTimer;
    QElapsedTimer fSinceLastTick;
};

}  // namespace NSQuillet
