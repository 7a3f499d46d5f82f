#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'filt': a keygroup's filter, 10 bytes, always the defaults.
class CAKPDiskFilterChunk final : public CAKPDiskChunk {
public:
    CAKPDiskFilterChunk();
};

}  // namespace NSQuillet
