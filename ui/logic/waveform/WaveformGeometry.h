#pragma once

#include <cstdint>

namespace NSQuillet {

// A rectangle in view pixels, origin top left.
struct SViewRect {
    int32_t fLeft = 0;
    int32_t fTop = 0;
    int32_t fWidth = 0;
    int32_t fHeight = 0;

    int32_t Right() const { return fLeft + fWidth; }
    int32_t Bottom() const { return fTop + fHeight; }
    bool Contains(int32_t x, int32_t y) const { return x >= fLeft && x < Right() && y >= fTop && y < Bottom(); }
    friend bool operator==(const SViewRect& a, const SViewRect& b) {
        return a.fLeft == b.fLeft && a.fTop == b.fTop && a.fWidth == b.fWidth && a.fHeight == b.fHeight;
    }
};

// The frames the detail view shows, [fStart, fEnd).
struct SVisibleRange {
    int32_t fStart = 0;
    int32_t fEnd = 0;

    int32_t Width() const { return fEnd - fStart; }
    friend bool operator==(const SVisibleRange& a, const SVisibleRange& b) {
        return a.fStart == b.fStart && a.fEnd == b.fEnd;
    }
    friend bool operator!=(const SVisibleRange& a, const SVisibleRange& b) { return !(a == b); }
};

// The detail view's layout and its frame/pixel mapping: the content is the view inset 10 px
// left and right, its top 36 px the marker strip, the rest the waveform.
class CWaveformGeometry {
public:
    static constexpr int32_t kContentInset = 10;
    static constexpr int32_t kMarkerStripHeight = 36;

    CWaveformGeometry() = default;
    // `viewWidth` × `viewHeight` pixels showing `range`.
    CWaveformGeometry(int32_t viewWidth, int32_t viewHeight, SVisibleRange range);

    const SVisibleRange& GetRange() const { return fRange; }
    void SetRange(SVisibleRange range) { fRange = range; }
    int32_t GetViewWidth() const { return fViewWidth; }
    int32_t GetViewHeight() const { return fViewHeight; }

    // The content rectangle (also the auto-scroll area), the marker strip and the waveform.
    SViewRect GetContent() const;
    SViewRect GetMarkerStrip() const;
    SViewRect GetWaveformArea() const;
    int32_t GetContentLeft() const { return kContentInset; }
    // At least 1, so the mapping never divides by zero.
    int32_t GetContentWidth() const;

    // floor(left + width × (frame − start) / (end − start) + 0.5), in double.
    int32_t FrameToX(int32_t frame) const;
    // (x − left) × (end − start) / width + start, clamped to [low, high], then floor(f + 0.5).
    int32_t XToFrame(double x, int32_t low, int32_t high) const;
    // (end − start) / width, in double.
    double FramesPerPixel() const;

private:
    int32_t fViewWidth = 0;
    int32_t fViewHeight = 0;
    SVisibleRange fRange;
};

}  // namespace NSQuillet
