#pragma once

#include <cstdint>
#include <memory>

#include "engine/WaveSample.h"

namespace NSQuillet {

// What a sample brought to another rate or depth is built from. User-interface thread.

// A silent sample of `bitDepth` (24, else 16) bits; more than 2^31 − 1 frames or no memory is
// the out-of-memory failure.
std::unique_ptr<CABCWaveSample> MakeEmptyWaveSample(uint32_t rate, int64_t frames, int32_t bitDepth, bool stereo);

// The converted frame that holds source frame `frame` (CSampleRateConverter::MapSourceFrame
// with the converter's `step`), at most `limit`.
int32_t MapConvertedFrame(int32_t frame, int64_t step, int64_t limit);

// The source's loop kind and locators on `target`, moved to the frames that hold the same
// audio; a right locator at the source's end stays at the target's end. Nothing without a loop.
void CarryLoopOver(const CABCWaveSample& source, CABCWaveSample& target, int64_t step);

}  // namespace NSQuillet
