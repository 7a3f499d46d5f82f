#pragma once

namespace NSQuillet {

// Told when the wave player starts and stops playing for it. User-interface thread, outside
// the wave player's lock.
class IWavePlayerListener {
public:
    virtual void WavePlayerStarted() = 0;
    virtual void WavePlayerStopped() = 0;

protected:
    ~IWavePlayerListener() = default;
};

}  // namespace NSQuillet
