#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'mods': the program's 17 modulation source pairs, 38 bytes, always the defaults.
class CAKPDiskPrgModSrcsChunk final : public CAKPDiskChunk {
public:
    CAKPDiskPrgModSrcsChunk();
};

}  // namespace NSQuillet
