#pragma once

#include <cstdint>

#include "engine/WaveSample.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// The fewest bytes of whole words a NUPA stream of this many frames can have: every coded
// value takes at least one bit.
uint64_t MinimumLUX2SoundBytes(uint64_t frameCount, int32_t channelCount);

// Decodes the NUPA stream of an SDAT body into every frame of `sample`, whose depth and
// channels say how it is coded, in blocks of 2^20 frames. Before each block the callback (when
// given) hears the frames done, and answering true is an XAbort "stopped by callback"; after
// the last it hears the total once more. A stream that ends too soon, or holds a code no
// sample has (the codec's XStdDomainError), is an XFormatViolation "bad format"; memory
// running out the out-of-memory failure. With `useSecondProcessor`, when there is one, the
// decoded pieces are stored into the sample on a thread of their own while the next ones
// decode; without, the caller keeps the other processor for work of its own.
void DecodeLUX2Sound(CMedia& body, CABCWaveSample& sample, CLUX2DecompressCallback* callback, bool useSecondProcessor);

}  // namespace NSQuillet
