#include "app/playback/LoopRender.h"

#include <cstdint>

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/playback/PlaybackRenderer.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

std::unique_ptr<CABCWaveSample> RenderDocumentLoop(const CQuilletDocument& document, const SLoopRender& render,
                                                   const FSequencerAdjustment& adjust) {
    const CABCWaveSample& sample = document.GetWaveSample();
    CQuilletSequencer sequencer(document.GetSequencer());
    sequencer.SetOutputRate(render.fOutputRate != 0 ? render.fOutputRate : ClampSampleRate(sample.GetSampleRate()));
    if (adjust) adjust(sequencer);

    const int64_t frames = sequencer.SampleFramesToOutputFrames(sequencer.GetLoopFrames()) * render.fRepeat;
    if (frames > INT32_MAX) return nullptr;
    CQuilletLengthyOperation rendering(StringReference(NSStringIds::kOperation_Render).GetText());
    rendering.SetText(StringReference(NSStringIds::kProgress_RenderingLoop).GetText());
    const int32_t bitDepth = render.fBitDepth != 0 ? render.fBitDepth : sample.GetBitDepth();
    return RenderLoopPlayback(sequencer, int32_t(frames), bitDepth, &rendering);
}

}  // namespace NSQuillet
