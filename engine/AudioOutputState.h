#pragma once

#include <cstdint>

namespace NSQuillet {

// What the wave player needs to know of the audio output. User-interface thread.
class IAudioOutputState {
public:
    // Frames per second of the device.
    virtual uint32_t GetOutputRate() const = 0;
    // The device calls the renderer now (not released, not failed, not closed).
    virtual bool IsOutputRunning() const = 0;
    // A device is open and has not failed: playing makes sense.
    virtual bool IsOutputWorking() const = 0;

protected:
    ~IAudioOutputState() = default;
};

}  // namespace NSQuillet
