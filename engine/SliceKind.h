#pragma once

#include <cstdint>

namespace NSQuillet {

// Stored as a 32-bit value; the numbers are those of the loop files.
enum class ESliceKind : int32_t {
    kNormal = 1,
    kMuted = 2,
    kLocked = 3,
};

}  // namespace NSQuillet
