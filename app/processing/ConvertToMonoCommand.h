#pragma once

#include <cstdint>

namespace NSQuillet {

class CQuilletDocument;
class CQuilletLengthyOperation;

// The dialog's choices, in its order and as the preferences store them.
enum class EMonoChoice : int32_t { kLeft = 0, kRight = 1, kMix = 2 };

// Only a stereo sample can be made mono: the menu item is disabled otherwise.
bool CanConvertToMono(const CQuilletDocument& document);

// Replaces the stereo sample by a mono one of the same depth, rate, length and loop, and
// commits "Convert to Mono" as one undo step. Left and right copy that channel's values;
// mix takes (left + right) / 2 of the stored integer values, truncated toward zero. Works in
// blocks of 2^20 frames; Stop raises the abort "user pressed stop" and, as any failure,
// leaves the document unchanged. A mono sample is an XStdLogicError, a choice outside the
// three an XStdInvalidArgument.
void ConvertToMono(CQuilletDocument& document, CQuilletLengthyOperation& operation, EMonoChoice choice);

}  // namespace NSQuillet
