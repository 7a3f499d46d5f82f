#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/logic/toolbars/KnobModel.h"
#include "ui/waveform/ViewPictures.h"

class QLineEdit;

namespace NSQuillet {

class CQuilletKnobView;
class CKnobValueField;

// Told about a knob's gestures by the knob; the owning toolbar turns each gesture into one
// undo step: value changed sets the parameter, end change closes the step. User-interface
// thread.
class IQuilletKnobViewHandler {
public:
    virtual ~IQuilletKnobViewHandler() = default;
    // A gesture starts: mouse down, the first wheel notch or arrow key of a burst, a typed value.
    virtual void BeginChange(CQuilletKnobView& knob) = 0;
    // Every new value of the gesture.
    virtual void ValueChanged(CQuilletKnobView& knob, int32_t value) = 0;
    // The gesture ends: mouse up, capture lost, the end of a burst, the typed value taken.
    virtual void EndChange(CQuilletKnobView& knob) = 0;
};

// A rotary control drawn from the skin's knob filmstrip: dragged by the mouse (up or right
// increases; Shift fine; Ctrl-click resets to the default), stepped by the wheel over it and by
// the arrow keys while focused (a burst of notches or keys is one gesture), and typed into after
// a double click. Takes the focus by Tab only, so clicks leave the window's keys with the
// waveform. Assistive tools see a dial with its value. User-interface thread.
class CQuilletKnobView : public QWidget {
    Q_OBJECT

public:
    // The text a typing field starts with for a value, in the knob's units.
    using FEntryText = std::function<std::string(int32_t value)>;
    // Turns what the user types into a value in the knob's units; none when it is not one.
    using FParseValue = std::function<std::optional<int32_t>(const std::string& text)>;

    // The value starts at the minimum until the toolbar sets it. `tooltip` is also the
    // accessible name; `name` the object name.
    CQuilletKnobView(QWidget* parent, IQuilletKnobViewHandler& handler, const SKnobSettings& settings,
                     const QString& tooltip, const QString& name);
    ~CQuilletKnobView() override;

    int32_t GetValue() const { return fModel.GetValue(); }
    const CKnobModel& GetModel() const { return fModel; }
    // From the toolbar: clamped, redrawn only when it changes, never reported to the handler.
    void SetValue(int32_t value);
    // The text beside the knob, also its accessible value.
    void SetValueText(const QString& text);
    const QString& GetValueText() const { return fValueText; }
    // What a double click lets the user type; until set, a double click does nothing.
    void SetValueEntry(FEntryText start, FParseValue parse) {
        fEntryText = std::move(start);
        fParseValue = std::move(parse);
    }
    // Overrides the reset value of a Ctrl-click (the tempo knob resets to the loop's tempo).
    void SetResetValue(std::optional<int32_t> value) { fResetValue = value; }

    // One whole gesture to `value` (clamped): begin, the value, end; nothing when it is the
    // value already. A typed entry and assistive tools change the knob this way.
    void PerformValueChange(int32_t value);
    // The typing field while a double click has it open, else null.
    QLineEdit* GetValueEntryField() const;
    // A wheel or key burst is one gesture; it ends this long after its last notch or key.
    static constexpr int kBurstEndMilliseconds = 500;
    bool IsInBurst() const { return fInBurst; }
    bool IsDragging() const { return fDragging; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What a key does to the knob: notches to step, or an end to jump to; none for keys it
    // leaves to the window.
    struct SKeyAction {
        int32_t fNotches = 0;
        std::optional<int32_t> fJumpTo;
    };
    std::optional<SKeyAction> KeyAction(const QKeyEvent& event) const;
    void EndDrag();
    void StepBy(int32_t notches, bool fine);
    void JumpTo(int32_t value);
    void ContinueBurst();
    void EndBurst();
    // Ends whatever gesture is open: on hiding, disabling, losing the window.
    void EndGestures();
    void ValueShown();
    void OpenValueEntry();
    void TakeValueEntry();
    void CloseValueEntry();

    IQuilletKnobViewHandler& fHandler;
    CKnobModel fModel;
    CViewPictures fPictures;
    QString fValueText;
    FEntryText fEntryText;
    FParseValue fParseValue;
    std::optional<int32_t> fResetValue;
    bool fDragging = false;
    bool fInBurst = false;
    // Wheel travel short of a notch (120 units), kept until the burst ends.
    int fWheelRemainder = 0;
    QTimer fBurstEnd;
    // Lives in the window, which may delete it first.
    QPointer<CKnobValueField> fEntry;
    QPointer<QWidget> fFocusBeforeEntry;
};

// The knob whose equal travel multiplies the value by an equal factor (gain, frequencies).
class CQuilletLogKnobView final : public CQuilletKnobView {
    Q_OBJECT

public:
    // `settings.fScale` is logarithmic.
    CQuilletLogKnobView(QWidget* parent, IQuilletKnobViewHandler& handler, const SKnobSettings& settings,
                        const QString& tooltip, const QString& name);
};

}  // namespace NSQuillet
