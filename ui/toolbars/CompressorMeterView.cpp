#include "ui/toolbars/CompressorMeterView.h"

#include <QPainter>

#include "app/document/QuilletDocument.h"
#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

namespace {

constexpr int32_t kMeterPicture = 13410;
// In the picture's 1x pixels: lamps 4 wide on a pitch of 5 either side of the centre line at
// x = 50, 1 pixel below the top and 6 high.
constexpr int kLampWidth = 4;
constexpr int kLampPitch = 5;
constexpr int kLampTop = 1;
constexpr int kLampHeight = 6;
constexpr int kFirstBoostLamp = 51;
constexpr int kFirstReductionLamp = 46;
// A dark lamp is the lit one under the picture's ground at this opacity.
constexpr qreal kDarkLampCover = 0.8;
constexpr int kMargin = 1;

}  // namespace

CCompressorMeterView::CCompressorMeterView(CQuilletDocument& document, QWidget* parent)
    : QWidget(parent),
      fDocument(document),
      fIdleTicks(*this, [this](double elapsedMilliseconds) {
        float smallest = 1.0f;
        float largest = 1.0f;
        fDocument.TakeShaperGains(smallest, largest);
        Tick(smallest, largest, elapsedMilliseconds);
      }) {
    setObjectName(QStringLiteral("GainChangeMeter"));
    setToolTip(tr("Gain change meter"));
    setAccessibleName(tr("Gain change meter"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CCompressorMeterView::Tick(double smallest, double largest, double elapsedMilliseconds) {
    fModel.Tick(smallest, largest, elapsedMilliseconds);
    const double least = fModel.GetSmallest();
    const double most = fModel.GetLargest();
    const int32_t reduction = least < 1.0 ? CGainChangeMeterModel::LitSegments(least, kLampCount) : 0;
    const int32_t boost = most > 1.0 ? CGainChangeMeterModel::LitSegments(most, kLampCount) : 0;
    if (reduction == fReductionLamps && boost == fBoostLamps) return;
    fReductionLamps = reduction;
    fBoostLamps = boost;
    update();
}

QSize CCompressorMeterView::sizeHint() const {
    const NSQuilletSkin::SPictureSize picture = NSQuilletSkin::GetPicturePixelSize(kMeterPicture);
    return QSize(picture.fWidth + 2 * kMargin, picture.fHeight + 2 * kMargin);
}

QSize CCompressorMeterView::minimumSizeHint() const { return sizeHint(); }

void CCompressorMeterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = fPictures.Get(kMeterPicture, *this);
    const qreal ratio = picture.devicePixelRatio();
    const QSizeF size = QSizeF(picture.size()) / ratio;
    const QPointF origin((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawPixmap(QRectF(origin, size), picture, QRectF(picture.rect()));

    // The ground at a straight part of the top edge covers the lamps that are dark.
    const QRectF ground(3 * ratio, 0, 1, 1);
    painter.setOpacity(kDarkLampCover);
    for (int32_t lamp = 0; lamp < kLampCount; ++lamp) {
        if (lamp >= fReductionLamps) {
            const QRectF at(origin.x() + kFirstReductionLamp - lamp * kLampPitch, origin.y() + kLampTop, kLampWidth,
                            kLampHeight);
            painter.drawPixmap(at, picture, ground);
        }
        if (lamp >= fBoostLamps) {
            const QRectF at(origin.x() + kFirstBoostLamp + lamp * kLampPitch, origin.y() + kLampTop, kLampWidth,
                            kLampHeight);
            painter.drawPixmap(at, picture, ground);
        }
    }
}

}  // namespace NSQuillet
