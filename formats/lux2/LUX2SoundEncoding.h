#pragma once

#include "engine/WaveSample.h"
#include "formats/media/Media.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Writes every frame of `sample` as one NUPA stream at the media's position (an SDAT body),
// in blocks of 2^20 frames with progress 0..1000 after each; a stop requested after a block is
// an XAbort "stopped by lop". `progress` may be null. Memory running out is the out-of-memory
// failure; media failures pass through. A sound of 2^17 frames or more is predicted on a second
// thread a few pieces ahead; the media, the progress and the failures stay on the calling
// thread, and the bits are the same.
void EncodeLUX2Sound(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress);

}  // namespace NSQuillet
