#pragma once

#include "formats/iff/IFFByteOrder.h"
#include "formats/iff/IFFChunkDescriptor.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// Reads and validates chunk headers in one media, normally the body of the group that holds
// them, and describes the last one read. The media must outlive the reader.
class CIFFReader {
public:
    virtual ~CIFFReader() = default;
    CIFFReader(const CIFFReader&) = delete;
    CIFFReader& operator=(const CIFFReader&) = delete;

    // Reads one header at the media's current position and leaves the position at the body. A
    // truncated header, an invalid id or type, a size beyond the media's end or a group too
    // small for its type is an XFormatViolation ""; nothing is allocated or read from the body.
    virtual void ReadHeader();

    const SIFFChunkDescriptor& GetDescriptor() const { return fDescriptor; }
    EIFFByteOrder GetByteOrder() const { return fByteOrder; }
    CMedia& GetMedia() const { return fMedia; }

protected:
    CIFFReader(CMedia& media, EIFFByteOrder byteOrder) : fMedia(media), fByteOrder(byteOrder) {}

    SIFFChunkDescriptor fDescriptor;

private:
    EIFFChunkKind GroupKind(TChunkId id) const;

    CMedia& fMedia;
    EIFFByteOrder fByteOrder;
};

}  // namespace NSQuillet
