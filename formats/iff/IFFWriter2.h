#pragma once

#include "formats/iff/IFFWriter.h"

namespace NSQuillet {

// IFF chunks and groups with big-endian sizes.
class CIFFWriter2 : public CIFFWriter {
public:
    explicit CIFFWriter2(CMedia& media) : CIFFWriter(media, EIFFByteOrder::kBigEndian) {}

    // Each writes the group id, a placeholder size and `type`; EndChunk completes the group.
    void BeginForm(TChunkId type) { BeginGroup(kChunkId_FORM, type); }
    void BeginCat(TChunkId type) { BeginGroup(kChunkId_CAT, type); }
    void BeginList(TChunkId type) { BeginGroup(kChunkId_LIST, type); }
};

}  // namespace NSQuillet
