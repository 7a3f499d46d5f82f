#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>

#include "tests/ui/logic/waveform/WaveformPrinting.h"
#include "ui/logic/waveform/NavigatorDrag.h"

namespace NSQuillet {
namespace {

// 100000 frames, a 200 px navigator, a 1000 px detail view showing [10000, 20000), pressed at (50, 10).
constexpr int32_t kFrames = 100000;

CNavigatorDrag Press(bool doubleClick, bool extend, SVisibleRange range = {10000, 20000}) {
    return CNavigatorDrag(range, kFrames, 200, 1000, 50, 10, doubleClick, extend);
}

TEST(NavigatorDragTest, ADoubleClickOrTheExtendModifierSelectsZoomMode) {
    EXPECT_EQ(Press(false, false).GetMode(), CNavigatorDrag::EMode::kScroll);
    EXPECT_EQ(Press(true, false).GetMode(), CNavigatorDrag::EMode::kZoom);
    EXPECT_EQ(Press(false, true).GetMode(), CNavigatorDrag::EMode::kZoom);
}

TEST(NavigatorDragTest, ScrollModeFollowsTheMouseOneToOne) {
    // k = 1 / 200: a navigator pixel is 500 frames.
    const struct {
        int32_t fX;
        int32_t fY;
        SVisibleRange fExpected;
    } moves[] = {
        {60, 10, {15000, 25000}},     // 10 px
        {51, 99, {10500, 20500}},     // from the press, not the last move; vertical travel ignored
        {-1000, 10, {0, 10000}},      // clamped at 0
        {1000, 10, {90000, 100000}},  // clamped at the frame count − the width
    };
    CNavigatorDrag drag = Press(false, false);
    for (const auto& move : moves) EXPECT_EQ(drag.Move(move.fX, move.fY), move.fExpected) << move.fX;
    EXPECT_EQ(drag.Move(1000, 10), std::nullopt);  // unchanged
}

TEST(NavigatorDragTest, ZoomModeMovesSlowerAndScalesAroundTheCentre) {
    CNavigatorDrag drag = Press(true, false);
    // k = min(1 / 200, 5 × 10000 / (200 × 100000)) = 0.0025: 10 px are 2500 frames.
    EXPECT_EQ(drag.Move(60, 10), (SVisibleRange{12500, 22500}));

    drag = Press(true, false);
    // 10 px down: 10 × 1.01^10 = 11.0462 frames per pixel, 11046.2 frames around 15000.
    EXPECT_EQ(drag.Move(50, 20), (SVisibleRange{9477, 20523}));
    // That range is the new reference: no travel since, no change.
    EXPECT_EQ(drag.Move(50, 20), std::nullopt);
    // k = 5 × 11046 / (200 × 100000) = 0.0027615; 4 px: floor(1104.6 + 0.5) = 1105.
    EXPECT_EQ(drag.Move(54, 20), (SVisibleRange{10582, 21628}));
}

TEST(NavigatorDragTest, ZoomModeWidthStopsAtTheDeepestZoomAndAtTheSampleEnds) {
    CNavigatorDrag drag = Press(true, false);
    // Far up: 0.0625 frames per pixel, 62.5 frames around 15000.
    EXPECT_EQ(drag.Move(50, -2000), (SVisibleRange{14969, 15031}));

    drag = Press(false, true, {0, 10000});
    // 100 px down: 10 × 1.01^100 = 27.048 frames per pixel; [5000 − 13524.07, 5000 + 13524.07] cut at 0.
    EXPECT_EQ(drag.Move(50, 110), (SVisibleRange{0, 18524}));
}

}  // namespace
}  // namespace NSQuillet
