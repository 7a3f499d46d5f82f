#include "ui/toolbars/QuilletKnobView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "ui/logic/SkinCursors.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/WindowKeys.h"
#include "ui/skin/SkinCursor.h"
#include "ui/window/KeyTranslation.h"

namespace NSQuillet {

namespace {

constexpr int32_t kKnobDragCursor = 870;
constexpr int kWheelNotch = 120;
constexpr int32_t kPageNotches = 10;
// The focus ring runs between the knob's body (radius 10) and its value track (from 11.5).
constexpr qreal kFocusRingRadius = 10.75;
constexpr qreal kFocusRingWidth = 1.5;

// The knob to assistive tools: a dial with a value interface.
class CKnobAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CKnobAccessible(CQuilletKnobView* knob) : QAccessibleWidget(knob, QAccessible::Dial) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value) {
            return Knob().GetValueText().isEmpty() ? QString::number(Knob().GetValue()) : Knob().GetValueText();
        }
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override { return Knob().GetValue(); }
    void setCurrentValue(const QVariant& value) override {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number) || !Knob().isEnabled()) return;
        const SKnobSettings& settings = Knob().GetModel().GetSettings();
        Knob().PerformValueChange(int32_t(std::clamp(std::round(number), double(settings.fMinimum),
                                                     double(settings.fMaximum))));
    }
    QVariant maximumValue() const override { return Knob().GetModel().GetSettings().fMaximum; }
    QVariant minimumValue() const override { return Knob().GetModel().GetSettings().fMinimum; }
    // The smallest move of the arrow keys: the fine notch of a linear knob; a logarithmic
    // knob's steps vary with the value, its smallest is one unit.
    QVariant minimumStepSize() const override {
        const SKnobSettings& settings = Knob().GetModel().GetSettings();
        if (settings.fScale == EKnobScale::kLogarithmic) return 1;
        return std::max(1, int(settings.fFineRate));
    }

private:
    CQuilletKnobView& Knob() const { return *static_cast<CQuilletKnobView*>(widget()); }
};

QAccessibleInterface* KnobAccessibleFactory(const QString&, QObject* object) {
    if (auto* knob = qobject_cast<CQuilletKnobView*>(object)) return new CKnobAccessible(knob);
    return nullptr;
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

// The typing field a double click opens over a knob. Enter takes the text, Escape and losing
// the focus cancel; no key typed into it reaches the window.
class CKnobValueField final : public QLineEdit {
public:
    CKnobValueField(QWidget* parent, std::function<void()> enter, std::function<void()> cancel)
        : QLineEdit(parent), fEnter(std::move(enter)), fCancel(std::move(cancel)) {}

    // After this the field tells nobody anything; it is on its way out.
    void Detach() {
        fEnter = nullptr;
        fCancel = nullptr;
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (IsEnterKey(key) || key == Qt::Key_Escape) {
                event->accept();
                return true;
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (IsEnterKey(event->key())) {
            if (fEnter) fEnter();
        } else if (event->key() == Qt::Key_Escape) {
            if (fCancel) fCancel();
        } else {
            QLineEdit::keyPressEvent(event);
        }
        event->accept();
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        // The field's own context menu takes the focus for a while.
        if (event->reason() != Qt::PopupFocusReason && fCancel) fCancel();
    }

private:
    std::function<void()> fEnter;
    std::function<void()> fCancel;
};

CQuilletKnobView::CQuilletKnobView(QWidget* parent, IQuilletKnobViewHandler& handler, const SKnobSettings& settings,
                                   const QString& tooltip, const QString& name)
    : QWidget(parent), fHandler(handler), fModel(settings) {
    static const bool factoryInstalled = (QAccessible::installFactory(&KnobAccessibleFactory), true);
    (void)factoryInstalled;
    setObjectName(name);
    setToolTip(tooltip);
    setAccessibleName(tooltip);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fBurstEnd.setSingleShot(true);
    fBurstEnd.setInterval(kBurstEndMilliseconds);
    connect(&fBurstEnd, &QTimer::timeout, this, [this] { EndBurst(); });
}

CQuilletKnobView::~CQuilletKnobView() {
    // The field lives in the window, which may outlast the knob.
    if (CKnobValueField* field = fEntry.data()) {
        field->Detach();
        delete field;
    }
}

void CQuilletKnobView::SetValue(int32_t value) {
    if (fModel.SetValue(value)) ValueShown();
}

void CQuilletKnobView::SetValueText(const QString& text) {
    if (text == fValueText) return;
    fValueText = text;
    setAccessibleDescription(text);
}

void CQuilletKnobView::PerformValueChange(int32_t value) {
    EndGestures();
    const SKnobSettings& settings = fModel.GetSettings();
    value = std::clamp(value, settings.fMinimum, settings.fMaximum);
    if (value == fModel.GetValue()) return;
    fHandler.BeginChange(*this);
    fModel.SetValue(value);
    ValueShown();
    fHandler.ValueChanged(*this, fModel.GetValue());
    fHandler.EndChange(*this);
}

QLineEdit* CQuilletKnobView::GetValueEntryField() const { return fEntry.data(); }

QSize CQuilletKnobView::sizeHint() const { return QSize(NSQuilletSkin::kKnobFrameSize, NSQuilletSkin::kKnobFrameSize); }

bool CQuilletKnobView::event(QEvent* event) {
    // The knob's keys come before any window shortcut on the same key.
    if (event->type() == QEvent::ShortcutOverride && KeyAction(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CQuilletKnobView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& strip = fPictures.Get(NSQuilletSkin::GetKnobPictureId(isEnabled()), *this);
    const qreal ratio = strip.devicePixelRatio();
    const int frame = fModel.GetFrameIndex(NSQuilletSkin::kKnobFrameCount);
    const int side = int(NSQuilletSkin::kKnobFrameSize * ratio);
    const QRectF source(0, frame * side, side, side);
    const QRectF target((width() - NSQuilletSkin::kKnobFrameSize) / 2, (height() - NSQuilletSkin::kKnobFrameSize) / 2,
                        NSQuilletSkin::kKnobFrameSize, NSQuilletSkin::kKnobFrameSize);
    painter.drawPixmap(target, strip, source);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusRingWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(target.center(), kFocusRingRadius, kFocusRingRadius);
    }
}

void CQuilletKnobView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    EndBurst();
    if (fEntry) CloseValueEntry();
    if (fDragging) EndDrag();
    const QPoint at = event->position().toPoint();
    const uint32_t modifiers = ModifierBits(event->modifiers());
    fHandler.BeginChange(*this);
    if (const std::optional<int32_t> reset = fModel.Press(at.x(), at.y(), modifiers)) {
        fModel.SetValue(fResetValue ? *fResetValue : *reset);
        ValueShown();
        fHandler.ValueChanged(*this, fModel.GetValue());
        fHandler.EndChange(*this);
        return;
    }
    fDragging = true;
    setCursor(NSQuilletSkin::GetSkinCursor(kKnobDragCursor, devicePixelRatioF()));
}

void CQuilletKnobView::mouseMoveEvent(QMouseEvent* event) {
    if (!fDragging) return;
    // The release went elsewhere (a window took the mouse): the drag is over.
    if (!(event->buttons() & Qt::LeftButton)) return EndDrag();
    const QPoint at = event->position().toPoint();
    if (const std::optional<int32_t> value = fModel.Move(at.x(), at.y(), ModifierBits(event->modifiers()))) {
        ValueShown();
        fHandler.ValueChanged(*this, *value);
    }
}

void CQuilletKnobView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) EndDrag();
}

