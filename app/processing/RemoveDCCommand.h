#pragma once

#include <cstdint>

namespace NSQuillet {

class CABCWaveSample;
class CQuilletDocument;
class CQuilletLengthyOperation;

// The one-pole low-pass at 10 Hz whose output Remove DC subtracts: exp(-2π × 10 / rate) for
// the clamped rate, in float.
float RemoveDCCoefficient(uint32_t sampleRate);

// Subtracts each channel's 10 Hz low-pass from it and commits "Remove DC" as one undo step.
// The filter starts from a backward run over the first 5 seconds (or the whole channel when
// shorter), so a constant offset is gone from the first frame on. Works in blocks of 2^20
// frames, the two channels of a stereo sample at once (RunChannelsInParallel); Stop raises
// the abort "user pressed stop" and, as any failure, leaves the document unchanged.
void RemoveDC(CQuilletDocument& document, CQuilletLengthyOperation& operation);

// The same values written over `sample` itself, which no document holds, with the same text
// and progress: for a result that is only written out, with no undo to keep the original for.
// Stop raises the abort "user pressed stop" and leaves the sample part filtered.
void RemoveDCInPlace(CABCWaveSample& sample, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
