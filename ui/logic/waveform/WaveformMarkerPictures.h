#pragma once

#include <cstdint>

#include "engine/SliceKind.h"

namespace NSQuillet {

// The skin pictures of the detail view's markers, as the hit rectangles need them: picture
// id, size and hot spot in 1x pixels. The skin's picture table takes the marker ids from here
// (the waveform logic stands below the skin's library); a test keeps sizes and hot spots equal.
struct SMarkerPicture {
    int32_t fId = 0;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
    int32_t fHotX = 0;
    int32_t fHotY = 0;
};

// 13100 + 10 × (kind − 1) + selected, 11 × 18, the tip at (5, 17).
SMarkerPicture GetSliceMarkerPicture(ESliceKind kind, bool selected);
// 17004 active / 17005 inactive, 12 × 14, its straight left edge at (0, 0).
SMarkerPicture GetLeftLocatorPicture(bool active);
// 17006 / 17007, 12 × 14, its straight right edge at (11, 0).
SMarkerPicture GetRightLocatorPicture(bool active);
// 17008 / 17009, 13 × 11, the tip at (6, 10).
SMarkerPicture GetPlaybackCursorPicture(bool active);

}  // namespace NSQuillet
