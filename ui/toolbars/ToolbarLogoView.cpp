#include "ui/toolbars/ToolbarLogoView.h"

#include <QPainter>

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

CToolbarLogoView::CToolbarLogoView(int32_t pictureId, QWidget* parent) : QWidget(parent), fPictureId(pictureId) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CToolbarLogoView::sizeHint() const {
    const NSQuilletSkin::SPictureSize size = NSQuilletSkin::GetPicturePixelSize(fPictureId);
    return QSize(size.fWidth, size.fHeight);
}

void CToolbarLogoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QPointF(0, 0), fPictures.Get(fPictureId, *this));
}

}  // namespace NSQuillet
