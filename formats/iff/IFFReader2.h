#pragma once

#include "formats/iff/IFFReader.h"

namespace NSQuillet {

// Walks the members of a group body held in one media: the first starts at 0, each next one at
// the end of the last, rounded up to even; a start at or beyond the media's end ends the walk.
class CIFFReader2 : public CIFFReader {
public:
    explicit CIFFReader2(CMedia& media, EIFFByteOrder byteOrder = EIFFByteOrder::kBigEndian)
        : CIFFReader(media, byteOrder) {}

    // Each reads the member's header into the descriptor and answers false at the end (the
    // descriptor then says kNone). Header failures as for ReadHeader. Next after the end, or
    // before First, is an XIllegalCallSequence.
    bool First() { return ReadMemberAt(0); }
    bool Next();
    // From the first member: the first of `kind` whose id (plain chunks) or type (groups) is
    // `idOrType`.
    bool Find(EIFFChunkKind kind, TChunkId idOrType);

private:
    bool ReadMemberAt(uint64_t position);
};

}  // namespace NSQuillet
