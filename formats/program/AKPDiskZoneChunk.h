#pragma once

#include <string>

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// 'zone': one of a keygroup's four sample zones, 46 bytes; without a sample by default.
class CAKPDiskZoneChunk final : public CAKPDiskChunk {
public:
    // Bytes of the sample name; the text field keeps one zero after it.
    static constexpr size_t kMaximumNameLength = 31;

    CAKPDiskZoneChunk();
    // The sample the zone plays, by its file name without the extension: cut to 31 bytes,
    // every byte outside printable ASCII (32..126) made "_". The byte before the text field
    // holds the name's length.
    void SetSampleName(const std::string& name);
};

}  // namespace NSQuillet
