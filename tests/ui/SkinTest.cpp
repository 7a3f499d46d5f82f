#include <gtest/gtest.h>

#include <QBitmap>
#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <cmath>
#include <cstdint>

#include "tests/support/CaughtFailure.h"
#include "ui/logic/SkinCursors.h"
#include "ui/logic/SkinPictures.h"
#include "ui/skin/BitmapFetcher.h"
#include "ui/skin/QuilletSkin.h"
#include "ui/skin/SkinCursor.h"
#include "ui/skin/SkinResources.h"

namespace NSQuilletSkin {
namespace {

// Opaque somewhere within one pixel of (x, y): anti-aliasing may soften the exact tip.
bool IsDrawnNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(x + dx, y + dy) && qAlpha(image.pixel(x + dx, y + dy)) > 128) return true;
    return false;
}

TEST(SkinTest, EveryPictureLoadsAt1xAndAtTwiceTheSizeWithRatio2) {
    for (int32_t id : GetSkinPictureIds()) {
        const QPixmap single = LoadSkinPicture(id, false);
        const QPixmap twice = LoadSkinPicture(id, true);
        ASSERT_FALSE(single.isNull()) << id;
        ASSERT_FALSE(twice.isNull()) << id;
        EXPECT_EQ(single.devicePixelRatio(), 1.0) << id;
        EXPECT_EQ(twice.devicePixelRatio(), 2.0) << id;
        EXPECT_EQ(twice.size(), single.size() * 2) << id;
        EXPECT_EQ(twice.deviceIndependentSize(), QSizeF(single.size())) << id;
    }
}

TEST(SkinTest, FitsTheirPlaces) {
    // Markers and handles share the 36-pixel marker strip: locators at the top, slice markers
    // and the cursor at the bottom, one pixel above its edge.
    const int32_t markers[] = {13100, 13101, 13110, 13111, 13120, 13121, 17008, 17009};
    for (int32_t id : markers) EXPECT_LE(LoadSkinPicture(id, false).height() + 14 + 1, 36) << id;
    // The knob filmstrips hold their frames stacked.
    for (int32_t id : {13400, 13401}) {
        EXPECT_EQ(LoadSkinPicture(id, false).size(), QSize(kKnobFrameSize, kKnobFrameSize * kKnobFrameCount)) << id;
    }
    // The grip's ends are as wide as the navigator's fourth margins of part 0.
    EXPECT_EQ(LoadSkinPicture(16008, false).width(), 11);
    EXPECT_EQ(LoadSkinPicture(16009, false).width(), 11);
}

TEST(SkinTest, MarkerHotSpotsLieOnTheDrawing) {
    for (int32_t id : {13100, 13101, 13110, 13111, 13120, 13121, 17004, 17005, 17006, 17007, 17008, 17009}) {
        const QImage image = LoadSkinPicture(id, false).toImage();
        const SHotSpot spot = GetPictureHotSpot(id);
        EXPECT_TRUE(IsDrawnNear(image, spot.fX, spot.fY)) << id << " at " << spot.fX << "," << spot.fY;
    }
}

// Mean relative luminance of the opaque pixels.
double MeanLuminance(const QImage& image) {
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = QColor::fromRgba(image.pixel(x, y));
            if (color.alpha() < 255) continue;
            sum += 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
            ++count;
        }
    return count ? sum / count : 0.0;
}

TEST(SkinTest, MarkersDifferInLuminanceNotOnlyInHue) {
    // Selection and the three unselected kinds must be told apart without hue; the selected kinds
    // share the selection's light fill and differ in pattern (solid, hatched, padlock).
    struct SPair {
        int32_t fFirst;
        int32_t fSecond;
    };
    const SPair pairs[] = {{13100, 13101}, {13110, 13111}, {13120, 13121},
                           {13100, 13110}, {13100, 13120}, {13110, 13120}};
    for (const SPair& pair : pairs) {
        const double first = MeanLuminance(LoadSkinPicture(pair.fFirst, true).toImage());
        const double second = MeanLuminance(LoadSkinPicture(pair.fSecond, true).toImage());
        EXPECT_GT(std::abs(first - second), 0.1) << pair.fFirst << " " << first << ", " << pair.fSecond << " " << second;
    }
}

