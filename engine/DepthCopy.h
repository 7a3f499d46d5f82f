#pragma once

#include <cstdint>

#include "engine/SampleConversion.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

// Copies frames start..start + count − 1 of `channel` from `source` to the same frames of
// `target` at the target's depth, exactly: 16 to 24 bits is v × 256, 24 to 16 rounds v / 256 to
// the nearest (Round24To16). `values` and, for a 16-bit target, `narrowed` hold `count` each.
// Never allocates.
inline void CopyAtTargetDepth(const CABCWaveSample& source, CABCWaveSample& target, int32_t start, int32_t count,
                              int32_t channel, int32_t* values, int16_t* narrowed) {
    source.Get24s(start, count, values, channel);
    if (target.GetBitDepth() == 24) {
        target.Set24s(start, count, values, channel);
        return;
    }
    for (int32_t i = 0; i < count; ++i) narrowed[i] = NSSampleConversion::Round24To16(values[i]);
    target.Set16s(start, count, narrowed, channel);
}

}  // namespace NSQuillet
