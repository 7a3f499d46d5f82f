#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace NSQuillet {

// A meter view's idle ticks: every 30 ms while the view is shown (and the ticks are on), each
// with the milliseconds since the one before. User-interface thread.
class CMeterIdleTicks final : public QObject {
public:
    static constexpr int kIntervalMs = 30;
    using FTick = std::function<void(double elapsedMilliseconds)>;

    // Follows `view`'s showing and hiding; `view` outlives this object.
    CMeterIdleTicks(QWidget& view, FTick tick);

    // Tests that feed their own readings turn the ticks off.
    void SetOn(bool on);
    bool IsRunning() const { return fTimer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow();

    QWidget& fView;
    FTick fTick;
    QTimer fTimer;
    QElapsedTimer fSinceLastTick;
    bool fOn = true;
};

}  // namespace NSQuillet