TEST(SkinTest, FetcherServesKeptPicturesInTheRatioOfTheScreen) {
    CSkinBitmapFetcher hidpi(2.0);
    const QPixmap& marker = hidpi.FetchBitmap(13100);
    EXPECT_EQ(marker.devicePixelRatio(), 2.0);
    EXPECT_EQ(marker.size(), QSize(22, 36));
    EXPECT_EQ(&hidpi.FetchBitmap(13100), &marker);
    CSkinBitmapFetcher plain(1.0);
    EXPECT_EQ(plain.FetchBitmap(13100).size(), QSize(11, 18));
    EXPECT_EQ(plain.FetchBitmap(13100).devicePixelRatio(), 1.0);
}

TEST(SkinTest, FetcherRefusesIdsThatAreNotSkinPictures) {
    CSkinBitmapFetcher fetcher(1.0);
    for (int32_t id : {0, -1, 870, 1009, 1401, 11002, 13102, 14135, 16013, 17010}) {
        EXPECT_FAILURE(fetcher.FetchBitmap(id), XNotFound, "Unknown bitmap ID type");
    }
}

TEST(SkinTest, NavigatorSkinGivesItsPicturesInSlotOrderAndTheMargins) {
    CSkinBitmapFetcher fetcher(1.0);
    CQuilletSkin skin(fetcher);
    EXPECT_EQ(CQuilletSkin::Get(), &skin);
    NSNavigator::INavigatorSkin& navigator = skin;
    const QPixmap* pictures[] = {
        &navigator.GetTrackPicture(),        &navigator.GetTrackDisabledPicture(), &navigator.GetGripPicture(),
        &navigator.GetGripHotPicture(),      &navigator.GetGripPressedPicture(),   &navigator.GetGripZoomPicture(),
        &navigator.GetGripShadowPicture(),   &navigator.GetGripRidgesPicture(),    &navigator.GetGripLeftEndPicture(),
        &navigator.GetGripRightEndPicture(), &navigator.GetOutsideShadePicture(),  &navigator.GetPlaybackCursorPicture(),
        &navigator.GetLoopBandPicture(),
    };
    for (int32_t slot = 0; slot < kNavigatorPictureCount; ++slot) {
        EXPECT_FALSE(pictures[slot]->isNull()) << slot;
        EXPECT_EQ(pictures[slot], &fetcher.FetchBitmap(16000 + slot)) << slot;
    }
    EXPECT_EQ(&navigator.GetGripPicture(), pictures[2]);
    EXPECT_EQ(navigator.GetFirstMargins(1), QMargins(2, 2, 2, 2));
    EXPECT_EQ(navigator.GetSecondMargins(0), QMargins(3, 3, 3, 6));
    EXPECT_EQ(navigator.GetThirdMargins(1), QMargins(6, 6, 4, 4));
    EXPECT_EQ(navigator.GetFourthMargins(0), QMargins(11, 0, 11, 0));
    EXPECT_TRUE(navigator.GetFourthMargins(3).isNull());
    EXPECT_TRUE(navigator.GetSecondMargins(-1).isNull());
}

TEST(SkinTest, EveryCursorHasItsPictureAndHotSpotAtBothRatios) {
    for (int32_t id : kCursorIds) {
        const SCursorShape shape = *FindCursorShape(id);
        for (qreal ratio : {1.0, 2.0}) {
            const QCursor cursor = GetSkinCursor(id, ratio);
            EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << id;
            EXPECT_FALSE(cursor.pixmap().isNull()) << id;
            EXPECT_EQ(cursor.pixmap().devicePixelRatio(), ratio) << id;
            EXPECT_EQ(cursor.pixmap().size(), QSize(shape.fSize, shape.fSize) * ratio) << id;
            EXPECT_EQ(cursor.hotSpot(), QPoint(shape.fHotX, shape.fHotY)) << id;
        }
        EXPECT_TRUE(IsDrawnNear(LoadSkinPicture(id, false).toImage(), shape.fHotX, shape.fHotY)) << id;
    }
    EXPECT_FAILURE(GetSkinCursor(1402, 1.0), XNotFound, "Unknown cursor ID");
}

TEST(SkinTest, ApplicationIconHasEveryRenderedSize) {
    const QIcon icon = GetApplicationIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size)) << size;
    }
}

}  // namespace
}  // namespace NSQuilletSkin
