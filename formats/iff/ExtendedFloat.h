#pragma once

#include <cstdint>

namespace NSQuillet {

// An 80-bit IEEE extended number as stored big-endian (sign and 15-bit exponent, then a 64-bit
// mantissa with an explicit integer bit). Infinities and NaNs come back as NaN; values too
// small for a double as 0.
double ExtendedFloatToDouble(const uint8_t (&bytes)[10]);

}  // namespace NSQuillet
