#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace NSQuillet {

// The output peak meter: held levels (linear, 1.0 = full scale) falling by 0.98 per 64 samples
// at 44.1 kHz, drawn on a 0..999 scale from −90 dB to 0 dB. User-interface thread only.
class CPeakMeterModel {
public:
    static constexpr int32_t kTop = 999;
    // −90 dB: below it a held level no longer falls.
    static constexpr double kFloorLevel = 3.162278e-5;

    // One idle tick: the player's peaks since the last read (`right` only counts when
    // `stereo`; a mono signal shows on both bars), its clip flag, and the milliseconds since
    // the last tick (a negative time is none).
    void Tick(double left, double right, bool stereo, bool clipped, double elapsedMilliseconds);

    double GetHeldLevel(int32_t channel) const { return fHeld[std::size_t(channel & 1)]; }
    int32_t GetPosition(int32_t channel) const { return PositionOfLevel(GetHeldLevel(channel)); }
    bool IsClipped() const { return fClipped; }

    // 999 at 0 dB and above, 0 at −90 dB and below.
    static int32_t PositionOfLevel(double level);
    // How many of a bar's `segmentCount` lamps a position lights from the bottom: a lamp is lit
    // once the position passes its lower edge, so any level above −90 dB lights one and 0 dB all.
    static int32_t LitSegments(int32_t position, int32_t segmentCount);

private:
    std::array<double, 2> fHeld{};
    bool fClipped = false;
};

// The transient shaper's gain-change meter: the smallest and largest gain factors (1.0 = no
// change) held and falling back toward 1.0 by 0.995 of their distance per 64 samples at
// 44.1 kHz while they lie outside the no-change band. User-interface thread only.
class CGainChangeMeterModel {
public:
    // 1 ± 10^−1.2.
    static constexpr double kBandLow = 0.9369043;
    static constexpr double kBandHigh = 1.0630957;
    static bool IsInsideBand(double factor) { return factor >= kBandLow && factor <= kBandHigh; }

    // One idle tick: the factors the player reports and the milliseconds since the last tick
    // (a negative time is none).
    void Tick(double smallest, double largest, double elapsedMilliseconds);

    double GetSmallest() const { return fSmallest; }
    double GetLargest() const { return fLargest; }

    // The meter's lamps on either side of no change: one a dB of change away from 0 dB, the
    // first lit at 1 dB, so a factor held inside the no-change band (±0.57 dB) lights none.
    static int32_t LitSegments(double factor, int32_t segmentCount);

private:
    double fSmallest = 1.0;
    double fLargest = 1.0;
};

}  // namespace NSQuillet
