#pragma once

#include <cstdint>

namespace NSQuillet {

// Audio read one channel at a time in 16-bit scale: what the overview summarises. Never
// allocates, locks or blocks.
class ISixteenBitFrameReader {
public:
    // Channel 1 (left or mono) or 2 (right): the frames of [start, start + count) into `out`,
    // those outside the audio as 0; returns how many were inside.
    virtual int32_t Get16s(int32_t start, int32_t count, int16_t* out, int32_t channel) const = 0;

protected:
    ~ISixteenBitFrameReader() = default;
};

}  // namespace NSQuillet
