#pragma once

#include <cstdint>
#include <optional>

#include "formats/iff/ChunkId.h"
#include "formats/iff/IFFByteOrder.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// Writes one chunk or group at a time onto a media, at its current position, and back-patches
// the size when it ends. Nesting is done with one writer per level (CIFFFileWriter). The media
// must outlive the writer. User-interface thread; blocks on the media's I/O.
class CIFFWriter {
public:
    virtual ~CIFFWriter() = default;
    CIFFWriter(const CIFFWriter&) = delete;
    CIFFWriter& operator=(const CIFFWriter&) = delete;

    // On by default: a chunk of odd length is followed by one zero byte, not counted in its size.
    void SetPadding(bool padding) { fPadding = padding; }
    bool GetPadding() const { return fPadding; }
    EIFFByteOrder GetByteOrder() const { return fByteOrder; }
    bool IsOpen() const { return fStart.has_value(); }

    // Writes the id and a placeholder size of 0; the body follows at the media's position. An id
    // the reader would refuse is an XStdInvalidArgument, a chunk already open an
    // XIllegalCallSequence.
    void BeginChunk(TChunkId id);
    // Completes the open chunk, whose body ends at the media's current position: writes its size,
    // pads and leaves the media after it. None open, or a position before the body, is an
    // XIllegalCallSequence; a body of 2^32 bytes or more an XStdLengthError.
    void EndChunk();

protected:
    CIFFWriter(CMedia& media, EIFFByteOrder byteOrder) : fMedia(media), fByteOrder(byteOrder) {}
    // Writes `groupId`, a placeholder size and `type`; the members follow.
    void BeginGroup(TChunkId groupId, TChunkId type);

private:
    CMedia& fMedia;
    EIFFByteOrder fByteOrder;
    bool fPadding = true;
    std::optional<uint64_t> fStart;
};

}  // namespace NSQuillet
