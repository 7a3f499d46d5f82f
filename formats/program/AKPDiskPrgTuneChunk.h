#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'tune': the program's tuning, 22 bytes, always the defaults.
class CAKPDiskPrgTuneChunk final : public CAKPDiskChunk {
public:
    CAKPDiskPrgTuneChunk();
};

}  // namespace NSQuillet
