#include "formats/iff/IFFWriter.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

void CIFFWriter::BeginChunk(TChunkId id) {
    if (fStart) throw NSMishap::XIllegalCallSequence("chunk already open");
    if (!IsValidChunkId(id)) throw NSMishap::XStdInvalidArgument("invalid chunk id");
    const uint64_t start = fMedia.GetPosition();
    WriteU32(fMedia, id);
    WriteChunkSize(fMedia, fByteOrder, 0);
    fStart = start;
}

void CIFFWriter::BeginGroup(TChunkId groupId, TChunkId type) {
    if (fStart) throw NSMishap::XIllegalCallSequence("chunk already open");
    if (!IsValidChunkId(type)) throw NSMishap::XStdInvalidArgument("invalid chunk id");
    BeginChunk(groupId);
    WriteU32(fMedia, type);
}

void CIFFWriter::EndChunk() {
    if (!fStart) throw NSMishap::XIllegalCallSequence("no chunk open");
    const uint64_t start = *fStart;
    const uint64_t end = fMedia.GetPosition();
    if (end < start + 8) throw NSMishap::XIllegalCallSequence("chunk ends before its body");
    const uint64_t size = end - start - 8;
    // A wrapped size would cut the file short for every reader.
    if (size > UINT32_MAX) throw NSMishap::XStdLengthError("chunk of 4 GB or more");
    fMedia.SetPosition(start + 4);
    WriteChunkSize(fMedia, fByteOrder, uint32_t(size));
    fMedia.SetPosition(end);
    if (fPadding && (size & 1)) WriteU8(fMedia, 0);
    fStart.reset();
}

}  // namespace NSQuillet
