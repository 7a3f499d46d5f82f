#pragma once

#include <cstdint>

namespace NSQuillet {

// What the audio renderer plays: the wave player.
class IAudioSource {
public:
    // Audio thread. Writes `count` frames into both buffers; never blocks or allocates.
    virtual void Render(float* left, float* right, int32_t count) = 0;
    // User-interface thread. Ends what plays; may wait for the audio thread (bounded).
    virtual void StopPlayback() = 0;

protected:
    ~IAudioSource() = default;
};

}  // namespace NSQuillet
