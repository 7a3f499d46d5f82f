#pragma once

#include <QLineEdit>

#include <functional>

namespace NSQuillet {

// A toolbar's text field: takes the focus by a click only; Enter takes the text, Escape drops
// it, and both give the focus back to the window so that its keys reach the waveform again.
// Leaving the field by a click elsewhere in the window takes the text as Enter does; another
// window coming to the front leaves it being typed. While the field has the focus the toolbar
// leaves its text alone. User-interface thread.
class CToolbarTextField final : public QLineEdit {
    Q_OBJECT

public:
    // `text` is what the user typed.
    using FTake = std::function<void(const QString& text)>;
    using FAction = std::function<void()>;

    explicit CToolbarTextField(QWidget* parent = nullptr);

    // What taking the text does; afterwards the field shows the document's value (FShow).
    void SetTake(FTake take) { fTake = std::move(take); }
    // Shows the document's value: after taking or dropping the text, and on each refresh while
    // the field has no focus.
    void SetShow(FAction show) { fShow = std::move(show); }
    // Gives the focus back to the window.
    void SetLeave(FAction leave) { fLeave = std::move(leave); }

    // The toolbar's refresh: the text when it differs and, unless `evenWhileTyping`, the field
    // has no focus.
    void ShowText(const QString& text, bool evenWhileTyping = false);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Take();

    FTake fTake;
    FAction fShow;
    FAction fLeave;
    bool fTaking = false;
};

}  // namespace NSQuillet
