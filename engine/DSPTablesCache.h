#pragma once

#include <cstdint>

#include "engine/DSPTables.h"

namespace NSQuillet {

// One CDSPTables per output rate for the whole process.
class CDSPTablesCache {
public:
    // User-interface thread: may allocate and waits for the cache's lock. The tables of
    // `outputRate` (clamped to 11025..1000000), built on the first request; they live until the
    // process ends, so the audio thread may keep the pointer.
    static const CDSPTables* Get(uint32_t outputRate);
};

}  // namespace NSQuillet
