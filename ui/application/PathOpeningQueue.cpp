#include "ui/application/PathOpeningQueue.h"

#include <QEvent>
#include <QFile>
#include <QFileOpenEvent>

#include <utility>

namespace NSQuillet {

CPathOpeningQueue::CPathOpeningQueue(SHandlers handlers, QObject* parent)
    : QObject(parent), fHandlers(std::move(handlers)) {
    fTimer.setSingleShot(true);
    connect(&fTimer, &QTimer::timeout, this, [this] { Deliver(); });
}

void CPathOpeningQueue::Enqueue(const std::vector<std::string>& paths) {
    fPending.push_back(SRequest{paths});
    if (!fTimer.isActive()) fTimer.start(0);
}

bool CPathOpeningQueue::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FileOpen) {
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        if (!file.isEmpty()) Enqueue({QFile::encodeName(file).toStdString()});
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CPathOpeningQueue::Deliver() {
    // Opening runs lengthy operations and alerts that hand out events: a request arriving
    // meanwhile waits for the next round instead of opening inside this one.
    if (fDelivering) return;
    while (!fPending.empty()) {
        if (fHandlers.fCanOpenNow && !fHandlers.fCanOpenNow()) {
            fTimer.start(kRetryMilliseconds);
            return;
        }
        SRequest request = std::move(fPending.front());
        fPending.pop_front();
        struct SDelivering {
            bool& fFlag;
            ~SDelivering() { fFlag = false; }
        };
        fDelivering = true;
        const SDelivering delivering{fDelivering};
        if (request.fPaths.empty()) {
            if (fHandlers.fBringToFront) fHandlers.fBringToFront();
        } else {
            for (const std::string& path : request.fPaths)
                if (fHandlers.fOpen) fHandlers.fOpen(path);
        }
    }
}

}  // namespace NSQuillet
