#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'kloc': where a keygroup sits on the keyboard, 16 bytes; keys 21 to 127 by default.
class CAKPDiskKLOCChunk final : public CAKPDiskChunk {
public:
    CAKPDiskKLOCChunk();
    void SetKeyRange(uint8_t lowKey, uint8_t highKey);
};

}  // namespace NSQuillet
