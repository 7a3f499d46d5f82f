#include "ui/waveform/ViewPictures.h"

#include <QWidget>

namespace NSQuillet {

const QPixmap& CViewPictures::Get(int32_t id, const QWidget& widget) { return Get(id, widget.devicePixelRatioF()); }

const QPixmap& CViewPictures::Get(int32_t id, qreal devicePixelRatio) {
    return devicePixelRatio > 1.0 ? fTwice.FetchBitmap(id) : fPlain.FetchBitmap(id);
}

}  // namespace NSQuillet
