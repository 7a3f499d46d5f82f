#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/QuilletSequencer.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

class CQuilletDocument;

// How the loop is rendered into a sound.
struct SLoopRender {
    // Plays of the loop, 1 or more.
    int64_t fRepeat = 1;
    // Hz; 0: the sample's own rate, clamped.
    uint32_t fOutputRate = 0;
    // 16 or 24; 0: the sample's own depth.
    int32_t fBitDepth = 0;
};

// Changes the copy of the document's sequencer before it plays: the render's own pitch, gain
// and effect settings.
using FSequencerAdjustment = std::function<void(CQuilletSequencer& sequencer)>;

// The document's loop played `fRepeat` times by a copy of its preview sequencer, set to the
// output rate and then adjusted, exactly as the audio thread would hear it
// (RenderLoopPlayback), under the lengthy operation "Render" with "Rendering loop…". Null when
// the render would be longer than a wave sample holds (2^31 - 1 frames): nothing is rendered
// then. Stop is XAbort "user pressed stop". User-interface thread.
std::unique_ptr<CABCWaveSample> RenderDocumentLoop(const CQuilletDocument& document, const SLoopRender& render,
                                                   const FSequencerAdjustment& adjust = nullptr);

}  // namespace NSQuillet
