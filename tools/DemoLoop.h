#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"

namespace NSQuillet::NSTools {

// The bundled demo loop: two bars of 4/4 at 120 BPM, 44100 Hz, 16-bit stereo, with kick,
// snare and closed hats, from a fixed noise seed: the same loop on every run.
struct SDemoLoop {
    static constexpr uint32_t kSampleRate = 44100;
    static constexpr int32_t kBars = 2;
    static constexpr int32_t kBeatsPerBar = 4;
    static constexpr int32_t kTempo = 120000;  // thousandths of a beat per minute
    static constexpr int32_t kFramesPerBeat = 22050;
    static constexpr int32_t kFrameCount = kBars * kBeatsPerBar * kFramesPerBeat;

    enum EDrum { kKick, kSnare, kHat };
    struct SHit {
        int32_t fFrame;
        EDrum fDrum;
    };

    // Every hit in time order; hits on the same frame are listed kick, snare, hat.
    static std::vector<SHit> GetHits();
    static std::unique_ptr<C16BitWaveSample> Render();
};

}  // namespace NSQuillet::NSTools
