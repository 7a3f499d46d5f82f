#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace NSQuillet {

// Counts the paint events of one widget.
class CPaintCounter final : public QObject {
public:
    explicit CPaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int fCount = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++fCount;
        return false;
    }
};

}  // namespace NSQuillet
