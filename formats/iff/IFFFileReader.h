#pragma once

#include <memory>
#include <vector>

#include "formats/iff/IFFReader2.h"
#include "formats/media/PartialMedia.h"

namespace NSQuillet {

// Navigates the tree of groups and chunks of an IFF file (big-endian sizes) held in a media.
// Each open group or chunk is a level whose body is a bounded, read-only child media, so format
// code can never read past its chunk. The media must outlive the reader; media returned by
// GetMedia live until their level is left. Structural damage is an XFormatViolation "".
class CIFFFileReader {
public:
    explicit CIFFFileReader(CMedia& media, EIFFByteOrder byteOrder = EIFFByteOrder::kBigEndian);
    ~CIFFFileReader();
    CIFFFileReader(const CIFFFileReader&) = delete;
    CIFFFileReader& operator=(const CIFFFileReader&) = delete;

    // Search the innermost group (the whole media at first) from its first member and open the
    // match as a new level. Searching inside a plain chunk is an XIllegalCallSequence.
    // Not found: EnterCat and FindChunk throw an XFormatViolation "", the others answer false.
    void EnterCat(TChunkId type);
    bool EnterForm(TChunkId type);
    bool EnterList(TChunkId type);
    void FindChunk(TChunkId id);
    bool FindOptionalChunk(TChunkId id);

    // Member walk of the innermost group: FirstChunk opens its first member as a level;
    // NextChunk replaces that member's level by the next member's. At the end both answer false
    // and leave the group innermost. NextChunk with no member open is an XIllegalCallSequence.
    bool FirstChunk();
    bool NextChunk();
    // Members of the innermost group, counted by walking them.
    uint64_t ChunkCount();

    // The innermost level's body, positioned at 0 when the level was opened.
    CMedia& GetMedia() const { return *fLevels.back().fBody; }
    uint64_t GetChunkSize() const { return fLevels.back().fBody->GetSize(); }
    TChunkId CurrentId() const { return fLevels.back().fDescriptor.fId; }
    TChunkId CurrentType() const { return fLevels.back().fDescriptor.fType; }
    EIFFChunkKind CurrentKind() const { return fLevels.back().fDescriptor.fKind; }
    // Levels open above the whole media.
    size_t GetDepth() const { return fLevels.size() - 1; }

    // Closes the innermost level; at the top, an XIllegalCallSequence.
    void Leave();

private:
    struct SLevel {
        SIFFChunkDescriptor fDescriptor;  // kNone for the whole media
        std::shared_ptr<CIFFReader2> fReader;
        std::shared_ptr<CPartialMedia> fBody;
        bool fWalking = false;  // opened by FirstChunk or NextChunk
    };

    bool Enter(EIFFChunkKind kind, TChunkId idOrType, bool walking);
    void Push(const std::shared_ptr<CIFFReader2>& reader, bool walking);

    EIFFByteOrder fByteOrder;
    std::vector<SLevel> fLevels;
};

}  // namespace NSQuillet
