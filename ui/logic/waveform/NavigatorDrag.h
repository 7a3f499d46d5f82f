#pragma once

#include <cstdint>
#include <optional>

#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

// A drag on the navigator strip. Scroll mode moves the visible range one to one with the
// mouse; zoom mode (a double click or a press with the extend modifier) moves it more slowly
// and scales its width with vertical travel, 1.01 per pixel, down growing.
class CNavigatorDrag {
public:
    enum class EMode { kScroll, kZoom };

    // `navigatorWidth` and `detailWidth` in pixels (the navigator's track, the detail view's
    // content), both at least 1.
    CNavigatorDrag(SVisibleRange range, int32_t frameCount, int32_t navigatorWidth, int32_t detailWidth,
                   int32_t pressX, int32_t pressY, bool doubleClick, bool extend);

    EMode GetMode() const { return fMode; }
    // The range after a move to (x, y); none when it is unchanged.
    std::optional<SVisibleRange> Move(int32_t x, int32_t y);

private:
    EMode fMode;
    SVisibleRange fRange;
    int32_t fStartAtPress;
    int32_t fFrameCount;
    int32_t fNavigatorWidth;
    int32_t fDetailWidth;
    int32_t fPressX;
    int32_t fReferenceY;
};

}  // namespace NSQuillet
