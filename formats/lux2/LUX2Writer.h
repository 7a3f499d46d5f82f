#pragma once

#include "formats/loopfile/LoopFileSettings.h"
#include "formats/media/Media.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

class CABCWaveSample;
class CSliceSequence;

// Writes a whole LUX2 loop file to `media` from its start: header, creator, general,
// product and extra settings, the effects, the slices of `slices` in order, the sample format
// with the loop locators, and the sound encoded in blocks of 2^20 frames with progress
// 0..1000 after each. A stop requested through `progress` is XAbort "stopped by lop".
// `progress` may be null. Every value is clamped into the range the reader accepts, so the file
// always opens again; a sample without frames is an XStdInvalidArgument before anything is
// written.
void WriteLUX2File(CMedia& media, const CABCWaveSample& sample, const CSliceSequence& slices,
                   const SLoopFileSettings& settings, IProgressReporter* progress);

}  // namespace NSQuillet