void CQuilletKnobView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    // The first click already made its gesture: the second press changes nothing by itself.
    if ((ModifierBits(event->modifiers()) & kModifier_Magnify) != 0) return;
    if (fEntryText && fParseValue) return OpenValueEntry();
    mousePressEvent(event);
}

void CQuilletKnobView::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (fDragging) return;
    QPoint delta = event->angleDelta();
    // A touchpad may give only pixels; they add up to notches the same way.
    if (delta.isNull()) delta = event->pixelDelta();
    int units = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    if (event->inverted()) units = -units;
    fWheelRemainder += units;
    const int notches = fWheelRemainder / kWheelNotch;
    fWheelRemainder -= notches * kWheelNotch;
    if (notches != 0) {
        StepBy(notches, (ModifierBits(event->modifiers()) & kModifier_Extend) != 0);
    } else if (fInBurst) {
        fBurstEnd.start();
    }
}

std::optional<CQuilletKnobView::SKeyAction> CQuilletKnobView::KeyAction(const QKeyEvent& event) const {
    // Ctrl, Alt and Meta combinations stay the window's.
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) return std::nullopt;
    const SKnobSettings& settings = fModel.GetSettings();
    switch (event.key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            return SKeyAction{1, std::nullopt};
        case Qt::Key_Down:
        case Qt::Key_Left:
            return SKeyAction{-1, std::nullopt};
        case Qt::Key_PageUp:
            return SKeyAction{kPageNotches, std::nullopt};
        case Qt::Key_PageDown:
            return SKeyAction{-kPageNotches, std::nullopt};
        case Qt::Key_Home:
            return SKeyAction{0, settings.fMinimum};
        case Qt::Key_End:
            return SKeyAction{0, settings.fMaximum};
        default:
            return std::nullopt;
    }
}

void CQuilletKnobView::keyPressEvent(QKeyEvent* event) {
    const std::optional<SKeyAction> action = KeyAction(*event);
    if (!action || fDragging) {
        event->ignore();
        return;
    }
    event->accept();
    if (action->fJumpTo) {
        JumpTo(*action->fJumpTo);
    } else {
        StepBy(action->fNotches, (event->modifiers() & Qt::ShiftModifier) != 0);
    }
}

