#pragma once

#include <cstdint>

namespace NSSoundPortKit2 {

// What a driver calls to fill the device's buffers. Not owned by the driver.
class IRenderer {
public:
    // Device thread. Writes `frames` frames (any count from 1) into every non-null entry of
    // `channels[0 .. channelCount)`; a null entry is an inactive channel, which the driver
    // fills with silence itself. Must never block, lock or allocate.
    virtual void Render(int32_t frames, float* const* channels, int32_t channelCount) = 0;

    // The thread that (re)opened the stream, after the stream runs: the output now runs at
    // `rate` frames per second, another rate than the driver's stream ran at before.
    virtual void RateChanged(uint32_t rate) = 0;

protected:
    ~IRenderer() = default;
};

}  // namespace NSSoundPortKit2
