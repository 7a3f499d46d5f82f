#pragma once

#include <cmath>
#include <cstdint>

// Value conversions shared by the 16-bit and 24-bit wave samples.
namespace NSQuillet::NSSampleConversion {

constexpr int32_t kMinimum16 = -32768;
constexpr int32_t kMaximum16 = 32767;
constexpr int32_t kMinimum24 = -8388608;
constexpr int32_t kMaximum24 = 8388607;

// value × scale, rounded half away from zero and clamped to [lowest, highest]; NaN gives 0.
// The product is exact in double for any float and a scale below 2^24.
inline int32_t ScaleRoundClamp(float value, double scale, int32_t lowest, int32_t highest) {
    const double scaled = std::round(double(value) * scale);
    if (std::isnan(scaled)) return 0;
    if (scaled <= lowest) return lowest;
    if (scaled >= highest) return highest;
    return int32_t(scaled);
}

// Truncated toward zero and clamped to the 24-bit range; NaN gives 0. The clamp also keeps
// the conversion defined for values beyond the range of int32_t.
inline int32_t TruncateTo24(float value) {
    if (std::isnan(value)) return 0;
    if (value <= float(kMinimum24)) return kMinimum24;
    if (value >= float(kMaximum24)) return kMaximum24;
    return int32_t(value);
}

// A 24-bit value as 16 bits: value / 256 rounded to the nearest, halves away from zero,
// clamped. Half the error of a shift, no offset, and v × 256 comes back as v.
inline int16_t Round24To16(int32_t value) {
    const int32_t magnitude = ((value < 0 ? -value : value) + 128) >> 8;
    const int32_t rounded = value < 0 ? -magnitude : magnitude;
    return int16_t(rounded < kMinimum16 ? kMinimum16 : rounded > kMaximum16 ? kMaximum16 : rounded);
}

inline int32_t ClampTo24(int32_t value) {
    return value < kMinimum24 ? kMinimum24 : value > kMaximum24 ? kMaximum24 : value;
}

}  // namespace NSQuillet::NSSampleConversion
