#pragma once

#include <cstdint>
#include <memory>

namespace NSQuillet {

class CABCWaveSample;
class CQuilletDocument;
class CQuilletLengthyOperation;

// Convert Sample Format: the document's audio at `targetRate` (clamped to 11025..1000000)
// and `targetBitDepth` (16 or 24, else XStdInvalidArgument), with the slices and locators
// moved to the frames that hold the same audio, committed as one step "Convert Sample
// Format". Stop ends it with the abort "user pressed stop" and the document, its history and
// its modified state as they were. When the sample already has that rate and depth nothing
// is done and nothing is committed.
//
// User-interface thread; holds the old and the new sample at once.
void ConvertSampleFormat(CQuilletDocument& document, CQuilletLengthyOperation& operation, uint32_t targetRate,
                         int32_t targetBitDepth);

// The audio part of the command. A new rate runs every channel through a sample-rate
// converter twice: pass 1 ("Converting sample rate (Pass 1)…") finds the peak, pass 2
// ("Converting sample rate (Pass 2)…") writes the audio at the target depth, scaled by
// 1 / peak when the peak exceeds full scale (1.0, written as 32767 or 8388607) and unscaled
// otherwise, so nothing clips or wraps. The length becomes ⌈length × 2^19 / step⌉, the frames
// whose place lies inside the source. At the sample's own rate only the depth changes, in
// one pass ("Converting sample rate (Pass 2)…") of exact integer copies: 16 to 24 bits is
// v × 256; 24 to 16 bits rounds v / 256 to the nearest, halves away from zero, clamped to
// −32768..32767 (half the error of a shift and no offset, and a 16-bit sample taken to 24
// bits comes back unchanged). The loop kind and locators are carried over.
std::unique_ptr<CABCWaveSample> ConvertWaveSampleFormat(const CABCWaveSample& source, uint32_t targetRate,
                                                        int32_t targetBitDepth, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
