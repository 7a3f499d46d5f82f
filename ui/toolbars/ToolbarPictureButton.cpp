#include "ui/toolbars/ToolbarPictureButton.h"

#include <QPainter>

namespace NSQuillet {

namespace {

void Prepare(QAbstractButton& button, const QString& tooltip) {
    button.setCheckable(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setToolTip(tooltip);
    button.setAccessibleName(tooltip);
    button.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

}  // namespace

CToolbarPictureButton::CToolbarPictureButton(NSQuilletSkin::EButtonPicture picture, const QString& tooltip,
                                             QWidget* parent)
    : QAbstractButton(parent), fPicture(picture) {
    Prepare(*this, tooltip);
}

CToolbarPictureButton::CToolbarPictureButton(const QString& tooltip, QWidget* parent)
    : QAbstractButton(parent), fEffectSwitch(true) {
    Prepare(*this, tooltip);
}

int32_t CToolbarPictureButton::GetPictureId() const {
    using NSQuilletSkin::EButtonState;
    if (fEffectSwitch) return NSQuilletSkin::GetEffectSwitchPictureId(isChecked());
    const EButtonState state = !isEnabled()              ? EButtonState::kDisabled
                               : isDown() || isChecked() ? EButtonState::kPressed
                                                         : EButtonState::kNormal;
    return NSQuilletSkin::GetButtonPictureId(fPicture, state);
}

void CToolbarPictureButton::nextCheckState() {
    if (isChecked()) QAbstractButton::nextCheckState();
}

QSize CToolbarPictureButton::sizeHint() const {
    const NSQuilletSkin::SPictureSize size = NSQuilletSkin::GetPicturePixelSize(GetPictureId());
    return QSize(size.fWidth, size.fHeight);
}

void CToolbarPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = fPictures.Get(GetPictureId(), *this);
    const QSizeF size = picture.deviceIndependentSize();
    painter.drawPixmap(QPointF(qRound((width() - size.width()) / 2.0), qRound((height() - size.height()) / 2.0)),
                       picture);
}

}  // namespace NSQuillet
