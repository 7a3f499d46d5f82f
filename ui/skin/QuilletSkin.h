#pragma once

#include <array>
#include <cstdint>

#include "ui/logic/NavigatorSkinMargins.h"
#include "ui/logic/SkinPictures.h"
#include "ui/skin/BitmapFetcher.h"
#include "ui/skin/NavigatorSkin.h"

namespace NSQuilletSkin {

// The navigator's skin: pictures 16000 to 16012 in slot order, each fetched on first use and
// kept, and the margins of the navigator's parts. One for the program's lifetime, made after
// the QApplication and destroyed before it; user-interface thread.
class CQuilletSkin final : public NSNavigator::INavigatorSkin {
public:
    explicit CQuilletSkin(IBitmapFetcher& fetcher);
    ~CQuilletSkin() override;
    CQuilletSkin(const CQuilletSkin&) = delete;
    CQuilletSkin& operator=(const CQuilletSkin&) = delete;

    // The program's skin while one exists, else null.
    static CQuilletSkin* Get();

    const QPixmap& GetTrackPicture() override { return Picture(ENavigatorPicture::kTrack); }
    const QPixmap& GetTrackDisabledPicture() override { return Picture(ENavigatorPicture::kTrackDisabled); }
    const QPixmap& GetGripPicture() override { return Picture(ENavigatorPicture::kGrip); }
    const QPixmap& GetGripHotPicture() override { return Picture(ENavigatorPicture::kGripHot); }
    const QPixmap& GetGripPressedPicture() override { return Picture(ENavigatorPicture::kGripPressed); }
    const QPixmap& GetGripZoomPicture() override { return Picture(ENavigatorPicture::kGripZoom); }
    const QPixmap& GetGripShadowPicture() override { return Picture(ENavigatorPicture::kGripShadow); }
    const QPixmap& GetGripRidgesPicture() override { return Picture(ENavigatorPicture::kGripRidges); }
    const QPixmap& GetGripLeftEndPicture() override { return Picture(ENavigatorPicture::kGripLeftEnd); }
    const QPixmap& GetGripRightEndPicture() override { return Picture(ENavigatorPicture::kGripRightEnd); }
    const QPixmap& GetOutsideShadePicture() override { return Picture(ENavigatorPicture::kOutsideShade); }
    const QPixmap& GetPlaybackCursorPicture() override { return Picture(ENavigatorPicture::kPlaybackCursor); }
    const QPixmap& GetLoopBandPicture() override { return Picture(ENavigatorPicture::kLoopBand); }

    QMargins GetFirstMargins(int32_t part) const override { return Margins(ENavigatorMargins::kFirst, part); }
    QMargins GetSecondMargins(int32_t part) const override { return Margins(ENavigatorMargins::kSecond, part); }
    QMargins GetThirdMargins(int32_t part) const override { return Margins(ENavigatorMargins::kThird, part); }
    QMargins GetFourthMargins(int32_t part) const override { return Margins(ENavigatorMargins::kFourth, part); }

private:
    const QPixmap& Picture(ENavigatorPicture slot);
    static QMargins Margins(ENavigatorMargins which, int32_t part);

    IBitmapFetcher& fFetcher;
    std::array<const QPixmap*, kNavigatorPictureCount> fPictures{};
};

}  // namespace NSQuilletSkin
