#pragma once

#include <cstdint>

#include "engine/AudioSource.h"
#include "engine/WavePlayer.h"
#include "tests/engine/AllocationFaults.h"

namespace NSQuilletTest {

// The wave player as the renderer's source, counting every allocation of the device's thread
// from its first callback on.
class CWatchingSource final : public NSQuillet::IAudioSource {
public:
    explicit CWatchingSource(NSQuillet::CWavePlayer& player) : fPlayer(player) {}
    void Render(float* left, float* right, int32_t count) override {
        if (!fWatching) {
            WatchThisThread();
            fWatching = true;
        }
        fPlayer.Render(left, right, count);
    }
    void StopPlayback() override { fPlayer.Stop(); }

private:
    NSQuillet::CWavePlayer& fPlayer;
    bool fWatching = false;
};

}  // namespace NSQuilletTest
