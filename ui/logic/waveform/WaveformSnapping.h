#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class CABCWaveSample;

// Where a dragged slice lands without the fine modifier: from `position`, the nearest frame
// (forward first, then backward, alternately) whose value is below 1/32 in magnitude in every
// channel, or where the sign changes (strictly positive next to strictly negative) in either
// channel, the later frame on a backward step; at most 25,000 frames each way, the limit
// returned when reached. Reads the sample's frames as float (at most 50,001 per channel), the
// same values the display data would hold. `position` outside the sample is returned as given.
int32_t SnapToZeroCrossing(const CABCWaveSample& sample, int32_t position);
inline constexpr int32_t kZeroCrossingSearchLimit = 25000;
inline constexpr float kZeroCrossingThreshold = 0.03125f;

// Where a dragged locator lands without the fine modifier: 0 before half the first shown
// slice's start, the frame count beyond the last slice's start plus half its distance to the
// end, else the start of the nearest shown slice (the earlier on equal distance).
// `shownStarts` ascending; empty gives `position`.
int32_t SnapLocatorToSlice(const std::vector<int32_t>& shownStarts, int32_t position, int32_t frameCount);

}  // namespace NSQuillet
