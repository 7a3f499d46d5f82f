#pragma once

#include "engine/WaveSample.h"
#include "formats/media/Media.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Writes every frame of `sample` as one NUPA stream at the media's position (an SDAT body),
// in blocks of 2^20 frames with progress 0..1000 after each; a stop requested after a block is
// an XAbort "stopped by lop". `progress` may be null. Memory running out is the out-of-memory
// failure; media failures pass through.
void EncodeLUX2Sound(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress);

}  // namespace NSQuillet
