#pragma once

#include <QObject>

#include <functional>

namespace NSQuillet {

// For measuring the editor from outside (scripts/bench-editor): with QUILLET_REPORT_FIRST_PAINT
// set, the first time a document window showing sound has painted, one line goes to standard
// error with the CLOCK_MONOTONIC time in nanoseconds and the resident and peak memory in kB:
// "quillet: first paint <ns> resident <kB> peak <kB>". Set to "quit", `quit` is then called.
class CFirstPaintReport final : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application when the variable is set; does nothing otherwise.
    explicit CFirstPaintReport(std::function<void()> quit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Report();

    std::function<void()> fQuit;
    bool fReported = false;
};

}  // namespace NSQuillet
