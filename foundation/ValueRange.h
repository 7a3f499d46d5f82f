#pragma once

#include <cstdint>

namespace NSQuillet {

// The values a setting or a stored field may hold, both ends included: readers refuse others,
// writers and controls clamp into it.
struct SValueRange {
    int64_t fLowest;
    int64_t fHighest;

    constexpr bool Contains(int64_t value) const { return value >= fLowest && value <= fHighest; }
    constexpr int64_t Clamp(int64_t value) const {
        return value < fLowest ? fLowest : value > fHighest ? fHighest : value;
    }
};

constexpr bool operator==(const SValueRange& a, const SValueRange& b) {
    return a.fLowest == b.fLowest && a.fHighest == b.fHighest;
}
constexpr bool operator!=(const SValueRange& a, const SValueRange& b) { return !(a == b); }

}  // namespace NSQuillet
