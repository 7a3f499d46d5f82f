#pragma once

#include <optional>

namespace NSQuillet {

class CQuilletDocument;
class CQuilletLengthyOperation;

enum class ENormalizeScope { kWholeFile, kEachSlice };

// Peaks at or above this (1 - 2^-14) count as normalized already.
inline constexpr float kNormalizedPeak = 0.99993896484375f;
// The peak search ends once the running peak reaches this (1 - 2^-15).
inline constexpr float kPeakSearchEnd = 0.999969482421875f;

// 1 / peak - 2^-16, in float: the gain that takes a peak just below full scale.
float NormalizeGain(float peak);

// Asks whether to normalize the whole file or each slice; none when the user cancels (or
// there is no one to ask). User-interface thread; blocks while the question is shown.
std::optional<ENormalizeScope> AskNormalizeScope();

// Multiplies the audio by NormalizeGain of its peak (over all channels, as 32-bit floats in
// blocks of 2^20 frames) and commits "Normalize" as one undo step.
// Whole file: the peak of the whole sample. Each slice: every shown slice that is not muted
// over its own range, from its start to the next shown slice (the last to the end); muted
// slices, frames before the first shown slice, and ranges whose peak is 0 or already
// normalized keep their values.
// When nothing would change, says "This sample is already normalized!" and answers false.
// Stop raises the abort "user pressed stop"; the document is then unchanged, as on any failure.
bool Normalize(CQuilletDocument& document, CQuilletLengthyOperation& operation, ENormalizeScope scope);

}  // namespace NSQuillet
