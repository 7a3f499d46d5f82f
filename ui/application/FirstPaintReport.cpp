#include "ui/application/FirstPaintReport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "app/application/DocumentWindow.h"
#include "app/document/QuilletDocument.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

constexpr char kVariable[] = "QUILLET_REPORT_FIRST_PAINT";

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in kB; 0 when it cannot be read.
long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    }
    return 0;
}

bool ShowsSound(QObject* watched) {
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* window = widget ? dynamic_cast<IDocumentWindow*>(widget->window()) : nullptr;
    return window && window->GetDocument().GetWaveSample().GetFrameCount() > 0;
}

}  // namespace

CFirstPaintReport::CFirstPaintReport(std::function<void()> quit) {
    const char* value = std::getenv(kVariable);
    if (!value || !*value) return;
    if (std::strcmp(value, "quit") == 0) fQuit = std::move(quit);
    qApp->installEventFilter(this);
}

bool CFirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
    if (!fReported && event->type() == QEvent::Paint && ShowsSound(watched)) {
        fReported = true;
        // After this paint and the others of the same update have been done.
        QTimer::singleShot(0, this, &CFirstPaintReport::Report);
    }
    return QObject::eventFilter(watched, event);
}

void CFirstPaintReport::Report() {
    qApp->removeEventFilter(this);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "quillet: first paint %lld resident %ld peak %ld\n",
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, StatusKilobytes("VmRSS:"),
                 StatusKilobytes("VmHWM:"));
    if (fQuit) fQuit();
}

}  // namespace NSQuillet
