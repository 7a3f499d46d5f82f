#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "foundation/SampleRate.h"

namespace NSQuillet {

// The formats that Convert Sample Format and the loop render write: any rate the program works
// in (IsSampleRateInRange) and a depth of 16 or 24 bits.
inline constexpr std::array<int32_t, 2> kTargetBitDepths = {16, 24};

constexpr bool IsTargetBitDepth(int32_t bits) { return bits == kTargetBitDepths[0] || bits == kTargetBitDepths[1]; }

// The limits as a usage text: "11025..1000000 Hz, 16 or 24 bits".
std::string DescribeTargetSampleFormats();

}  // namespace NSQuillet
