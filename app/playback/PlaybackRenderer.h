#pragma once

#include <cstdint>
#include <memory>

#include "engine/QuilletSequencer.h"
#include "engine/WaveSample.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Plays the sequencer's loop from its position for `frames` output frames, exactly as the
// audio thread would hear it, into a new stereo wave sample at the sequencer's output rate and
// `bitDepth` (16 or 24). Floats are rounded and clamped to the depth. The sequencer must have
// no audio thread: this call is its audio thread. Progress 0..1000; Stop is XAbort "user
// pressed stop". User-interface thread.
std::unique_ptr<CABCWaveSample> RenderLoopPlayback(CQuilletSequencer& sequencer, int32_t frames, int32_t bitDepth,
                                                   IProgressReporter* progress);

}  // namespace NSQuillet
