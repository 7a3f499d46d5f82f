#pragma once

#include <cstdint>

#include "formats/iff/ChunkId.h"

namespace NSQuillet {

enum class EIFFChunkKind { kNone, kChunk, kForm, kCat, kList, kRiff };

// One found or open chunk, positions in the media that contains it.
struct SIFFChunkDescriptor {
    EIFFChunkKind fKind = EIFFChunkKind::kNone;
    TChunkId fId = 0;
    TChunkId fType = 0;       // groups only
    uint64_t fStart = 0;      // of the header
    uint64_t fSize = 0;       // the size field: for a group, the type and the members
    uint64_t fBodyStart = 0;  // after the header; for a group, after the type
    uint64_t fBodySize = 0;   // for a group, fSize - 4

    bool IsGroup() const { return fKind != EIFFChunkKind::kChunk && fKind != EIFFChunkKind::kNone; }
    // Where the next member begins: the end of this one, padded to an even position.
    uint64_t NextStart() const { return (fStart + 8 + fSize + 1) & ~uint64_t(1); }
};

}  // namespace NSQuillet
