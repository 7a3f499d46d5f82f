#include "formats/iff/IFFReader.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

EIFFChunkKind CIFFReader::GroupKind(TChunkId id) const {
    if (id == kChunkId_FORM) return EIFFChunkKind::kForm;
    if (id == kChunkId_CAT) return EIFFChunkKind::kCat;
    if (id == kChunkId_LIST) return EIFFChunkKind::kList;
    if (id == kChunkId_RIFF && fByteOrder == EIFFByteOrder::kLittleEndian) return EIFFChunkKind::kRiff;
    return EIFFChunkKind::kChunk;
}

void CIFFReader::ReadHeader() {
    fDescriptor = SIFFChunkDescriptor();
    const uint64_t start = fMedia.GetPosition();
    const uint64_t size = fMedia.GetSize();
    const uint64_t remaining = start <= size ? size - start : 0;
    if (remaining < 8) throw NSMishap::XFormatViolation("");
    const TChunkId id = ReadU32(fMedia);
    if (!IsValidChunkId(id)) throw NSMishap::XFormatViolation("");
    const uint64_t chunkSize = ReadChunkSize(fMedia, fByteOrder);
    if (chunkSize > remaining - 8) throw NSMishap::XFormatViolation("");

    SIFFChunkDescriptor descriptor;
    descriptor.fKind = GroupKind(id);
    descriptor.fId = id;
    descriptor.fStart = start;
    descriptor.fSize = chunkSize;
    descriptor.fBodyStart = start + 8;
    descriptor.fBodySize = chunkSize;
    if (descriptor.IsGroup()) {
        // The type lies inside the group, so a size below 4 cannot hold it.
        if (chunkSize < 4) throw NSMishap::XFormatViolation("");
        descriptor.fType = ReadU32(fMedia);
        if (!IsValidChunkId(descriptor.fType)) throw NSMishap::XFormatViolation("");
        descriptor.fBodyStart += 4;
        descriptor.fBodySize -= 4;
    }
    fDescriptor = descriptor;
}

}  // namespace NSQuillet
