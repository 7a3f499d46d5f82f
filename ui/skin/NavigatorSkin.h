#pragma once

#include <QMargins>
#include <QPixmap>

#include <cstdint>

namespace NSNavigator {

// What the navigator strip draws with: thirteen pictures and the insets of its three parts.
// User-interface thread.
class INavigatorSkin {
public:
    virtual ~INavigatorSkin() = default;
    virtual const QPixmap& GetTrackPicture() = 0;
    virtual const QPixmap& GetTrackDisabledPicture() = 0;
    virtual const QPixmap& GetGripPicture() = 0;
    virtual const QPixmap& GetGripHotPicture() = 0;
    virtual const QPixmap& GetGripPressedPicture() = 0;
    virtual const QPixmap& GetGripZoomPicture() = 0;
    virtual const QPixmap& GetGripShadowPicture() = 0;
    virtual const QPixmap& GetGripRidgesPicture() = 0;
    virtual const QPixmap& GetGripLeftEndPicture() = 0;
    virtual const QPixmap& GetGripRightEndPicture() = 0;
    virtual const QPixmap& GetOutsideShadePicture() = 0;
    virtual const QPixmap& GetPlaybackCursorPicture() = 0;
    virtual const QPixmap& GetLoopBandPicture() = 0;
    // Insets (left, top, right, bottom) of part 0, 1 or 2; empty for any other part.
    virtual QMargins GetFirstMargins(int32_t part) const = 0;
    virtual QMargins GetSecondMargins(int32_t part) const = 0;
    virtual QMargins GetThirdMargins(int32_t part) const = 0;
    virtual QMargins GetFourthMargins(int32_t part) const = 0;
};

}  // namespace NSNavigator
