#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

namespace NSQuilletTest {

// Runs `action` on the modal widget once one is shown, so that a test can answer the modal
// dialog its next call opens (exec() blocks until then). Polls every 10 ms for 5 s at most.
inline void WhenModalShows(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    auto left = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, [timer, left, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal && modal->isVisible();
        if (shown || --*left <= 0) {
            timer->stop();
            timer->deleteLater();
        }
        if (shown) action(modal);
    });
    timer->start(10);
}

// Answers the modal widgets a call shows one after another: each time a modal widget other
// than the one answered last is shown, the next action runs on it. Polls every 10 ms while it
// lives; actions left over mean a modal widget did not show.
class CModalScript {
public:
    explicit CModalScript(std::deque<std::function<void(QWidget*)>> actions) : fActions(std::move(actions)) {
        QObject::connect(&fTimer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal == fAnswered.data() || fActions.empty()) return;
            fAnswered = modal;
            const std::function<void(QWidget*)> action = std::move(fActions.front());
            fActions.pop_front();
            action(modal);
        });
        fTimer.start(10);
    }

    size_t GetActionsLeft() const { return fActions.size(); }

private:
    std::deque<std::function<void(QWidget*)>> fActions;
    QPointer<QWidget> fAnswered;
    QTimer fTimer;
};

}  // namespace NSQuilletTest
