#pragma once

#include <cstdint>

namespace NSQuillet {

// One region of the play list: frames [fStart, fEnd) of the wave sample, with the part a slice
// voice may stretch. With preview off the envelope fields are the region itself and level 1.0.
struct SPlayListEntry {
    int32_t fStart = 0;
    int32_t fEnd = 0;
    int32_t fEnvelopeStart = 0;
    int32_t fEnvelopeEnd = 0;
    // Magnitude at the envelope end over the magnitude at the envelope start.
    float fEnvelopeEndLevel = 1.0f;
};

}  // namespace NSQuillet
