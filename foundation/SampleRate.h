#pragma once

#include <cstdint>

namespace NSQuillet {

constexpr uint32_t kMinimumSampleRate = 11025;
constexpr uint32_t kMaximumSampleRate = 1000000;

// Whether the program works in `rate`: the limits included.
constexpr bool IsSampleRateInRange(int64_t rate) { return rate >= kMinimumSampleRate && rate <= kMaximumSampleRate; }

// Every sample rate used in arithmetic goes through this clamp.
constexpr uint32_t ClampSampleRate(uint32_t rate) {
    return rate < kMinimumSampleRate ? kMinimumSampleRate : rate > kMaximumSampleRate ? kMaximumSampleRate : rate;
}

}  // namespace NSQuillet
