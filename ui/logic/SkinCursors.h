#pragma once

#include <cstdint>
#include <optional>

namespace NSQuilletSkin {

// The program's own cursors, drawn 24 × 24 (1x pixels) with the hot spot where they act:
// 1401 range selection in the marker strip, 1500 magnify drag, 1700 pen insert, 1701 audition,
// 870 knob drag.
struct SCursorShape {
    int32_t fId = 0;
    int32_t fSize = 24;
    int32_t fHotX = 0;
    int32_t fHotY = 0;
};

inline constexpr int32_t kCursorIds[] = {870, 1401, 1500, 1700, 1701};

// The shape of cursor `id`; none for an id that is not one of ours.
std::optional<SCursorShape> FindCursorShape(int32_t id);

}  // namespace NSQuilletSkin
