#pragma once

#include <atomic>

namespace NSQuillet {

// The output level of the audio that a sequencer plays: the largest magnitude per channel and
// whether any value had to be clamped, held until the meter reads them. Lock-free both ways.
class CLevelMeter {
public:
    struct SReading {
        float fLeftPeak = 0.0f;
        float fRightPeak = 0.0f;
        bool fClipped = false;
    };

    // Audio thread. Never blocks or allocates.
    void Report(float leftPeak, float rightPeak, bool clipped);
    // User-interface thread. What was reported since the last call; starts anew.
    SReading Take();

private:
    std::atomic<float> fLeftPeak{0.0f};
    std::atomic<float> fRightPeak{0.0f};
    std::atomic<bool> fClipped{false};
};

}  // namespace NSQuillet
