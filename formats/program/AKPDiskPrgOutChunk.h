#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'out ': the program's output settings, 8 bytes, always the defaults.
class CAKPDiskPrgOutChunk final : public CAKPDiskChunk {
public:
    CAKPDiskPrgOutChunk();
};

}  // namespace NSQuillet
