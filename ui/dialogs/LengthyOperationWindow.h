#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

#include "app/operations/LengthyOperationUI.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace NSQuillet {

// The modal progress window of one lengthy operation: its title, its progress text, a bar and
// Stop. Esc and the close box press Stop; without Stop (an operation that cannot stop) they do
// nothing, so the window closes only when the operation ends.
class CLengthyOperationDialog final : public QDialog {
    Q_OBJECT
public:
    CLengthyOperationDialog(NSCourier::CLengthyOperation& operation, const std::string& title, bool stoppable,
                            QWidget* parent);

    void SetProgress(int32_t permille);
    void SetProgressText(const std::string& text);
    bool IsStopPressed() const { return fStopPressed; }

    QProgressBar* GetProgressBar() const { return fProgressBar; }
    QPushButton* GetStopButton() const { return fStopButton; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PressStop();

    NSCourier::CLengthyOperation& fOperation;
    QLabel* fTitleView;
    QLabel* fProgressTextView;
    QProgressBar* fProgressBar;
    QPushButton* fStopButton;
    bool fStopPressed = false;
};

// The editor's lengthy-operation user interface: a wait cursor from the start of an operation
// until its progress window is shown, then the window. While one exists the editor is busy:
// requests from outside (files handed over by another editor process) wait until it is not.
// User-interface thread.
class CEditorLengthyOperationUI final : public NSCourier::ILengthyOperationUI {
public:
    std::unique_ptr<NSCourier::IBusyGuard> CreateBusyGuard() override;
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow(NSCourier::CLengthyOperation& operation,
                                                                    const std::string& title,
                                                                    bool stoppable) override;

    // Whether an operation is running (its busy guard or its window exists).
    bool IsBusy() const { return fBusyCount > 0; }

private:
    int fBusyCount = 0;
};

}  // namespace NSQuillet
