#pragma once

namespace NSQuillet {

// Pauses the audio output around a swap of the wave sample, so that the audio callback never
// sees a half-exchanged sample. User-interface thread; Suspend may block (the renderer's lock,
// at most 2000 ms) and throws when it cannot pause; Resume is called once per Suspend.
class IAudioSuspender {
public:
    virtual void Suspend() = 0;
    virtual void Resume() = 0;

protected:
    ~IAudioSuspender() = default;
};

}  // namespace NSQuillet
