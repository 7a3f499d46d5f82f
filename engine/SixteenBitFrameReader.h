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
    // The channel's values in place when they are stored as 16-bit values, null otherwise and
    // for a channel the audio lacks; readers then take the copies of Get16s.
    virtual const int16_t* Get16Values(int32_t channel) const {
        (void)channel;
        return nullptr;
    }

protected:
    ~ISixteenBitFrameReader() = default;
};

}  // namespace NSQuillet
