#include "ui/skin/SkinResources.h"

#include <QImageReader>

// The resources live in a static library: registered once, before the first look-up.
static void InitialiseSkinResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(quillet_skin);
        return true;
    }();
    (void)done;
}

namespace NSQuilletSkin {

QString GetSkinPicturePath(int32_t id, bool twice) {
    return QStringLiteral(":/skin/%1%2.png").arg(id).arg(twice ? QStringLiteral("@2x") : QString());
}

QPixmap LoadSkinPicture(int32_t id, bool twice) {
    InitialiseSkinResources();
    QImageReader reader(GetSkinPicturePath(id, twice), "png");
    QImage image = reader.read();
    if (image.isNull()) return {};
    image.setDevicePixelRatio(twice ? 2.0 : 1.0);
    return QPixmap::fromImage(std::move(image));
}

QIcon GetApplicationIcon() {
    InitialiseSkinResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/quillet.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace NSQuilletSkin
