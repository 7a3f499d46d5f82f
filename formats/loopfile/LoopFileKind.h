#pragma once

namespace NSQuillet {

// The kinds of loop file: this program's own (LUX2) and the two legacy AIFF-based kinds.
enum class ELoopFileKind { kNone, kLUX2, kLUX, kQLT };

}  // namespace NSQuillet
