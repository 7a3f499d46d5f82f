#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

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

}  // namespace NSQuilletTest
