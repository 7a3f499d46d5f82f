#include "ui/application/QuitEventRouter.h"

#include <QCoreApplication>
#include <QEvent>

namespace NSQuillet {

CQuitEventRouter::CQuitEventRouter(std::function<void()> requestQuit) : fRequestQuit(std::move(requestQuit)) {
    QCoreApplication::instance()->installEventFilter(this);
}

CQuitEventRouter::~CQuitEventRouter() { QCoreApplication::instance()->removeEventFilter(this); }

bool CQuitEventRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        fRequestQuit();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace NSQuillet
