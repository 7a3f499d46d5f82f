#include "ui/waveform/OSLikePushButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>


namespace NSQuillet {

namespace {

constexpr int kButtonWidth = 20;
constexpr int kButtonHeight = 18;
constexpr int kFirstRepeatMs = 350;
constexpr int kRepeatMs = 60;

}  // namespace

COSLikePushButton::COSLikePushButton(int32_t glyphId, QWidget* parent) : QAbstractButton(parent), fGlyphId(glyphId) {
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(true);
    setAutoRepeatDelay(kFirstRepeatMs);
    setAutoRepeatInterval(kRepeatMs);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize COSLikePushButton::sizeHint() const { return QSize(kButtonWidth, kButtonHeight); }

void COSLikePushButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown()) option.state |= QStyle::State_Sunken;
    else option.state |= QStyle::State_Raised;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QPixmap& glyph = fPictures.Get(fGlyphId, *this);
    const QSizeF size = glyph.deviceIndependentSize();
    QPointF at((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
    if (isDown()) at += QPointF(0.0, 1.0);
    painter.setOpacity(isEnabled() ? 1.0 : 0.3);
    painter.drawPixmap(QPointF(qRound(at.x()), qRound(at.y())), glyph);
}

}  // namespace NSQuillet
