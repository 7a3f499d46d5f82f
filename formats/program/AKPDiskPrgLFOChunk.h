#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'lfo ': one of the program's two LFOs, 14 bytes, always the defaults.
class CAKPDiskPrgLFOChunk final : public CAKPDiskChunk {
public:
    CAKPDiskPrgLFOChunk();
};

}  // namespace NSQuillet
