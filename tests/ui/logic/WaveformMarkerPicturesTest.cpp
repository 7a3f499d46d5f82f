#include <gtest/gtest.h>

#include <cstdint>

#include "ui/logic/SkinPictures.h"
#include "ui/logic/waveform/WaveformMarkerPictures.h"

namespace NSQuillet {
namespace {

// The waveform logic keeps its own copy of the marker pictures' geometry; it must match the
// skin's picture table, which the widgets draw from.
void ExpectSameAsSkin(const SMarkerPicture& picture, int32_t skinId) {
    EXPECT_EQ(picture.fId, skinId);
    EXPECT_EQ((NSQuilletSkin::SPictureSize{picture.fWidth, picture.fHeight}), NSQuilletSkin::GetPicturePixelSize(skinId))
        << skinId;
    EXPECT_EQ((NSQuilletSkin::SHotSpot{picture.fHotX, picture.fHotY}), NSQuilletSkin::GetPictureHotSpot(skinId))
        << skinId;
}

TEST(WaveformMarkerPicturesTest, EveryMarkerPictureMatchesTheSkinTable) {
    for (ESliceKind kind : {ESliceKind::kNormal, ESliceKind::kMuted, ESliceKind::kLocked}) {
        for (bool selected : {false, true})
            ExpectSameAsSkin(GetSliceMarkerPicture(kind, selected),
                             NSQuilletSkin::GetSliceMarkerPictureId(kind, selected));
    }
    for (bool active : {false, true}) {
        ExpectSameAsSkin(GetLeftLocatorPicture(active), NSQuilletSkin::GetLeftLocatorPictureId(active));
        ExpectSameAsSkin(GetRightLocatorPicture(active), NSQuilletSkin::GetRightLocatorPictureId(active));
        ExpectSameAsSkin(GetPlaybackCursorPicture(active), NSQuilletSkin::GetPlaybackCursorPictureId(active));
    }
}

}  // namespace
}  // namespace NSQuillet
