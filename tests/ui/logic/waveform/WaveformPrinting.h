#pragma once

#include <ostream>

#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

// Readable ranges in failure messages.
inline std::ostream& operator<<(std::ostream& out, const SVisibleRange& range) {
    return out << "[" << range.fStart << ", " << range.fEnd << ")";
}

}  // namespace NSQuillet
