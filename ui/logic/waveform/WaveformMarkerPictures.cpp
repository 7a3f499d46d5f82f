#include "ui/logic/waveform/WaveformMarkerPictures.h"

namespace NSQuillet {

SMarkerPicture GetSliceMarkerPicture(ESliceKind kind, bool selected) {
    int32_t base = 13100;
    if (kind == ESliceKind::kMuted) base = 13110;
    if (kind == ESliceKind::kLocked) base = 13120;
    return {base + (selected ? 1 : 0), 11, 18, 5, 17};
}

SMarkerPicture GetLeftLocatorPicture(bool active) { return {active ? 17004 : 17005, 12, 14, 0, 0}; }

SMarkerPicture GetRightLocatorPicture(bool active) { return {active ? 17006 : 17007, 12, 14, 11, 0}; }

SMarkerPicture GetPlaybackCursorPicture(bool active) { return {active ? 17008 : 17009, 13, 11, 6, 10}; }

}  // namespace NSQuillet
