#include "formats/program/AKPDiskChunk.h"

#include "formats/iff/RIFFWriter2.h"

namespace NSQuillet {

void CAKPDiskChunk::Write(CMedia& media) const { media.Write(fBody.size(), fBody.data()); }

void CAKPDiskChunk::WriteChunk(CMedia& media) const {
    CRIFFWriter2 writer(media);
    writer.BeginChunk(fId);
    Write(media);
    writer.EndChunk();
}

void CAKPDiskChunk::SetU16(size_t at, uint16_t value) {
    SetByte(at, uint8_t(value));
    SetByte(at + 1, uint8_t(value >> 8));
}

}  // namespace NSQuillet