void CQuilletKnobView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CQuilletKnobView::focusOutEvent(QFocusEvent* event) {
    EndBurst();
    QWidget::focusOutEvent(event);
    update();
}

void CQuilletKnobView::hideEvent(QHideEvent* event) {
    EndGestures();
    QWidget::hideEvent(event);
}

void CQuilletKnobView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) EndGestures();
        update();
    } else if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        // Another window took the mouse and keys: no release will come.
        EndDrag();
    }
    QWidget::changeEvent(event);
}

void CQuilletKnobView::EndDrag() {
    if (!fDragging) return;
    fDragging = false;
    fModel.Release();
    unsetCursor();
    fHandler.EndChange(*this);
}

void CQuilletKnobView::StepBy(int32_t notches, bool fine) {
    ContinueBurst();
    if (const std::optional<int32_t> value = fModel.Nudge(notches, fine)) {
        ValueShown();
        fHandler.ValueChanged(*this, *value);
    }
}

void CQuilletKnobView::JumpTo(int32_t value) {
    ContinueBurst();
    if (fModel.SetValue(value)) {
        ValueShown();
        fHandler.ValueChanged(*this, fModel.GetValue());
    }
}

void CQuilletKnobView::ContinueBurst() {
    if (!fInBurst) {
        fInBurst = true;
        fHandler.BeginChange(*this);
    }
    fBurstEnd.start();
}

void CQuilletKnobView::EndBurst() {
    fWheelRemainder = 0;
    if (!fInBurst) return;
    fBurstEnd.stop();
    fInBurst = false;
    fHandler.EndChange(*this);
}

void CQuilletKnobView::EndGestures() {
    if (fEntry) CloseValueEntry();
    EndDrag();
    EndBurst();
}

void CQuilletKnobView::ValueShown() {
    update();
    QAccessibleValueChangeEvent changed(this, fModel.GetValue());
    QAccessible::updateAccessibility(&changed);
}

void CQuilletKnobView::OpenValueEntry() {
    EndDrag();
    EndBurst();
    if (fEntry) return;
    // In the window, not in the knob: the field is wider than the knob and must not be clipped.
    QWidget* host = isWindow() ? this : window();
    fFocusBeforeEntry = QApplication::focusWidget();
    fEntry = new CKnobValueField(
        host, [this] { TakeValueEntry(); }, [this] { CloseValueEntry(); });
    fEntry->setObjectName(objectName() + QStringLiteral("Entry"));
    fEntry->setAccessibleName(accessibleName());
    fEntry->setAlignment(Qt::AlignCenter);
    fEntry->setText(QString::fromStdString(fEntryText(fModel.GetValue())));
    const QFontMetrics metrics = fEntry->fontMetrics();
    const int wide = metrics.horizontalAdvance(QStringLiteral("450.000")) + 2 * metrics.averageCharWidth() + 8;
    const int width = std::max({wide, this->width(), metrics.horizontalAdvance(fEntry->text()) + 12});
    const int height = fEntry->sizeHint().height();
    const QPoint centre = mapTo(host, rect().center());
    QRect geometry(centre.x() - width / 2, centre.y() - height / 2, width, height);
    geometry.moveLeft(std::clamp(geometry.left(), 0, std::max(0, host->width() - width)));
    geometry.moveTop(std::clamp(geometry.top(), 0, std::max(0, host->height() - height)));
    fEntry->setGeometry(geometry);
    fEntry->show();
    fEntry->raise();
    fEntry->setFocus(Qt::OtherFocusReason);
    fEntry->selectAll();
}

void CQuilletKnobView::TakeValueEntry() {
    if (!fEntry) return;
    const std::optional<int32_t> value = fParseValue(fEntry->text().toStdString());
    if (!value) {
        QApplication::beep();
        fEntry->selectAll();
        return;
    }
    CloseValueEntry();
    PerformValueChange(*value);
}

void CQuilletKnobView::CloseValueEntry() {
    if (!fEntry) return;
    CKnobValueField* field = fEntry.data();
    fEntry = nullptr;
    field->Detach();
    // The focus goes back to where it was, unless it has already gone elsewhere.
    if (field->hasFocus()) {
        if (fFocusBeforeEntry && fFocusBeforeEntry->isVisible()) {
            fFocusBeforeEntry->setFocus(Qt::OtherFocusReason);
        } else {
            field->clearFocus();
        }
    }
    field->hide();
    field->deleteLater();
    fFocusBeforeEntry = nullptr;
}

CQuilletLogKnobView::CQuilletLogKnobView(QWidget* parent, IQuilletKnobViewHandler& handler,
                                         const SKnobSettings& settings, const QString& tooltip, const QString& name)
    : CQuilletKnobView(parent, handler, settings, tooltip, name) {}

}  // namespace NSQuillet
