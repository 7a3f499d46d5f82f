#include "formats/program/AKPKeygroup.h"

#include "formats/iff/RIFFWriter2.h"

namespace NSQuillet {

CAKPKeygroup::CAKPKeygroup()
    : fEnvelopes{CAKPDiskENVChunk(EAKPKeygroupEnvelope::kFirst), CAKPDiskENVChunk(EAKPKeygroupEnvelope::kSecond),
                 CAKPDiskENVChunk(EAKPKeygroupEnvelope::kThird)} {}

void CAKPKeygroup::Write(CMedia& media) const {
    CRIFFWriter2 writer(media);
    writer.BeginChunk(MakeChunkId("kgrp"));
    fLocation.WriteChunk(media);
    for (const CAKPDiskENVChunk& envelope : fEnvelopes) envelope.WriteChunk(media);
    fFilter.WriteChunk(media);
    for (const CAKPDiskZoneChunk& zone : fZones) zone.WriteChunk(media);
    writer.EndChunk();
}

}  // namespace NSQuillet
