#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

// One kind of the loop data a copy hands out, or a paste takes in.
enum class EClipboardLoopKind { kWave, kMidi, kLux2 };

struct SClipboardLoop {
    EClipboardLoopKind fKind = EClipboardLoopKind::kWave;
    std::vector<uint8_t> fBytes;
};

}  // namespace NSQuillet
