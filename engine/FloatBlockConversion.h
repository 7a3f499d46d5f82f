#pragma once

#include <cstdint>

// Float-to-integer conversion of whole blocks for the 16-bit and 24-bit wave samples.
namespace NSQuillet::NSSampleConversion {

// to[i] = ScaleRoundClamp(from[i], 32767, kMinimum16, kMaximum16) for i < count, bit for bit.
void ScaleRoundClamp16(const float* from, int16_t* to, int32_t count);
// to[i] = ScaleRoundClamp(from[i], 8388607, kMinimum24, kMaximum24) for i < count, bit for bit.
void ScaleRoundClamp24(const float* from, int32_t* to, int32_t count);

}  // namespace NSQuillet::NSSampleConversion
