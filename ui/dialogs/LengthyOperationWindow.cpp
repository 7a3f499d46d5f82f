#include "ui/dialogs/LengthyOperationWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/operations/LengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

// Counts itself in the UI's busy count for its lifetime.
class CBusyCount {
public:
    explicit CBusyCount(int& count) : fCount(count) { ++fCount; }
    ~CBusyCount() { --fCount; }
    CBusyCount(const CBusyCount&) = delete;
    CBusyCount& operator=(const CBusyCount&) = delete;

private:
    int& fCount;
};

class CWaitCursorGuard final : public NSCourier::IBusyGuard {
public:
    explicit CWaitCursorGuard(int& busyCount) : fBusy(busyCount) { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursorGuard() override { QApplication::restoreOverrideCursor(); }

private:
    CBusyCount fBusy;
};

class CDialogWindow final : public NSCourier::ILengthyOperationWindow {
public:
    CDialogWindow(int& busyCount, NSCourier::CLengthyOperation& operation, const std::string& title, bool stoppable)
        : fBusy(busyCount),
          fDialog(new CLengthyOperationDialog(operation, title, stoppable, QApplication::activeWindow())) {
        fDialog->show();
        fDialog->raise();
    }
    ~CDialogWindow() override { delete fDialog.data(); }

    void SetProgress(int32_t permille) override {
        if (fDialog) fDialog->SetProgress(permille);
    }
    void SetProgressText(const std::string& text) override {
        if (fDialog) fDialog->SetProgressText(text);
    }
    bool WantsEvents() const override { return true; }
    // Shown and modal, the window takes all input; until it is on screen no input is handed
    // out at all, so no click or key can start a close or a quit in the middle of the work.
    void ProcessPendingEvents() override {
        const bool shown = fDialog && fDialog->isVisible();
        QCoreApplication::processEvents(shown ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    void Notify(int32_t) override {}
    bool IsStopPressed() const override { return fDialog && fDialog->IsStopPressed(); }

private:
    CBusyCount fBusy;
    // Guarded: the parent window may destroy the dialog first.
    QPointer<CLengthyOperationDialog> fDialog;
};

}  // namespace

CLengthyOperationDialog::CLengthyOperationDialog(NSCourier::CLengthyOperation& operation, const std::string& title,
                                                 bool stoppable, QWidget* parent)
    : QDialog(parent),
      fOperation(operation),
      fTitleView(new QLabel(QString::fromStdString(title), this)),
      fProgressTextView(new QLabel(this)),
      fProgressBar(new QProgressBar(this)),
      fStopButton(new QPushButton(
          QString::fromStdString(FrameworkShortTextReference(NSShortTextIds::kStop).GetText()), this)) {
    setWindowTitle(QString::fromStdString(StringReference(NSStringIds::kProgramName).GetText()));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    fTitleView->setTextFormat(Qt::PlainText);
    fProgressTextView->setTextFormat(Qt::PlainText);
    fProgressBar->setRange(0, 1000);
    fProgressBar->setValue(0);
    fProgressBar->setTextVisible(false);
    fStopButton->setEnabled(stoppable);
    fStopButton->setAutoDefault(false);
    connect(fStopButton, &QPushButton::clicked, this, [this] { PressStop(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(fStopButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fTitleView);
    layout->addWidget(fProgressTextView);
    layout->addWidget(fProgressBar);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void CLengthyOperationDialog::SetProgress(int32_t permille) { fProgressBar->setValue(permille); }

void CLengthyOperationDialog::SetProgressText(const std::string& text) {
    fProgressTextView->setText(QString::fromStdString(text));
}

void CLengthyOperationDialog::reject() {
    if (fStopButton->isEnabled()) PressStop();
}

void CLengthyOperationDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void CLengthyOperationDialog::PressStop() {
    fStopPressed = true;
    fStopButton->setEnabled(false);
    fOperation.RequestStop();
}

std::unique_ptr<NSCourier::IBusyGuard> CEditorLengthyOperationUI::CreateBusyGuard() {
    return std::make_unique<CWaitCursorGuard>(fBusyCount);
}

std::unique_ptr<NSCourier::ILengthyOperationWindow> CEditorLengthyOperationUI::CreateWindow(
    NSCourier::CLengthyOperation& operation, const std::string& title, bool stoppable) {
    return std::make_unique<CDialogWindow>(fBusyCount, operation, title, stoppable);
}

}  // namespace NSQuillet
