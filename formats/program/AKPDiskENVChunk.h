#pragma once

#include "formats/program/AKPDiskChunk.h"

namespace NSQuillet {

// Which of a keygroup's three envelopes, in file order.
enum class EAKPKeygroupEnvelope { kFirst, kSecond, kThird };

// 'env ': one envelope of a keygroup, 18 bytes.
class CAKPDiskENVChunk final : public CAKPDiskChunk {
public:
    // The chunk's own defaults, which the first envelope of a keygroup keeps.
    CAKPDiskENVChunk();
    // The defaults a keygroup gives its envelope at that place.
    explicit CAKPDiskENVChunk(EAKPKeygroupEnvelope envelope);
};

}  // namespace NSQuillet
