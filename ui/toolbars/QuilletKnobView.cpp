#include "ui/toolbars/QuilletKnobView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/logic/SkinCursors.h"
#include "ui/logic/SkinPictures.h"
#include "ui/skin/SkinCursor.h"
#include "ui/window/KeyTranslation.h"

namespace NSQuillet {

namespace {

constexpr int32_t kKnobDragCursor = 870;

}  // namespace

CQuilletKnobView::CQuilletKnobView(QWidget* parent, IQuilletKnobViewHandler& handler, const SKnobSettings& settings,
                                   const QString& tooltip, const QString& name)
    : QWidget(parent), fHandler(handler), fModel(settings) {
    setObjectName(name);
    setToolTip(tooltip);
    setAccessibleName(tooltip);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

CQuilletKnobView::~CQuilletKnobView() = default;

void CQuilletKnobView::SetValue(int32_t value) {
    if (fModel.SetValue(value)) update();
}

void CQuilletKnobView::SetValueText(const QString& text) {
    if (text == fValueText) return;
    fValueText = text;
    setAccessibleDescription(text);
}

QSize CQuilletKnobView::sizeHint() const { return QSize(NSQuilletSkin::kKnobFrameSize, NSQuilletSkin::kKnobFrameSize); }

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
}

void CQuilletKnobView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    const uint32_t modifiers = ModifierBits(event->modifiers());
    fHandler.BeginChange(*this);
    if (const std::optional<int32_t> reset = fModel.Press(at.x(), at.y(), modifiers)) {
        const int32_t value = fResetValue ? *fResetValue : *reset;
        fModel.SetValue(value);
        update();
        fHandler.ValueChanged(*this, fModel.GetValue());
        fHandler.EndChange(*this);
        return;
    }
    fDragging = true;
    setCursor(NSQuilletSkin::GetSkinCursor(kKnobDragCursor, devicePixelRatioF()));
}

void CQuilletKnobView::mouseMoveEvent(QMouseEvent* event) {
    if (!fDragging) return;
    const QPoint at = event->position().toPoint();
    if (const std::optional<int32_t> value = fModel.Move(at.x(), at.y(), ModifierBits(event->modifiers()))) {
        update();
        fHandler.ValueChanged(*this, *value);
    }
}

void CQuilletKnobView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) EndDrag();
}

void CQuilletKnobView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) EndDrag();
        update();
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

CQuilletLogKnobView::CQuilletLogKnobView(QWidget* parent, IQuilletKnobViewHandler& handler,
                                         const SKnobSettings& settings, const QString& tooltip, const QString& name)
    : CQuilletKnobView(parent, handler, settings, tooltip, name) {}

}  // namespace NSQuillet
