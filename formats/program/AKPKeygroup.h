#pragma once

#include <array>
#include <string>

#include "formats/program/AKPDiskENVChunk.h"
#include "formats/program/AKPDiskFilterChunk.h"
#include "formats/program/AKPDiskKLOCChunk.h"
#include "formats/program/AKPDiskZoneChunk.h"

namespace NSQuillet {

// A 'kgrp' chunk: one key range playing up to four zones, with its envelopes and filter.
class CAKPKeygroup {
public:
    static constexpr size_t kZoneCount = 4;

    CAKPKeygroup();

    CAKPDiskKLOCChunk& GetLocation() { return fLocation; }
    CAKPDiskZoneChunk& GetZone(size_t index) { return fZones.at(index); }
    // The 'kgrp' chunk with its members, at the media's position; sizes little-endian.
    void Write(CMedia& media) const;

private:
    CAKPDiskKLOCChunk fLocation;
    std::array<CAKPDiskENVChunk, 3> fEnvelopes;
    CAKPDiskFilterChunk fFilter;
    std::array<CAKPDiskZoneChunk, kZoneCount> fZones;
};

}  // namespace NSQuillet
