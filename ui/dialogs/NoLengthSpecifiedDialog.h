#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

#include "app/document/LoopLengthRequest.h"

class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace NSQuillet {

// Asks for the bars of a loop that has no length: a number field taking digits only, at most
// 999; OK only while the number is above 0.
class CNoLengthSpecifiedDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CNoLengthSpecifiedDialog(QWidget* parent = nullptr);

    // The number entered when it is above 0, else none.
    std::optional<int32_t> GetBars() const;

    QLineEdit* GetBarsField() const { return fBarsField; }
    QPushButton* GetOKButton() const { return fOKButton; }
    QPushButton* GetCancelButton() const { return fCancelButton; }

    void accept() override;

private:
    void UpdateOKButton();

    QLineEdit* fBarsField;
    QPushButton* fOKButton;
    QPushButton* fCancelButton;
};

// The editor's loop-length request: the dialog above, modal over `parent`.
class CDialogLoopLengthRequest final : public ILoopLengthRequest {
public:
    explicit CDialogLoopLengthRequest(QWidget* parent) : fParent(parent) {}
    std::optional<int32_t> AskLoopLengthBars() override;

private:
    QWidget* fParent;
};

}  // namespace NSQuillet
