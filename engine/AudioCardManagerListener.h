#pragma once

namespace NSQuillet {

class CAudioCardManager;

// Told of every change of device, output rate or working state; reads what it needs from the
// manager. User-interface thread.
class IAudioCardManagerListener {
public:
    virtual void AudioCardChanged(CAudioCardManager& manager) = 0;

protected:
    ~IAudioCardManagerListener() = default;
};

}  // namespace NSQuillet
