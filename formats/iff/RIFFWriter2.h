#pragma once

#include "formats/iff/IFFWriter.h"

namespace NSQuillet {

// RIFF chunks and groups with little-endian sizes.
class CRIFFWriter2 : public CIFFWriter {
public:
    explicit CRIFFWriter2(CMedia& media) : CIFFWriter(media, EIFFByteOrder::kLittleEndian) {}

    // Each writes the group id, a placeholder size and `type`; EndChunk completes the group.
    void BeginRiff(TChunkId type) { BeginGroup(kChunkId_RIFF, type); }
    void BeginList(TChunkId type) { BeginGroup(kChunkId_LIST, type); }
};

}  // namespace NSQuillet
