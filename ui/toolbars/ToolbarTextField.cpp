#include "ui/toolbars/ToolbarTextField.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace NSQuillet {

CToolbarTextField::CToolbarTextField(QWidget* parent) : QLineEdit(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CToolbarTextField::ShowText(const QString& text, bool evenWhileTyping) {
    if ((hasFocus() && !evenWhileTyping) || text == this->text()) return;
    setText(text);
}

void CToolbarTextField::Take() {
    // Taking the text may show an alert, which takes the focus and would take the text again.
    if (fTaking) return;
    fTaking = true;
    if (isModified() && fTake) fTake(text());
    setModified(false);
    fTaking = false;
}

void CToolbarTextField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Take();
            break;
        case Qt::Key_Escape:
            setModified(false);
            break;
        default:
            QLineEdit::keyPressEvent(event);
            return;
    }
    event->accept();
    if (fLeave) fLeave();
    if (fShow) fShow();
}

void CToolbarTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window or a popup coming to the front leaves the typing as it is.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    Take();
    // The focus has gone, so the field shows the document's value at once.
    if (!fTaking && fShow) fShow();
}

}  // namespace NSQuillet
