#include "ui/skin/QuilletSkin.h"

namespace NSQuilletSkin {

namespace {

CQuilletSkin* gSkin = nullptr;

}  // namespace

CQuilletSkin::CQuilletSkin(IBitmapFetcher& fetcher) : fFetcher(fetcher) {
    if (!gSkin) gSkin = this;
}

CQuilletSkin::~CQuilletSkin() {
    if (gSkin == this) gSkin = nullptr;
}

CQuilletSkin* CQuilletSkin::Get() { return gSkin; }

const QPixmap& CQuilletSkin::Picture(ENavigatorPicture slot) {
    const auto index = static_cast<size_t>(slot);
    if (!fPictures[index]) fPictures[index] = &fFetcher.FetchBitmap(GetNavigatorPictureId(static_cast<int32_t>(slot)));
    return *fPictures[index];
}

QMargins CQuilletSkin::Margins(ENavigatorMargins which, int32_t part) {
    const SSkinMargins margins = GetNavigatorMargins(which, part);
    return QMargins(margins.fLeft, margins.fTop, margins.fRight, margins.fBottom);
}

}  // namespace NSQuilletSkin
