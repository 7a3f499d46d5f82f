#pragma once

#include <cstdint>

#include "formats/OutputBitStream.h"

namespace NSQuillet {

// Puts one zigzag code with Golomb divisor `divisor` (at least 1): quotient runs of at most
// seven zeros, each full run quadrupling the divisor, a one, then the remainder in truncated
// binary for the final divisor.
void PutNUPACode(COutputBitStream& stream, uint32_t code, uint32_t divisor);

}  // namespace NSQuillet
