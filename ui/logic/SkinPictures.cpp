#include "ui/logic/SkinPictures.h"

#include <algorithm>

#include "ui/logic/waveform/WaveformMarkerPictures.h"

namespace NSQuilletSkin {

namespace {

std::vector<int32_t> MakeSkinPictureIds() {
    std::vector<int32_t> ids = {11001, 11003, 13100, 13101, 13110, 13111, 13120, 13121, 13300, 13301,
                                13400, 13401, 13410, 13411, 13412, 13420, 13421, 13422};
    for (int32_t id = 14100; id <= 14134; ++id) ids.push_back(id);
    for (int32_t id = 14150; id <= 14153; ++id) ids.push_back(id);
    for (int32_t id = 16000; id <= 16012; ++id) ids.push_back(id);
    for (int32_t id = 17004; id <= 17009; ++id) ids.push_back(id);
    return ids;
}

}  // namespace

const std::vector<int32_t>& GetSkinPictureIds() {
    static const std::vector<int32_t> ids = MakeSkinPictureIds();
    return ids;
}

bool IsSkinPictureId(int32_t id) {
    const std::vector<int32_t>& ids = GetSkinPictureIds();
    return std::binary_search(ids.begin(), ids.end(), id);
}

int32_t GetNavigatorPictureId(int32_t slot) {
    return slot >= 0 && slot < kNavigatorPictureCount ? 16000 + slot : 0;
}

// The marker pictures' ids come from the waveform logic's table, which also holds their sizes
// and hot spots for hit-testing.
int32_t GetSliceMarkerPictureId(NSQuillet::ESliceKind kind, bool selected) {
    return NSQuillet::GetSliceMarkerPicture(kind, selected).fId;
}

int32_t GetLeftLocatorPictureId(bool active) { return NSQuillet::GetLeftLocatorPicture(active).fId; }
int32_t GetRightLocatorPictureId(bool active) { return NSQuillet::GetRightLocatorPicture(active).fId; }
int32_t GetPlaybackCursorPictureId(bool active) { return NSQuillet::GetPlaybackCursorPicture(active).fId; }

SHotSpot GetPictureHotSpot(int32_t id) {
    switch (id) {
        case 13100: case 13101: case 13110: case 13111: case 13120: case 13121:
            return {5, 17};  // the tip of the 11 × 18 flag
        case 17004: case 17005:
            return {0, 0};
        case 17006: case 17007:
            return {11, 0};  // the right column of the 12-pixel flag
        case 17008: case 17009:
            return {6, 10};  // the tip of the 13 × 11 wedge
        default:
            return {};
    }
}

SPictureSize GetPicturePixelSize(int32_t id) {
    if (id >= 14100 && id <= 14134) return {26, 22};  // push buttons and effect switches
    if (id >= 14150 && id <= 14153) return {12, 12};  // zoom and scroll glyphs
    if (id >= 16000 && id <= 16006) return {24, 24};  // navigator track and grips, nine-slice sources
    switch (id) {
        case 11001: return {360, 120};
        case 11003: return {360, 40};
        case 13100: case 13101: case 13110: case 13111: case 13120: case 13121:
            return {11, 18};
        case 13300: case 13301:
            return {16, 16};
        case 13400: case 13401:
            return {kKnobFrameSize, kKnobFrameSize * kKnobFrameCount};
        case 13410: return {101, 8};
        case 13411: case 13412:
            return {6, 120};
        case 13420: case 13421: case 13422:
            return {24, 24};
        case 16007: return {7, 10};
        case 16008: case 16009:
            return {11, 24};
        case 16010: case 16012:
            return {8, 8};
        case 16011: return {3, 24};
        case 17004: case 17005: case 17006: case 17007:
            return {12, 14};
        case 17008: case 17009:
            return {13, 11};
        default:
            return {};
    }
}

int32_t GetKnobPictureId(bool enabled) { return enabled ? 13400 : 13401; }

int32_t GetButtonPictureId(EButtonPicture button, EButtonState state) {
    return static_cast<int32_t>(button) + static_cast<int32_t>(state);
}

int32_t GetEffectSwitchPictureId(bool on) { return on ? 14134 : 14133; }

}  // namespace NSQuilletSkin
