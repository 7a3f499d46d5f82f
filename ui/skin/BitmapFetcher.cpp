#include "ui/skin/BitmapFetcher.h"

#include <QGuiApplication>

#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "ui/logic/SkinPictures.h"
#include "ui/skin/SkinResources.h"

namespace NSQuilletSkin {

CSkinBitmapFetcher::CSkinBitmapFetcher() : CSkinBitmapFetcher(qApp ? qApp->devicePixelRatio() : 1.0) {}

CSkinBitmapFetcher::CSkinBitmapFetcher(qreal devicePixelRatio) : fDevicePixelRatio(devicePixelRatio) {}

const QPixmap& CSkinBitmapFetcher::FetchBitmap(int32_t id) {
    if (!IsSkinPictureId(id))
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_NotFound, "Unknown bitmap ID type");
    auto found = fPictures.find(id);
    if (found == fPictures.end()) found = fPictures.emplace(id, LoadSkinPicture(id, fDevicePixelRatio > 1.0)).first;
    return found->second;
}

}  // namespace NSQuilletSkin
