#pragma once

#include <cstdint>
#include <vector>

#include "engine/SliceKind.h"

namespace NSQuilletSkin {

// Every picture of the skin, ascending: the About box, slice markers, locator and cursor
// handles, the driver state, knob filmstrips, meters, toolbar logos, push buttons, the zoom
// and scroll glyphs and the navigator strip.
const std::vector<int32_t>& GetSkinPictureIds();
bool IsSkinPictureId(int32_t id);

// The navigator strip's thirteen pictures, in the skin object's slot order (16000 + slot).
enum class ENavigatorPicture : int32_t {
    kTrack,           // the strip's ground, nine-slice
    kTrackDisabled,   // the ground when there is no sound
    kGrip,            // the visible range, nine-slice
    kGripHot,         // the grip under the mouse
    kGripPressed,     // the grip during a scroll drag
    kGripZoom,        // the grip during a zoom drag
    kGripShadow,      // drawn under the grip, nine-slice
    kGripRidges,      // centred on the grip
    kGripLeftEnd,     // the grip's left end, 11 pixels wide
    kGripRightEnd,    // the grip's right end, 11 pixels wide
    kOutsideShade,    // tiled over the parts outside the visible range
    kPlaybackCursor,  // stretched to the strip's height
    kLoopBand,        // tiled between the locators
};
inline constexpr int32_t kNavigatorPictureCount = 13;
// 16000 + slot for slots 0..12, else 0.
int32_t GetNavigatorPictureId(int32_t slot);

// 13100 + 10 × (kind − 1) + selected: normal 13100/13101, muted 13110/13111, locked 13120/13121.
int32_t GetSliceMarkerPictureId(NSQuillet::ESliceKind kind, bool selected);
// The locator and cursor handles: the active look, or the inactive one.
int32_t GetLeftLocatorPictureId(bool active);
int32_t GetRightLocatorPictureId(bool active);
int32_t GetPlaybackCursorPictureId(bool active);

// Where a marker or handle picture stands on its position, in 1x pixels from its top left:
// slice markers and the playback cursor point down at their bottom tip, the left locator's
// straight edge is its left side, the right locator's its right side. Other pictures: {0, 0}.
struct SHotSpot {
    int32_t fX = 0;
    int32_t fY = 0;
    bool operator==(const SHotSpot& other) const { return fX == other.fX && fY == other.fY; }
};
SHotSpot GetPictureHotSpot(int32_t id);

// A picture's size in 1x pixels, as its skin source declares it; {0, 0} for an id that is not
// a picture of the skin.
struct SPictureSize {
    int32_t fWidth = 0;
    int32_t fHeight = 0;
    bool operator==(const SPictureSize& other) const { return fWidth == other.fWidth && fHeight == other.fHeight; }
};
SPictureSize GetPicturePixelSize(int32_t id);

// The knob filmstrips: frames of kKnobFrameSize × kKnobFrameSize pixels stacked top to bottom,
// frame 0 at the minimum; 13400 for an enabled knob, 13401 for a disabled one.
inline constexpr int32_t kKnobFrameCount = 64;
inline constexpr int32_t kKnobFrameSize = 28;
int32_t GetKnobPictureId(bool enabled);

// The effect toolbars' logos.
inline constexpr int32_t kEqualizerLogoPictureId = 13420;
inline constexpr int32_t kTransientShaperLogoPictureId = 13421;
inline constexpr int32_t kEnvelopeLogoPictureId = 13422;

// Push buttons: a picture id is the button's base id plus its state.
enum class EButtonPicture : int32_t {
    kArrowTool = 14100,
    kMuteTool = 14103,
    kLockTool = 14106,
    kPenTool = 14109,
    kStop = 14112,
    kPlayLoop = 14115,
    kPlayPreviousSlice = 14118,
    kPlayCurrentSlice = 14121,
    kPlayCurrentSliceAndNext = 14124,
    kPreviewToggle = 14127,
    kSilenceSelected = 14130,
};
// kPressed is also the look of a toggle that is on and of the current tool.
enum class EButtonState : int32_t { kNormal = 0, kPressed = 1, kDisabled = 2 };
int32_t GetButtonPictureId(EButtonPicture button, EButtonState state);
// An effect's on/off button is never disabled: 14133 off, 14134 on.
int32_t GetEffectSwitchPictureId(bool on);

// The waveform group's zoom and scroll glyphs; the vertical zoom buttons use the zoom ones.
inline constexpr int32_t kZoomInPictureId = 14150;
inline constexpr int32_t kZoomOutPictureId = 14151;
inline constexpr int32_t kScrollLeftPictureId = 14152;
inline constexpr int32_t kScrollRightPictureId = 14153;

}  // namespace NSQuilletSkin
