#pragma once

#include <memory>
#include <vector>

#include "formats/iff/IFFWriter2.h"
#include "formats/media/PartialMedia.h"

namespace NSQuillet {

// Writes a tree of IFF groups and chunks (big-endian sizes, padded) onto a writable media from
// its current position. Each open group or chunk is a level with its own writer and a child
// media of its body. The media must outlive the writer. User-interface thread; blocks on I/O.
// Levels left open when the writer is destroyed keep their placeholder sizes.
class CIFFFileWriter {
public:
    explicit CIFFFileWriter(CMedia& media) : fMedia(media) {}
    ~CIFFFileWriter();
    CIFFFileWriter(const CIFFFileWriter&) = delete;
    CIFFFileWriter& operator=(const CIFFFileWriter&) = delete;

    // Open a level inside the innermost one, at its current position. Invalid ids are an
    // XStdInvalidArgument.
    void BeginCat(TChunkId type);
    void BeginChunk(TChunkId id);
    // The body of the innermost level (the root media when none is open); write it there.
    CMedia& GetMedia();
    // Completes the innermost level and continues its parent after it. None open is an
    // XIllegalCallSequence.
    void EndChunk();
    size_t GetDepth() const { return fLevels.size(); }

private:
    struct SLevel {
        std::shared_ptr<CIFFWriter2> fWriter;
        std::shared_ptr<CPartialMedia> fBody;
    };

    template <class TBegin>
    void Begin(TBegin&& begin);

    CMedia& fMedia;
    std::vector<SLevel> fLevels;
};

}  // namespace NSQuillet
