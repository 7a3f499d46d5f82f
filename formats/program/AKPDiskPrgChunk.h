#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'prg ': the program header, 6 bytes, holding the number of keygroups.
class CAKPDiskPrgChunk final : public CAKPDiskChunk {
public:
    CAKPDiskPrgChunk();
    void SetKeygroupCount(uint16_t count) { SetU16(2, count); }
};

}  // namespace NSQuillet
