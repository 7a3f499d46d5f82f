#pragma once

#include <cstdint>

namespace NSMishap {

// A failure packed into one 32-bit word: bit 31 clear, bits 24-30 the failure code,
// bits 16-23 the target object group, bits 8-15 the type index, bits 0-7 the marker 0xBA.
constexpr uint32_t kFailureWordMarker = 0xBA;

struct SFailureWord {
    uint32_t fCode;
    uint8_t fGroup;
    uint8_t fIndex;
};

constexpr uint32_t PackFailureWord(uint32_t code, uint8_t group, uint8_t index) {
    return ((code & 0x7Fu) << 24) | (uint32_t(group) << 16) | (uint32_t(index) << 8) | kFailureWordMarker;
}

constexpr bool IsFailureWord(uint32_t word) {
    return (word & 0x80000000u) == 0 && (word & 0xFFu) == kFailureWordMarker;
}

constexpr SFailureWord UnpackFailureWord(uint32_t word) {
    return SFailureWord{(word >> 24) & 0x7Fu, uint8_t((word >> 16) & 0xFFu), uint8_t((word >> 8) & 0xFFu)};
}

}  // namespace NSMishap
