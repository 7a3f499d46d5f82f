#include "formats/iff/ExtendedFloat.h"

#include <cmath>
#include <limits>

namespace NSQuillet {

namespace {

constexpr int kExponentBias = 16383;
constexpr int kMantissaBits = 63;  // below the explicit integer bit
constexpr uint32_t kExponentMask = 0x7FFF;

}  // namespace

double ExtendedFloatToDouble(const uint8_t (&bytes)[10]) {
    const bool negative = (bytes[0] & 0x80) != 0;
    const uint32_t exponent = ((uint32_t(bytes[0]) << 8) | bytes[1]) & kExponentMask;
    uint64_t mantissa = 0;
    for (int i = 2; i < 10; ++i) mantissa = (mantissa << 8) | bytes[i];
    if (exponent == kExponentMask) return std::numeric_limits<double>::quiet_NaN();
    const double magnitude = std::ldexp(double(mantissa), int(exponent) - kExponentBias - kMantissaBits);
    return negative ? -magnitude : magnitude;
}

}  // namespace NSQuillet
