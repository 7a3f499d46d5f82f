#include "ui/toolbars/MeterIdleTicks.h"

#include <QEvent>
#include <QWidget>

namespace NSQuillet {

CMeterIdleTicks::CMeterIdleTicks(QWidget& view, FTick tick) : fView(view), fTick(std::move(tick)) {
    fTimer.setInterval(kIntervalMs);
    fTimer.setTimerType(Qt::CoarseTimer);
    connect(&fTimer, &QTimer::timeout, this, [this] {
        const double elapsed = double(fSinceLastTick.nsecsElapsed()) / 1e6;
        fSinceLastTick.restart();
        fTick(elapsed);
    });
    view.installEventFilter(this);
}

void CMeterIdleTicks::SetOn(bool on) {
    fOn = on;
    Follow();
}

bool CMeterIdleTicks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &fView && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) Follow();
    return QObject::eventFilter(watched, event);
}

void CMeterIdleTicks::Follow() {
    const bool run = fOn && fView.isVisible();
    if (!run) {
        fTimer.stop();
    } else if (!fTimer.isActive()) {
        fSinceLastTick.start();
        fTimer.start();
    }
}

}  // namespace NSQuillet
