#pragma once

#include <cstdint>
#include <string>

namespace NSQuillet {

// A four-character chunk id or group type, first character in the high byte, so that it is
// stored big-endian whatever the byte order of the sizes.
using TChunkId = uint32_t;

constexpr TChunkId MakeChunkId(const char (&text)[5]) {
    return (TChunkId(uint8_t(text[0])) << 24) | (TChunkId(uint8_t(text[1])) << 16) |
           (TChunkId(uint8_t(text[2])) << 8) | TChunkId(uint8_t(text[3]));
}

// All four characters in 32..126 and the first not a space.
constexpr bool IsValidChunkId(TChunkId id) {
    for (int shift = 0; shift < 32; shift += 8) {
        const uint8_t c = uint8_t(id >> shift);
        if (c < 32 || c > 126) return false;
    }
    return (id >> 24) != ' ';
}

// The four characters in file order, for diagnostics.
inline std::string ChunkIdText(TChunkId id) {
    return {char(id >> 24), char(id >> 16), char(id >> 8), char(id)};
}

inline constexpr TChunkId kChunkId_FORM = MakeChunkId("FORM");
inline constexpr TChunkId kChunkId_CAT = MakeChunkId("CAT ");
inline constexpr TChunkId kChunkId_LIST = MakeChunkId("LIST");
inline constexpr TChunkId kChunkId_RIFF = MakeChunkId("RIFF");

}  // namespace NSQuillet
